#include "mesh_shapes.h"

#include <cmath>

namespace meshgen {
namespace {

constexpr int kCylinderSides = 20;

Vec3 sub(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Vec3 cross(Vec3 a, Vec3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
float dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

bool sameColour(const Colour& a, const Colour& b) {
    return a.r == b.r && a.g == b.g && a.b == b.b && a.power == b.power && a.specular == b.specular;
}

class MeshWriter {
public:
    explicit MeshWriter(Mesh& mesh) : mesh_(mesh) {}

    void useColour(const Colour& c) {
        for (std::size_t i = 0; i < mesh_.materials.size(); ++i)
            if (sameColour(mesh_.materials[i], c)) {
                material_ = static_cast<int>(i);
                return;
            }
        mesh_.materials.push_back(c);
        material_ = static_cast<int>(mesh_.materials.size()) - 1;
    }

    // A flat polygon (convex, corners in order) facing `outward`.
    // Corner normals, when given, round off curved sides under Gouraud shading.
    void polygon(const std::vector<Vec3>& corners, Vec3 outward, const std::vector<Vec3>& normals = {}) {
        const int base = static_cast<int>(mesh_.positions.size());
        for (std::size_t i = 0; i < corners.size(); ++i) {
            mesh_.positions.push_back(corners[i]);
            mesh_.normals.push_back(normals.empty() ? outward : normals[i]);
        }
        // Clockwise seen from outside: (v1 - v0) x (v2 - v0) points outward in a
        // left-handed frame.
        const bool keep = dot(cross(sub(corners[1], corners[0]), sub(corners[2], corners[0])), outward) > 0;
        for (int i = 1; i + 1 < static_cast<int>(corners.size()); ++i) {
            Triangle t{{base, base + i, base + i + 1}, material_};
            if (!keep) std::swap(t.v[1], t.v[2]);
            mesh_.faces.push_back(t);
        }
    }

private:
    Mesh& mesh_;
    int material_ = 0;
};

void addBox(MeshWriter& w, const Primitive& p) {
    const Vec3 a = p.lo, b = p.hi;
    w.polygon({{a.x, a.y, a.z}, {a.x, b.y, a.z}, {b.x, b.y, a.z}, {b.x, a.y, a.z}}, {0, 0, -1});
    w.polygon({{a.x, a.y, b.z}, {b.x, a.y, b.z}, {b.x, b.y, b.z}, {a.x, b.y, b.z}}, {0, 0, 1});
    w.polygon({{a.x, a.y, a.z}, {a.x, a.y, b.z}, {a.x, b.y, b.z}, {a.x, b.y, a.z}}, {-1, 0, 0});
    w.polygon({{b.x, a.y, a.z}, {b.x, b.y, a.z}, {b.x, b.y, b.z}, {b.x, a.y, b.z}}, {1, 0, 0});
    w.polygon({{a.x, a.y, a.z}, {b.x, a.y, a.z}, {b.x, a.y, b.z}, {a.x, a.y, b.z}}, {0, -1, 0});
    w.polygon({{a.x, b.y, a.z}, {a.x, b.y, b.z}, {b.x, b.y, b.z}, {b.x, b.y, a.z}}, {0, 1, 0});
}

// Maps (along-axis, u, v) to a point, so one routine serves all three axes.
Vec3 onAxis(Axis axis, float along, float u, float v) {
    switch (axis) {
        case Axis::X: return {along, u, v};
        case Axis::Y: return {u, along, v};
        case Axis::Z: break;
    }
    return {u, v, along};
}

void addCylinder(MeshWriter& w, const Primitive& p) {
    float lo = 0, hi = 0, cu = 0, cv = 0, ru = 0, rv = 0;
    switch (p.axis) {
        case Axis::X:
            lo = p.lo.x, hi = p.hi.x, cu = (p.lo.y + p.hi.y) / 2, cv = (p.lo.z + p.hi.z) / 2;
            ru = (p.hi.y - p.lo.y) / 2, rv = (p.hi.z - p.lo.z) / 2;
            break;
        case Axis::Y:
            lo = p.lo.y, hi = p.hi.y, cu = (p.lo.x + p.hi.x) / 2, cv = (p.lo.z + p.hi.z) / 2;
            ru = (p.hi.x - p.lo.x) / 2, rv = (p.hi.z - p.lo.z) / 2;
            break;
        case Axis::Z:
            lo = p.lo.z, hi = p.hi.z, cu = (p.lo.x + p.hi.x) / 2, cv = (p.lo.y + p.hi.y) / 2;
            ru = (p.hi.x - p.lo.x) / 2, rv = (p.hi.y - p.lo.y) / 2;
            break;
    }
    std::vector<Vec3> capLo, capHi, radial;
    for (int i = 0; i < kCylinderSides; ++i) {
        const double a = 2.0 * M_PI * i / kCylinderSides;
        const float c = static_cast<float>(std::cos(a)), s = static_cast<float>(std::sin(a));
        capLo.push_back(onAxis(p.axis, lo, cu + ru * c, cv + rv * s));
        capHi.push_back(onAxis(p.axis, hi, cu + ru * c, cv + rv * s));
        radial.push_back(onAxis(p.axis, 0, c, s));
    }
    w.polygon(capLo, onAxis(p.axis, -1, 0, 0));
    w.polygon(capHi, onAxis(p.axis, 1, 0, 0));
    for (int i = 0; i < kCylinderSides; ++i) {
        const int j = (i + 1) % kCylinderSides;
        const double mid = 2.0 * M_PI * (i + 0.5) / kCylinderSides;
        const Vec3 outward = onAxis(p.axis, 0, static_cast<float>(std::cos(mid)), static_cast<float>(std::sin(mid)));
        w.polygon({capLo[i], capLo[j], capHi[j], capHi[i]}, outward, {radial[i], radial[j], radial[j], radial[i]});
    }
}

}  // namespace

Mesh buildMesh(const std::vector<Primitive>& primitives) {
    Mesh mesh;
    MeshWriter w(mesh);
    for (const auto& p : primitives) {
        w.useColour(p.colour);
        if (p.shape == Shape::Box)
            addBox(w, p);
        else
            addCylinder(w, p);
    }
    return mesh;
}

}  // namespace meshgen
