#include "mesh_shapes.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string_view>
#include <unordered_map>

#include "tube_path.h"
#include "vec3_math.h"

namespace meshgen {
namespace {

// Round things get fewer sides the smaller they are: the eye cannot tell, and
// every side costs the reader and the renderer.
int sidesFor(float radius) { return radius < 0.06f ? 12 : radius < 0.2f ? 16 : 24; }
constexpr float kPi = 3.14159265f;

using Uv = std::array<float, 2>;

float& at(Vec3& v, int axis) { return axis == 0 ? v.x : axis == 1 ? v.y : v.z; }
float at(const Vec3& v, int axis) { return axis == 0 ? v.x : axis == 1 ? v.y : v.z; }
Vec3 basis(int axis, float sign) {
    Vec3 v;
    at(v, axis) = sign;
    return v;
}
int index(Axis a) { return a == Axis::X ? 0 : a == Axis::Y ? 1 : 2; }

bool sameColour(const Colour& a, const Colour& b) {
    return a.r == b.r && a.g == b.g && a.b == b.b && a.power == b.power && a.specular == b.specular;
}

class MeshWriter {
public:
    explicit MeshWriter(Mesh& mesh) : mesh_(mesh) {}

    void useMaterial(const Colour& c, const std::string& texture) {
        for (std::size_t i = 0; i < mesh_.materials.size(); ++i)
            if (sameColour(mesh_.materials[i].colour, c) && mesh_.materials[i].texture == texture) {
                material_ = static_cast<int>(i);
                return;
            }
        mesh_.materials.push_back({c, texture});
        material_ = static_cast<int>(mesh_.materials.size()) - 1;
    }

    // A flat polygon (convex, corners in order) facing `outward`. Corner
    // normals, when given, round off what the polygon belongs to. Corners equal
    // in place, normal and picture position are one vertex.
    void polygon(const std::vector<Vec3>& corners, Vec3 outward, const std::vector<Vec3>& normals = {},
                 const std::vector<Uv>& uvs = {}) {
        std::vector<int> ids;
        for (std::size_t i = 0; i < corners.size(); ++i)
            ids.push_back(vertex(corners[i], normals.empty() ? outward : normals[i], uvs.empty() ? Uv{0, 0} : uvs[i]));
        // Clockwise seen from outside: (v1 - v0) x (v2 - v0) points outward in a
        // left-handed frame.
        const bool keep = dot(cross(sub(corners[1], corners[0]), sub(corners[2], corners[0])), outward) > 0;
        for (std::size_t i = 1; i + 1 < corners.size(); ++i) {
            Triangle t{{ids[0], ids[i], ids[i + 1]}, material_};
            if (!keep) std::swap(t.v[1], t.v[2]);
            mesh_.faces.push_back(t);
        }
    }

private:
    int vertex(Vec3 p, Vec3 n, Uv uv) {
        const float key[8] = {p.x, p.y, p.z, n.x, n.y, n.z, uv[0], uv[1]};
        std::string bytes(reinterpret_cast<const char*>(key), sizeof key);
        const auto found = index_.find(bytes);
        if (found != index_.end()) return found->second;
        const int id = static_cast<int>(mesh_.positions.size());
        mesh_.positions.push_back(p);
        mesh_.normals.push_back(n);
        mesh_.uvs.push_back(uv);
        index_.emplace(std::move(bytes), id);
        return id;
    }

