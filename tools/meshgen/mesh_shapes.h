#pragma once
// Shapes turned into triangle meshes: boxes with bevelled edges, cylinders,
// fans, fin stacks and bent tubes. Flat faces carry their own normal; bevels, cylinder
// walls and rims blend the normals of the faces they join, so the per-vertex
// lighting rounds them off. Every triangle is wound clockwise as seen from
// outside (left-handed, the way the renderer culls), which the writer checks
// against the outward direction. A shape never leaves the box [lo, hi] it is
// given, so the parts' boxes stay what they were.

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

enum class Shape {
    Box,       // bevelled box
    Plate,     // box with sharp edges (labels, thin sheets)
    Cylinder,  // inscribed in the box along its axis
    Fan,       // square frame with a round opening, hub and blades; air along the axis
    Fins,      // plates stacked along the axis, three pipes through them
    Chamfered, // box with the edges round its top (the high end of the axis) cut, however small
    Tube,      // round pipe along `path`; the box only bounds it
};
enum class Axis { X, Y, Z };

// A surface picture. Stretched: every face shows the whole picture; tiled:
// the picture repeats every `tile` model units.
struct Texture {
    std::string file;  // empty: plain colour
    float tile = 0;    // 0: stretched over each face
    // Stretched over this box instead of the primitive's own, so that several
    // primitives share one picture.
    bool spansArea = false;
    Vec3 areaLo{}, areaHi{};
};

struct Primitive {
    Shape shape;
    Axis axis;
    Vec3 lo, hi;
    Colour colour;
    Texture texture{};
    Colour accent{0, 0, 0};  // the fan's hub and blades, the fins' pipes
    std::vector<Vec3> path{};  // a tube's centre line
    float radius = 0;          // a tube's radius
};

struct Triangle {
    std::array<int, 3> v;
    int material;
};

struct Material {
    Colour colour;
    std::string texture;
};

struct Mesh {
    std::vector<Vec3> positions;
    std::vector<Vec3> normals;               // one per position
    std::vector<std::array<float, 2>> uvs;   // one per position
    std::vector<Triangle> faces;
    std::vector<Material> materials;

    bool textured() const;
};

// One mesh holding every primitive, one material per distinct colour and picture.
Mesh buildMesh(const std::vector<Primitive>& primitives);

}  // namespace meshgen
