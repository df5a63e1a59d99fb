// The bent tube and the chamfered block as meshes: every triangle wound the
// way its normals face (the renderer culls the others), normals unit length,
// and the shape where it was asked to be.

#include <gtest/gtest.h>

#include <cmath>

#include "mesh_shapes.h"
#include "tube_path.h"
#include "vec3_math.h"

namespace meshgen {
namespace {

// Clockwise seen from outside, as the writer winds: (v1 - v0) x (v2 - v0)
// points the way the corners' normals do.
void expectWoundOutward(const Mesh& mesh) {
    ASSERT_FALSE(mesh.faces.empty());
    for (const auto& f : mesh.faces) {
        const Vec3 a = mesh.positions[f.v[0]], b = mesh.positions[f.v[1]], c = mesh.positions[f.v[2]];
        const Vec3 facing = cross(sub(b, a), sub(c, a));
        const Vec3 normals = add(add(mesh.normals[f.v[0]], mesh.normals[f.v[1]]), mesh.normals[f.v[2]]);
        EXPECT_GT(dot(facing, normals), 0) << "triangle " << f.v[0] << ' ' << f.v[1] << ' ' << f.v[2];
    }
    for (const Vec3& n : mesh.normals) EXPECT_NEAR(length(n), 1.0f, 1e-4f);
}

Vec3 nearestOnSegment(Vec3 p, Vec3 a, Vec3 b) {
    const Vec3 ab = sub(b, a);
    const float t = std::clamp(dot(sub(p, a), ab) / dot(ab, ab), 0.0f, 1.0f);
    return add(a, scale(ab, t));
}

TEST(MeshgenShapes, BentTubeWallsStayOnItsRadiusAndFaceOut) {
    Primitive tube{Shape::Tube, Axis::Y, {}, {}, {0.8f, 0.5f, 0.3f}};
    tube.path = roundedPath({{0, 0, 0}, {0, 1, 0}, {0, 1, 2}, {0, 0, 2}}, 0.4f, 6);
    tube.radius = 0.05f;
    const Mesh mesh = buildMesh({tube});
    expectWoundOutward(mesh);
    float lowest = 1, highest = -1;
    for (std::size_t v = 0; v < mesh.positions.size(); ++v) {
        const Vec3 p = mesh.positions[v];
        Vec3 away{};
        for (std::size_t i = 0; i + 1 < tube.path.size(); ++i) {
            const Vec3 q = sub(p, nearestOnSegment(p, tube.path[i], tube.path[i + 1]));
            if (i == 0 || length(q) < length(away)) away = q;
        }
        // On the wall, or inside it on an end cap; never beyond the radius.
        EXPECT_LE(length(away), 0.05f + 1e-4f) << v;
        // A wall's normal points away from the line; a cap's lies along it.
        const float facing = dot(mesh.normals[v], unit(away));
        EXPECT_TRUE(facing > 0.9f || std::fabs(facing) < 0.15f) << v << " faces " << facing;
        lowest = std::min(lowest, p.y), highest = std::max(highest, p.y);
    }
    // The end rings lie flat at y = 0; the top run reaches 1.05.
    EXPECT_NEAR(lowest, 0.0f, 1e-5f);
    EXPECT_NEAR(highest, 1.05f, 1e-3f);
}

TEST(MeshgenShapes, ChamferedBlockStaysInItsBoxWithAnInsetTop) {
    for (Axis axis : {Axis::X, Axis::Y, Axis::Z}) {
        SCOPED_TRACE(static_cast<int>(axis));
        const Primitive block{Shape::Chamfered, axis, {1, 2, 3}, {1.2f, 2.15f, 3.18f}, {0.2f, 0.2f, 0.2f}};
        const Mesh mesh = buildMesh({block});
        expectWoundOutward(mesh);
        const int a = axis == Axis::X ? 0 : axis == Axis::Y ? 1 : 2;
        auto along = [a](Vec3 v) { return a == 0 ? v.x : a == 1 ? v.y : v.z; };
        int onTop = 0;
        for (const Vec3& p : mesh.positions) {
            EXPECT_TRUE(p.x >= 1 - 1e-5f && p.x <= 1.2f + 1e-5f && p.y >= 2 - 1e-5f && p.y <= 2.15f + 1e-5f && p.z >= 3 - 1e-5f &&
                        p.z <= 3.18f + 1e-5f);
            if (std::fabs(along(p) - along(block.hi)) > 1e-5f) continue;
            ++onTop;
            // The top's corners are cut back from the sides.
            for (int k = 0; k < 3; ++k) {
                if (k == a) continue;
                const float c = k == 0 ? p.x : k == 1 ? p.y : p.z;
                const float lo = k == 0 ? 1.0f : k == 1 ? 2.0f : 3.0f, hi = k == 0 ? 1.2f : k == 1 ? 2.15f : 3.18f;
                EXPECT_GT(c, lo + 1e-4f);
                EXPECT_LT(c, hi - 1e-4f);
            }
        }
        EXPECT_GT(onTop, 0);
    }
}

}  // namespace
}  // namespace meshgen
