#include "tube_path.h"

#include <algorithm>
#include <cmath>

#include "vec3_math.h"

namespace meshgen {

std::vector<Vec3> roundedPath(const std::vector<Vec3>& corners, float radius, int steps) {
    if (corners.size() < 3 || steps < 1) return corners;
    std::vector<Vec3> out{corners.front()};
    for (std::size_t i = 1; i + 1 < corners.size(); ++i) {
        const Vec3 before = sub(corners[i], corners[i - 1]), after = sub(corners[i + 1], corners[i]);
        const Vec3 in = unit(before), outDir = unit(after);
        const float turn = std::acos(std::clamp(dot(in, outDir), -1.0f, 1.0f));
        // A straight joint, or one turning back on itself, has no arc.
        if (turn < 1e-4f || turn > 3.1415f) {
            out.push_back(corners[i]);
            continue;
        }
        // A run between two arcs gives each half of its length. An end run
        // keeps a tenth straight, so that the tube's end stands square to it.
        const float roomBefore = length(before) * (i == 1 ? 0.9f : 0.5f);
        const float roomAfter = length(after) * (i + 2 == corners.size() ? 0.9f : 0.5f);
        const float half = std::tan(turn / 2);
        const float cut = std::min({radius * half, roomBefore, roomAfter});
        const float r = cut / half;
        const Vec3 start = sub(corners[i], scale(in, cut));
        const Vec3 inward = unit(sub(outDir, scale(in, dot(in, outDir))));
        const Vec3 centre = add(start, scale(inward, r));
        for (int k = 0; k <= steps; ++k) {
            const float a = turn * static_cast<float>(k) / static_cast<float>(steps);
            out.push_back(add(centre, add(scale(inward, -r * std::cos(a)), scale(in, r * std::sin(a)))));
        }
    }
    out.push_back(corners.back());
    // Two arcs that share a whole run meet at one point: keep it once.
    std::vector<Vec3> distinct;
    for (const Vec3& p : out)
        if (distinct.empty() || length(sub(p, distinct.back())) > 1e-5f) distinct.push_back(p);
    return distinct;
}

std::vector<TubeRing> tubeRings(const std::vector<Vec3>& path, float radius, int sides) {
    std::vector<TubeRing> rings;
    if (path.size() < 2 || sides < 3) return rings;
    Vec3 side{};
    for (std::size_t i = 0; i < path.size(); ++i) {
        const Vec3 in = unit(sub(path[i], path[i == 0 ? 0 : i - 1]));
        const Vec3 out = unit(sub(path[i + 1 < path.size() ? i + 1 : i], path[i]));
        const Vec3 along = unit(add(in, out));
        if (i == 0) {
            // Any direction across the first run; the axis it is least along.
            const Vec3 axis = std::fabs(along.x) < 0.6f ? Vec3{1, 0, 0} : Vec3{0, 1, 0};
            side = unit(cross(along, axis));
        } else {
            // Carried along: the last ring's side, turned into this ring's plane.
            side = unit(sub(side, scale(along, dot(side, along))));
        }
        const Vec3 other = cross(along, side);
        TubeRing ring{path[i], along, {}, {}};
        for (int k = 0; k < sides; ++k) {
            const float a = 2 * 3.14159265f * static_cast<float>(k) / static_cast<float>(sides);
            const Vec3 n = unit(add(scale(side, std::cos(a)), scale(other, std::sin(a))));
            ring.normals.push_back(n);
            ring.points.push_back(add(path[i], scale(n, radius)));
        }
        rings.push_back(std::move(ring));
    }
    return rings;
}

}  // namespace meshgen
