#pragma once
// The few vector sums the shapes need.

#include <cmath>

#include "mesh_shapes.h"

namespace meshgen {

inline Vec3 add(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vec3 sub(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec3 scale(Vec3 a, float k) { return {a.x * k, a.y * k, a.z * k}; }
inline Vec3 cross(Vec3 a, Vec3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
inline float dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline float length(Vec3 a) { return std::sqrt(dot(a, a)); }
inline Vec3 unit(Vec3 a) {
    const float n = length(a);
    return n > 0 ? scale(a, 1.0f / n) : a;
}

}  // namespace meshgen
