#pragma once
// Boxes and cylinders turned into triangle meshes with per-face normals. Every
// triangle is wound clockwise as seen from outside (left-handed, the way the
// renderer culls), which buildMesh checks against the outward direction.

#include <array>
#include <string>
#include <vector>

namespace meshgen {

struct Vec3 {
    float x = 0, y = 0, z = 0;
};

struct Colour {
    float r, g, b;
    float power = 8.0f;    // specular exponent
    float specular = 0.2f; // grey level of the specular colour
};

enum class Shape { Box, Cylinder };
enum class Axis { X, Y, Z };

// A primitive fills the box [lo, hi]; a cylinder is the one inscribed in it
// along its axis.
struct Primitive {
    Shape shape;
    Axis axis;
    Vec3 lo, hi;
    Colour colour;
};

struct Triangle {
    std::array<int, 3> v;
    int material;
};

struct Mesh {
    std::vector<Vec3> positions;
    std::vector<Vec3> normals;  // one per position
    std::vector<Triangle> faces;
    std::vector<Colour> materials;
};

// One mesh holding every primitive, one material per distinct colour.
Mesh buildMesh(const std::vector<Primitive>& primitives);

}  // namespace meshgen
