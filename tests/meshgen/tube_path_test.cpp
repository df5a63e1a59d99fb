// The bent centre line and the rings around it: ends where asked, arcs of
// the asked radius, no sudden turns, rings round and facing out.

#include <gtest/gtest.h>

#include <cmath>

#include "tube_path.h"
#include "vec3_math.h"

namespace meshgen {
namespace {

float angleBetween(Vec3 a, Vec3 b) { return std::acos(std::clamp(dot(unit(a), unit(b)), -1.0f, 1.0f)); }

struct PathCase {
    const char* name;
    std::vector<Vec3> corners;
    float radius;
    int steps;
    std::size_t points;  // expected on the rounded line
    float largestTurn;   // expected largest turn between two segments, radians
};

const PathCase kPaths[] = {
    {"straight joint", {{0, 0, 0}, {0, 1, 0}, {0, 2, 0}}, 0.3f, 6, 3, 0},
    {"right angle", {{0, 0, 0}, {0, 1, 0}, {1, 1, 0}}, 0.25f, 4, 7, 3.14159265f / 8},
    // The rise is too short for the radius: the arc takes all but its straight foot.
    {"short run", {{0, 0, 0}, {0, 0.1f, 0}, {1, 0.1f, 0}}, 0.5f, 4, 7, 3.14159265f / 8},
    // Two arcs share the middle run, meeting at one point.
    {"shared run", {{0, 0, 0}, {0, 1, 0}, {0, 1, 0.2f}, {0, 0, 0.2f}}, 0.5f, 3, 9, 3.14159265f / 6},
    {"inverted U", {{0, 0, 0}, {0, 1, 0}, {0, 1, 2}, {0, 0, 2}}, 0.4f, 6, 16, 3.14159265f / 12},
    {"slanted bend", {{0, 0, 0}, {1, 1, 1}, {2, 1, 3}}, 0.3f, 5, 8, -1},
};

TEST(MeshgenTubePath, RoundedLineKeepsItsEndsAndTurnsInSmallSteps) {
    for (const auto& c : kPaths) {
        SCOPED_TRACE(c.name);
        const auto path = roundedPath(c.corners, c.radius, c.steps);
        ASSERT_EQ(path.size(), c.points);
        EXPECT_LT(length(sub(path.front(), c.corners.front())), 1e-5f);
        EXPECT_LT(length(sub(path.back(), c.corners.back())), 1e-5f);
        float largest = 0;
        for (std::size_t i = 1; i + 1 < path.size(); ++i)
            largest = std::max(largest, angleBetween(sub(path[i], path[i - 1]), sub(path[i + 1], path[i])));
        const float expected = c.largestTurn >= 0 ? c.largestTurn
                                                  : angleBetween(sub(c.corners[1], c.corners[0]), sub(c.corners[2], c.corners[1])) / c.steps;
        EXPECT_NEAR(largest, expected, 1e-3f);
    }
}

// The arc's points lie on a circle of the asked radius, touching both runs.
TEST(MeshgenTubePath, ArcHasTheAskedRadius) {
    const auto path = roundedPath({{0, 0, 0}, {0, 1, 0}, {1, 1, 0}}, 0.25f, 4);
    const Vec3 centre{0.25f, 0.75f, 0};
    for (std::size_t i = 1; i + 1 < path.size(); ++i) EXPECT_NEAR(length(sub(path[i], centre)), 0.25f, 1e-5f) << i;
    EXPECT_NEAR(path[1].y, 0.75f, 1e-5f);
    EXPECT_NEAR(path[path.size() - 2].x, 0.25f, 1e-5f);
}

TEST(MeshgenTubePath, RingsAreRoundAcrossTheLineAndFaceOut) {
    for (const auto& c : kPaths) {
        SCOPED_TRACE(c.name);
        const auto path = roundedPath(c.corners, c.radius, c.steps);
        const auto rings = tubeRings(path, 0.05f, 12);
        ASSERT_EQ(rings.size(), path.size());
        for (std::size_t r = 0; r < rings.size(); ++r) {
            const TubeRing& ring = rings[r];
            ASSERT_EQ(ring.points.size(), 12u);
            ASSERT_EQ(ring.normals.size(), 12u);
            for (std::size_t k = 0; k < 12; ++k) {
                const Vec3 out = sub(ring.points[k], path[r]);
                EXPECT_NEAR(length(out), 0.05f, 1e-5f);
                EXPECT_NEAR(length(ring.normals[k]), 1.0f, 1e-5f);
                EXPECT_NEAR(dot(ring.normals[k], unit(out)), 1.0f, 1e-4f);
                EXPECT_NEAR(dot(ring.normals[k], ring.along), 0.0f, 1e-4f);
            }
            // No twist: the first point turns no more than the line does.
            if (r > 0) {
                EXPECT_LE(angleBetween(ring.normals[0], rings[r - 1].normals[0]), angleBetween(ring.along, rings[r - 1].along) + 1e-3f);
            }
        }
        // The end rings stand square to the end runs.
        EXPECT_NEAR(dot(rings.front().along, unit(sub(path[1], path[0]))), 1.0f, 1e-5f);
        EXPECT_NEAR(dot(rings.back().along, unit(sub(path.back(), path[path.size() - 2]))), 1.0f, 1e-5f);
    }
}

}  // namespace
}  // namespace meshgen
