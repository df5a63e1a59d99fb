// A frame of 200 meshes with 100,000 triangles in all at 1024 x 768, drawn by
// the view (scene graph, per-mesh state and transforms) against the same
// triangles baked into one mesh and drawn with one glDrawElements call by the
// same device and shader. Both are timed to the end of the GPU's work
// (glFinish); the counter "ratio" is scene time over single-call time.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <memory>

#define GL_GLEXT_PROTOTYPES 1
#include <GL/glcorearb.h>

#include "engine3d/math/d3d_math.h"
#include "engine3d/scene/cd3d_frame.h"
#include "view/offscreen_view.h"

namespace {

using namespace vantrel;
using namespace vantrel::engine3d;

constexpr int kMeshes = 200;
constexpr int kColumns = 25, kRows = 10;  // quads per patch: 500 triangles

// A gently curved patch facing the camera, with normals.
std::shared_ptr<MeshGeometry> patch(float phase) {
    auto g = std::make_shared<MeshGeometry>(D3DFVF_XYZ | D3DFVF_NORMAL);
    for (int r = 0; r <= kRows; ++r)
        for (int c = 0; c <= kColumns; ++c) {
            const float x = -0.4f + 0.8f * c / kColumns, y = -0.4f + 0.8f * r / kRows;
            const float z = 0.1f * std::sin(6 * x + phase) * std::cos(5 * y);
            const D3DVECTOR n = D3DXVec3Normalize({-0.6f * std::cos(6 * x + phase), 0.5f * std::sin(5 * y), -1});
            g->vertices.insert(g->vertices.end(), {x, y, z, n.x, n.y, n.z});
        }
    for (int r = 0; r < kRows; ++r)
        for (int c = 0; c < kColumns; ++c) {
            const DWORD a = r * (kColumns + 1) + c, b = a + kColumns + 1;
            g->indices.insert(g->indices.end(), {a, b, b + 1, a, b + 1, a + 1});
            g->attributes.insert(g->attributes.end(), {0, 0});
        }
    return g;
}

D3DMATERIAL8 material(int i) {
    D3DMATERIAL8 m;
    m.Diffuse = {0.3f + 0.003f * i, 0.5f, 0.8f - 0.003f * i, 1};
    m.Ambient = m.Diffuse;
    return m;
}

D3DVECTOR placeOf(int i) { return {-9.0f + 0.9f * (i % 20) + 0.45f, -4.5f + 0.9f * (i / 20) + 0.45f, 0}; }

struct Scenes {
    FramePtr graphRoot, graphModel, singleRoot, singleModel;
};

Scenes buildScenes() {
    Scenes s;
    s.graphRoot = CD3DFrame::Create();
    s.graphModel = NewChildFrame(s.graphRoot);
    auto merged = std::make_shared<MeshGeometry>(D3DFVF_XYZ | D3DFVF_NORMAL);
    for (int i = 0; i < kMeshes; ++i) {
        auto g = patch(0.1f * i);
        auto frame = NewChildFrame(s.graphModel);
        frame->SetPosition(placeOf(i));
        auto mesh = std::make_shared<CD3DMesh>();
        mesh->InitFromD3DXMesh(g);
        mesh->Init();
        mesh->SetMaterialCount(1);
        mesh->SetMaterial(0, material(i));
        frame->AddMesh(mesh);
        // The same triangles, moved into place, in one mesh.
        const auto base = static_cast<DWORD>(merged->vertexCount());
        const D3DVECTOR at = placeOf(i);
        for (std::size_t v = 0; v < g->vertexCount(); ++v) {
            const float* p = g->vertex(v);
            merged->vertices.insert(merged->vertices.end(), {p[0] + at.x, p[1] + at.y, p[2] + at.z, p[3], p[4], p[5]});
        }
        for (DWORD index : g->indices) merged->indices.push_back(base + index);
        merged->attributes.insert(merged->attributes.end(), g->attributes.begin(), g->attributes.end());
    }
    s.singleRoot = CD3DFrame::Create();
    s.singleModel = NewChildFrame(s.singleRoot);
    auto mesh = std::make_shared<CD3DMesh>();
    mesh->InitFromD3DXMesh(merged);
    mesh->Init();
    mesh->SetMaterialCount(1);
    mesh->SetMaterial(0, material(0));
    s.singleModel->AddMesh(mesh);
    return s;
}

double frameSeconds(view::OffscreenView& v) {
    const auto start = std::chrono::steady_clock::now();
    v.view().RenderScene();
    glFinish();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Both scenes drawn alternately in one run, so that load on the machine hits both alike.
void BM_SceneGraphOverOneDrawCall(benchmark::State& state) {
    view::OffscreenView v(1024, 768, 0x00303040);
    v.placeCamera(0, 0, -17);  // the whole 18 x 9 grid in view
    Scenes s = buildScenes();
    auto use = [&](bool graph) {
        if (graph)
            v.useScene(s.graphRoot, s.graphModel, s.graphModel);
        else
            v.useScene(s.singleRoot, s.singleModel, s.singleModel);
    };
    for (bool graph : {true, false}) {  // uploads happen once, before timing
        use(graph);
        frameSeconds(v);
    }
    double graphTotal = 0, singleTotal = 0;
    for (auto _ : state) {
        use(true);
        const double g = frameSeconds(v);
        use(false);
        const double one = frameSeconds(v);
        graphTotal += g;
        singleTotal += one;
        state.SetIterationTime(g);
    }
    state.counters["scene_ms"] = 1000 * graphTotal / state.iterations();
    state.counters["one_draw_ms"] = 1000 * singleTotal / state.iterations();
    state.counters["ratio"] = graphTotal / singleTotal;
    state.counters["triangles"] = static_cast<double>(kMeshes * kColumns * kRows * 2);
}
BENCHMARK(BM_SceneGraphOverOneDrawCall)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
