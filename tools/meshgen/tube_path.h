#pragma once
// Bent pipes: a centre line of straight runs whose corners are rounded off by
// arcs, and the rings of a tube around such a line. Each ring lies across the
// line where it stands (halfway between the two segments meeting there), so
// the tube keeps its width through a bend, and its normals point straight
// away from the line, so the lighting rounds the pipe.

#include <vector>

#include "mesh_shapes.h"

namespace meshgen {

// The line through `corners` with every inner corner replaced by an arc of
// `radius` in `steps` segments. Where the runs beside a corner are too short
// for that arc, it gets the largest radius they leave room for; the first and
// last runs always keep a straight piece.
std::vector<Vec3> roundedPath(const std::vector<Vec3>& corners, float radius, int steps);

struct TubeRing {
    Vec3 centre, along;                // a path point and the direction there
    std::vector<Vec3> points, normals; // `sides` of each, the normals unit length
};

// One ring per path point. Point k of every ring lies on the same side of the
// line as point k of the ring before, so the tube does not twist.
std::vector<TubeRing> tubeRings(const std::vector<Vec3>& path, float radius, int sides);

}  // namespace meshgen
