#pragma once
// Small meshes and frames built in code for drawing and picking tests.

#include <initializer_list>
#include <memory>

#include "engine3d/scene/cd3d_frame.h"
#include "engine3d/scene/mesh_geometry.h"

namespace vantrel::engine3d::test {

// A square from (x0, y0) to (x0 + size, y0 + size) in the plane z, two triangles
// per subset id given (one square per id, side by side along x).
inline std::shared_ptr<MeshGeometry> squares(float z, std::initializer_list<DWORD> subsets, float size = 1.0f,
                                             float x0 = -0.5f, float y0 = -0.5f) {
    auto g = std::make_shared<MeshGeometry>(D3DFVF_XYZ);
    float x = x0;
    for (DWORD id : subsets) {
        const auto base = static_cast<DWORD>(g->vertexCount());
        g->vertices.insert(g->vertices.end(), {x, y0, z, x, y0 + size, z, x + size, y0 + size, z, x + size, y0, z});
        g->indices.insert(g->indices.end(), {base, base + 1, base + 2, base, base + 2, base + 3});
        g->attributes.insert(g->attributes.end(), {id, id});
        x += size;
    }
    return g;
}

inline D3DMATERIAL8 materialWithAlpha(float alpha, float red = 1.0f) {
    D3DMATERIAL8 m;
    m.Diffuse = {red, 0, 0, alpha};
    m.Ambient = m.Diffuse;
    return m;
}

// A mesh drawing with its own materials, one per given alpha.
inline MeshPtr meshWithMaterials(std::shared_ptr<MeshGeometry> g, std::initializer_list<float> alphas) {
    auto m = std::make_shared<CD3DMesh>();
    m->InitFromD3DXMesh(std::move(g));
    m->Init();
    m->SetMaterialCount(static_cast<DWORD>(alphas.size()));
    DWORD i = 0;
    for (float a : alphas) {
        m->SetMaterial(i, materialWithAlpha(a, 0.1f * static_cast<float>(i + 1)));
        ++i;
    }
    return m;
}

inline FramePtr frameNamed(const char* name, const FramePtr& parent = nullptr) {
    auto f = CD3DFrame::Create();
    f->ObjectName = name;
    if (parent) parent->AddChild(f);
    return f;
}

}  // namespace vantrel::engine3d::test
