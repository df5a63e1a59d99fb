#pragma once
// Meshes built in code for drawing tests: quads and boxes with normals and a
// material, hung under frames.

#include <array>
#include <memory>

#include "engine3d/scene/cd3d_frame.h"
#include "engine3d/scene/cd3d_mesh.h"
#include "engine3d/scene/mesh_geometry.h"

namespace vantrel::test {

using namespace engine3d;

// A square of side `size` centred on (cx, cy) in the plane z, facing -z (the
// default camera), every vertex with `normal`. clockwise = false winds it the
// other way round as seen from the camera.
inline std::shared_ptr<MeshGeometry> quadFacingCamera(float z, float size = 2.0f, D3DVECTOR normal = {0, 0, -1},
                                                      bool clockwise = true, float cx = 0, float cy = 0) {
    auto g = std::make_shared<MeshGeometry>(D3DFVF_XYZ | D3DFVF_NORMAL);
    const float h = size / 2;
    const std::array<std::array<float, 2>, 4> corners{{{cx - h, cy - h}, {cx - h, cy + h}, {cx + h, cy + h}, {cx + h, cy - h}}};
    for (const auto& c : corners)
        g->vertices.insert(g->vertices.end(), {c[0], c[1], z, normal.x, normal.y, normal.z});
    // Seen from -z with x right and y up, 0-1-2 runs clockwise.
    if (clockwise)
        g->indices = {0, 1, 2, 0, 2, 3};
    else
        g->indices = {0, 2, 1, 0, 3, 2};
    g->attributes = {0, 0};
    return g;
}

// A box from -h to +h on every axis with outward normals and clockwise fronts.
inline std::shared_ptr<MeshGeometry> box(float h = 1.0f) {
    auto g = std::make_shared<MeshGeometry>(D3DFVF_XYZ | D3DFVF_NORMAL);
    struct Face {
        D3DVECTOR n, u, v;  // normal and two edge directions with u x v = n: clockwise seen from outside
    };
    const Face faces[6] = {
        {{0, 0, -1}, {0, 1, 0}, {1, 0, 0}}, {{0, 0, 1}, {1, 0, 0}, {0, 1, 0}},
        {{-1, 0, 0}, {0, 0, 1}, {0, 1, 0}}, {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}},
        {{0, -1, 0}, {1, 0, 0}, {0, 0, 1}}, {{0, 1, 0}, {0, 0, 1}, {1, 0, 0}},
    };
    for (const Face& f : faces) {
        const auto base = static_cast<DWORD>(g->vertexCount());
        const float s[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
        for (const auto& c : s) {
            const D3DVECTOR p{h * (f.n.x + c[0] * f.u.x + c[1] * f.v.x), h * (f.n.y + c[0] * f.u.y + c[1] * f.v.y),
                              h * (f.n.z + c[0] * f.u.z + c[1] * f.v.z)};
            g->vertices.insert(g->vertices.end(), {p.x, p.y, p.z, f.n.x, f.n.y, f.n.z});
        }
        g->indices.insert(g->indices.end(), {base, base + 1, base + 2, base, base + 2, base + 3});
        g->attributes.insert(g->attributes.end(), {0, 0});
    }
    return g;
}

inline D3DMATERIAL8 plainMaterial(D3DCOLORVALUE diffuse, D3DCOLORVALUE emissive = {}) {
    D3DMATERIAL8 m;
    m.Diffuse = diffuse;
    m.Ambient = diffuse;
    m.Emissive = emissive;
    return m;
}

inline MeshPtr meshOf(std::shared_ptr<MeshGeometry> g, const D3DMATERIAL8& material) {
    auto m = std::make_shared<CD3DMesh>();
    m->InitFromD3DXMesh(std::move(g));
    m->Init();
    m->SetMaterialCount(1);
    m->SetMaterial(0, material);
    return m;
}

inline FramePtr frameWith(MeshPtr mesh, const FramePtr& parent = nullptr, const char* name = "") {
    auto f = CD3DFrame::Create();
    f->ObjectName = name;
    if (mesh) f->AddMesh(std::move(mesh));
    if (parent) parent->AddChild(f);
    return f;
}

}  // namespace vantrel::test