    Mesh& mesh_;
    int material_ = 0;
    std::unordered_map<std::string, int> index_;
};

// Where a point of a box face falls in the picture: stretched pictures run
// left to right and top to bottom as someone facing that side sees it.
Uv faceUv(Vec3 normal, Vec3 p, const Primitive& box) {
    const Vec3 lo = box.texture.spansArea ? box.texture.areaLo : box.lo;
    const Vec3 hi = box.texture.spansArea ? box.texture.areaHi : box.hi;
    float u = 0, v = 0, du = 1, dv = 1;
    if (normal.z < -0.5f) u = p.x - lo.x, v = hi.y - p.y, du = hi.x - lo.x, dv = hi.y - lo.y;
    else if (normal.z > 0.5f) u = hi.x - p.x, v = hi.y - p.y, du = hi.x - lo.x, dv = hi.y - lo.y;
    else if (normal.x > 0.5f) u = p.z - lo.z, v = hi.y - p.y, du = hi.z - lo.z, dv = hi.y - lo.y;
    else if (normal.x < -0.5f) u = hi.z - p.z, v = hi.y - p.y, du = hi.z - lo.z, dv = hi.y - lo.y;
    else if (normal.y > 0.5f) u = p.x - lo.x, v = hi.z - p.z, du = hi.x - lo.x, dv = hi.z - lo.z;
    else u = p.x - lo.x, v = p.z - lo.z, du = hi.x - lo.x, dv = hi.z - lo.z;
    if (box.texture.tile > 0) return {u / box.texture.tile, v / box.texture.tile};
    const float un = du > 0 ? u / du : 0, vn = dv > 0 ? v / dv : 0;
    return {un, vn};
}

void addPlate(MeshWriter& w, const Primitive& p) {
    const Vec3 a = p.lo, b = p.hi;
    auto face = [&](std::vector<Vec3> corners, Vec3 n) {
        std::vector<Uv> uvs;
        for (const auto& c : corners) uvs.push_back(faceUv(n, c, p));
        w.polygon(corners, n, {}, uvs);
    };
    face({{a.x, a.y, a.z}, {a.x, b.y, a.z}, {b.x, b.y, a.z}, {b.x, a.y, a.z}}, {0, 0, -1});
    face({{a.x, a.y, b.z}, {b.x, a.y, b.z}, {b.x, b.y, b.z}, {a.x, b.y, b.z}}, {0, 0, 1});
    face({{a.x, a.y, a.z}, {a.x, a.y, b.z}, {a.x, b.y, b.z}, {a.x, b.y, a.z}}, {-1, 0, 0});
    face({{b.x, a.y, a.z}, {b.x, b.y, a.z}, {b.x, b.y, b.z}, {b.x, a.y, b.z}}, {1, 0, 0});
    face({{a.x, a.y, a.z}, {b.x, a.y, a.z}, {b.x, a.y, b.z}, {a.x, a.y, b.z}}, {0, -1, 0});
    face({{a.x, b.y, a.z}, {a.x, b.y, b.z}, {b.x, b.y, b.z}, {b.x, b.y, a.z}}, {0, 1, 0});
}

// A box whose twelve edges are cut at 45 degrees. Each face keeps its normal
// up to the cut, so across the cut the light turns as on a rounded edge.
void addBevelledBox(MeshWriter& w, const Primitive& p) {
    const Vec3 size = sub(p.hi, p.lo);
    const float smallest = std::min({size.x, size.y, size.z}), largest = std::max({size.x, size.y, size.z});
    const float bevel = std::min(0.02f, 0.2f * smallest);
    // A bevel on a small or thin box is less than a pixel from any camera.
    if (bevel < 0.008f || largest < 0.3f) {
        addPlate(w, p);
        return;
    }
    const Vec3 centre = scale(add(p.lo, p.hi), 0.5f), half = scale(size, 0.5f);
    // The corner (signs s) of the face across `axis`.
    auto point = [&](int axis, const std::array<float, 3>& s) {
        Vec3 v;
        for (int k = 0; k < 3; ++k) at(v, k) = at(centre, k) + s[k] * (at(half, k) - (k == axis ? 0 : bevel));
        return v;
    };
    auto uvOf = [&](int axis, float sign, Vec3 v) { return faceUv(basis(axis, sign), v, p); };
    for (int a = 0; a < 3; ++a) {
        const int i = (a + 1) % 3, j = (a + 2) % 3;
        for (float s : {-1.0f, 1.0f}) {
            std::vector<Vec3> corners;
            for (auto [si, sj] : {std::pair{-1.f, -1.f}, {1.f, -1.f}, {1.f, 1.f}, {-1.f, 1.f}}) {
                std::array<float, 3> signs{};
                signs[a] = s, signs[i] = si, signs[j] = sj;
                corners.push_back(point(a, signs));
            }
            std::vector<Uv> uvs;
            for (const auto& c : corners) uvs.push_back(uvOf(a, s, c));
            w.polygon(corners, basis(a, s), {}, uvs);
        }
    }
    // Edge strips: between the faces across a and b, running along k.
    for (int a = 0; a < 3; ++a) {
        const int b = (a + 1) % 3, k = (a + 2) % 3;
        for (float sa : {-1.0f, 1.0f})
            for (float sb : {-1.0f, 1.0f}) {
                std::array<float, 3> lo{}, hi{};
                lo[a] = hi[a] = sa, lo[b] = hi[b] = sb, lo[k] = -1, hi[k] = 1;
                const Vec3 na = basis(a, sa), nb = basis(b, sb);
                const std::vector<Vec3> corners{point(a, lo), point(a, hi), point(b, hi), point(b, lo)};
                w.polygon(corners, unit(add(na, nb)), {na, na, nb, nb},
                          {uvOf(a, sa, corners[0]), uvOf(a, sa, corners[1]), uvOf(b, sb, corners[2]), uvOf(b, sb, corners[3])});
            }
    }
    for (float sx : {-1.0f, 1.0f})
        for (float sy : {-1.0f, 1.0f})
            for (float sz : {-1.0f, 1.0f}) {
                const std::array<float, 3> s{sx, sy, sz};
                const std::vector<Vec3> corners{point(0, s), point(1, s), point(2, s)};
                w.polygon(corners, unit({sx, sy, sz}), {basis(0, sx), basis(1, sy), basis(2, sz)},
                          {uvOf(0, sx, corners[0]), uvOf(1, sy, corners[1]), uvOf(2, sz, corners[2])});
            }
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

// The box's extent along its axis and its cross-section (centre, half sizes).
struct Section {
    float lo, hi, cu, cv, ru, rv;
};
Section sectionOf(const Primitive& p) {
    const int a = index(p.axis), u = a == 0 ? 1 : 0, v = a == 2 ? 1 : 2;
    return {at(p.lo, a), at(p.hi, a), (at(p.lo, u) + at(p.hi, u)) / 2, (at(p.lo, v) + at(p.hi, v)) / 2,
            (at(p.hi, u) - at(p.lo, u)) / 2, (at(p.hi, v) - at(p.lo, v)) / 2};
}

// A cylinder with its rims rounded off by one bevel ring at each end.
void addCylinder(MeshWriter& w, const Primitive& p) {
    const Section s = sectionOf(p);
    const float length = s.hi - s.lo, radius = std::min(s.ru, s.rv);
    const int sides = sidesFor(std::max(s.ru, s.rv));
    const float bevel = radius < 0.1f ? 0.0f : std::min({0.015f, 0.15f * radius, 0.2f * length});
    const float shrink = radius > 0 ? bevel / radius : 0;
    std::vector<Vec3> capLo, capHi, ringLo, ringHi, radial;
    std::vector<Uv> capUv;
    for (int i = 0; i <= sides; ++i) {
        const float a = 2 * kPi * static_cast<float>(i % sides) / sides;
        const float c = std::cos(a), sn = std::sin(a);
        capLo.push_back(onAxis(p.axis, s.lo, s.cu + s.ru * (1 - shrink) * c, s.cv + s.rv * (1 - shrink) * sn));
        capHi.push_back(onAxis(p.axis, s.hi, s.cu + s.ru * (1 - shrink) * c, s.cv + s.rv * (1 - shrink) * sn));
        ringLo.push_back(onAxis(p.axis, s.lo + bevel, s.cu + s.ru * c, s.cv + s.rv * sn));
        ringHi.push_back(onAxis(p.axis, s.hi - bevel, s.cu + s.ru * c, s.cv + s.rv * sn));
        radial.push_back(onAxis(p.axis, 0, c, sn));
        capUv.push_back({0.5f + 0.5f * c, 0.5f - 0.5f * sn});
    }
    const Vec3 down = onAxis(p.axis, -1, 0, 0), up = onAxis(p.axis, 1, 0, 0);
    const std::vector<Vec3> lo(capLo.begin(), capLo.end() - 1), hi(capHi.begin(), capHi.end() - 1);
    const std::vector<Uv> uv(capUv.begin(), capUv.end() - 1);
    w.polygon(lo, down, {}, uv);
    w.polygon(hi, up, {}, uv);
    const float vLo = length > 0 ? bevel / length : 0, vHi = 1 - vLo;
    for (int i = 0; i < sides; ++i) {
        const int j = i + 1;
        const float u0 = static_cast<float>(i) / sides, u1 = static_cast<float>(j) / sides;
        const float mid = 2 * kPi * (i + 0.5f) / sides;
        const Vec3 outward = onAxis(p.axis, 0, std::cos(mid), std::sin(mid));
        w.polygon({ringLo[i], ringLo[j], ringHi[j], ringHi[i]}, outward, {radial[i], radial[j], radial[j], radial[i]},
                  {Uv{u0, vHi}, Uv{u1, vHi}, Uv{u1, vLo}, Uv{u0, vLo}});
        if (bevel == 0) continue;
        w.polygon({capLo[i], capLo[j], ringLo[j], ringLo[i]}, unit(add(outward, down)), {down, down, radial[j], radial[i]},
                  {capUv[i], capUv[j], Uv{u1, 1}, Uv{u0, 1}});
        w.polygon({ringHi[i], ringHi[j], capHi[j], capHi[i]}, unit(add(outward, up)), {radial[i], radial[j], up, up},
                  {Uv{u0, 0}, Uv{u1, 0}, capUv[j], capUv[i]});
    }
}

// A plain piece of a composite shape, in its own box and colour.
Primitive piece(const Primitive& p, Shape shape, Axis axis, Vec3 lo, Vec3 hi, Colour colour) {
    Primitive q = p;
    q.shape = shape, q.axis = axis, q.lo = lo, q.hi = hi, q.colour = colour, q.texture = {};
    return q;
}

// The fan fills the box: a square frame around a round opening, a hub in the
// middle and seven pitched blades, the air moving along the axis.
void addFan(MeshWriter& w, const Primitive& p) {
    const Section s = sectionOf(p);
    const int sides = 24;  // the frame's corners fall on every sixth step
    const Vec3 down = onAxis(p.axis, -1, 0, 0), up = onAxis(p.axis, 1, 0, 0);
    const float hole = 0.92f;  // opening radius over the half width
    std::vector<Vec3> ringLo, ringHi, edgeLo, edgeHi, radial;
    for (int i = 0; i <= sides; ++i) {
        const float a = 2 * kPi * static_cast<float>(i % sides) / sides + kPi / 4;
        const float c = std::cos(a), sn = std::sin(a), square = std::max(std::fabs(c), std::fabs(sn));
        ringLo.push_back(onAxis(p.axis, s.lo, s.cu + s.ru * hole * c, s.cv + s.rv * hole * sn));
        ringHi.push_back(onAxis(p.axis, s.hi, s.cu + s.ru * hole * c, s.cv + s.rv * hole * sn));
        edgeLo.push_back(onAxis(p.axis, s.lo, s.cu + s.ru * c / square, s.cv + s.rv * sn / square));
        edgeHi.push_back(onAxis(p.axis, s.hi, s.cu + s.ru * c / square, s.cv + s.rv * sn / square));
        radial.push_back(onAxis(p.axis, 0, c, sn));
    }
    w.useMaterial(p.colour, "");
    for (int i = 0; i < sides; ++i) {
        const int j = i + 1;
        w.polygon({ringLo[i], ringLo[j], edgeLo[j], edgeLo[i]}, down);
        w.polygon({ringHi[i], ringHi[j], edgeHi[j], edgeHi[i]}, up);
        // The opening's wall faces the middle.
        w.polygon({ringLo[i], ringLo[j], ringHi[j], ringHi[i]}, scale(add(radial[i], radial[j]), -0.5f),
                  {scale(radial[i], -1), scale(radial[j], -1), scale(radial[j], -1), scale(radial[i], -1)});
    }
    // The outer sides, one per side of the square (corners at every sixth step).
    for (int side = 0; side < 4; ++side) {
        const int i = side * sides / 4, j = i + sides / 4;
        const Vec3 mid = scale(add(edgeLo[i], edgeLo[j]), 0.5f);
        const Vec3 centre = onAxis(p.axis, s.lo, s.cu, s.cv);
        w.polygon({edgeLo[i], edgeLo[j], edgeHi[j], edgeHi[i]}, unit(sub(mid, centre)));
    }
    const float depth = s.hi - s.lo;
    const float hubR = 0.3f * hole, bladeR = 0.97f * hole;
    w.useMaterial(p.accent, "");
    addCylinder(w, piece(p, Shape::Cylinder, p.axis, onAxis(p.axis, s.lo + 0.05f * depth, s.cu - s.ru * hubR, s.cv - s.rv * hubR),
                       onAxis(p.axis, s.hi - 0.1f * depth, s.cu + s.ru * hubR, s.cv + s.rv * hubR), p.accent));
    constexpr int kBlades = 7;
    const float mid = (s.lo + s.hi) / 2, pitch = 0.3f * depth;
    for (int b = 0; b < kBlades; ++b) {
        const float a0 = 2 * kPi * b / kBlades, width = 0.55f * 2 * kPi / kBlades, sweep = 0.35f;
        auto spot = [&](float r, float a, float along) {
            return onAxis(p.axis, along, s.cu + s.ru * r * std::cos(a), s.cv + s.rv * r * std::sin(a));
        };
        const std::vector<Vec3> corners{spot(hubR * 0.95f, a0, mid - pitch), spot(hubR * 0.95f, a0 + width, mid + pitch),
                                        spot(bladeR, a0 + width + sweep, mid + pitch * 0.6f),
                                        spot(bladeR, a0 + sweep, mid - pitch * 0.6f)};
        const Vec3 n = unit(cross(sub(corners[1], corners[0]), sub(corners[3], corners[0])));
        w.polygon(corners, n, {n, n, n, n});
        const Vec3 back = scale(n, -1);
        w.polygon(corners, back, {back, back, back, back});
    }
}

// A stack of thin plates across the axis with three pipes through them, the
// middle one on the box's centre line.
void addFins(MeshWriter& w, const Primitive& p) {
    const int a = index(p.axis), u = a == 0 ? 1 : 0, v = a == 2 ? 1 : 2;
    const float length = at(p.hi, a) - at(p.lo, a);
    const int plates = std::max(4, static_cast<int>(length / 0.07f));
    const float step = length / static_cast<float>(plates), thickness = 0.3f * step;
    w.useMaterial(p.colour, p.texture.file);
    for (int k = 0; k < plates; ++k) {
        Primitive plate = p;
        plate.shape = Shape::Plate;
        at(plate.lo, a) = at(p.lo, a) + step * static_cast<float>(k) + (step - thickness);
        at(plate.hi, a) = at(plate.lo, a) + thickness;
        addPlate(w, plate);
    }
    const int wide = (at(p.hi, u) - at(p.lo, u)) >= (at(p.hi, v) - at(p.lo, v)) ? u : v, narrow = wide == u ? v : u;
    const float span = at(p.hi, wide) - at(p.lo, wide), centreWide = (at(p.lo, wide) + at(p.hi, wide)) / 2;
    const float centreNarrow = (at(p.lo, narrow) + at(p.hi, narrow)) / 2;
    const float r = std::min(0.05f, 0.12f * (at(p.hi, narrow) - at(p.lo, narrow)));
    for (float offset : {-0.3f, 0.0f, 0.3f}) {
        Vec3 lo = p.lo, hi = p.hi;
        at(lo, wide) = centreWide + offset * span - r, at(hi, wide) = centreWide + offset * span + r;
        at(lo, narrow) = centreNarrow - r, at(hi, narrow) = centreNarrow + r;
        w.useMaterial(p.accent, "");
        addCylinder(w, piece(p, Shape::Cylinder, p.axis, lo, hi, p.accent));
    }
}

// A block whose top edges are cut at 45 degrees by `chamfer`, as moulded
// parts are: the top face carries the picture, every face its own normal.
void addChamfered(MeshWriter& w, const Primitive& p) {
    const Section s = sectionOf(p);
    const float chamfer = std::min({0.2f * s.ru, 0.2f * s.rv, 0.3f * (s.hi - s.lo)});
    const Vec3 centre = onAxis(p.axis, s.lo, s.cu, s.cv), up = onAxis(p.axis, 1, 0, 0);
    // Corners counter-clockwise round the axis, at the foot, below the cut and on top.
    std::vector<Vec3> foot, shoulder, top;
    for (auto [su, sv] : {std::pair{-1.f, -1.f}, {1.f, -1.f}, {1.f, 1.f}, {-1.f, 1.f}}) {
        foot.push_back(onAxis(p.axis, s.lo, s.cu + su * s.ru, s.cv + sv * s.rv));
        shoulder.push_back(onAxis(p.axis, s.hi - chamfer, s.cu + su * s.ru, s.cv + sv * s.rv));
        top.push_back(onAxis(p.axis, s.hi, s.cu + su * (s.ru - chamfer), s.cv + sv * (s.rv - chamfer)));
    }
    std::vector<Uv> topUv;
    for (const auto& c : top) topUv.push_back(faceUv(up, c, p));
    w.polygon(top, up, {}, topUv);
    w.polygon(foot, scale(up, -1));
    for (int i = 0; i < 4; ++i) {
        const int j = (i + 1) % 4;
        const Vec3 out = unit(sub(scale(add(foot[i], foot[j]), 0.5f), centre));
        w.polygon({foot[i], foot[j], shoulder[j], shoulder[i]}, out);
        w.polygon({shoulder[i], shoulder[j], top[j], top[i]}, unit(add(out, up)));
    }
}

// A tube along the primitive's path with flat ends; the wall's normals point
// away from the centre line.
void addTube(MeshWriter& w, const Primitive& p) {
    const int sides = sidesFor(p.radius);
    const auto rings = tubeRings(p.path, p.radius, sides);
    if (rings.size() < 2) return;
    for (std::size_t r = 0; r + 1 < rings.size(); ++r) {
        const TubeRing &a = rings[r], &b = rings[r + 1];
        for (int i = 0; i < sides; ++i) {
            const int j = (i + 1) % sides;
            const Vec3 out = unit(add(add(a.normals[i], a.normals[j]), add(b.normals[i], b.normals[j])));
            w.polygon({a.points[i], a.points[j], b.points[j], b.points[i]}, out,
                      {a.normals[i], a.normals[j], b.normals[j], b.normals[i]});
        }
    }
    w.polygon(rings.front().points, scale(rings.front().along, -1));
    w.polygon(rings.back().points, rings.back().along);
}

}  // namespace

bool Mesh::textured() const {
    return std::any_of(materials.begin(), materials.end(), [](const Material& m) { return !m.texture.empty(); });
}

Mesh buildMesh(const std::vector<Primitive>& primitives) {
    Mesh mesh;
    MeshWriter w(mesh);
    for (const auto& p : primitives) {
        w.useMaterial(p.colour, p.texture.file);
        switch (p.shape) {
            case Shape::Box: addBevelledBox(w, p); break;
            case Shape::Plate: addPlate(w, p); break;
            case Shape::Cylinder: addCylinder(w, p); break;
            case Shape::Fan: addFan(w, p); break;
            case Shape::Fins: addFins(w, p); break;
            case Shape::Chamfered: addChamfered(w, p); break;
            case Shape::Tube: addTube(w, p); break;
        }
    }
    return mesh;
}

}  // namespace meshgen
