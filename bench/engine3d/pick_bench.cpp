// A click into a 100,000-triangle scene: 100 parts of 1,000 triangles, as a
// model of many parts is; and the worst case, all of them in one mesh under the
// cursor.

#include <benchmark/benchmark.h>

#include "engine3d/scene/cd3d_pick.h"
#include "engine3d/device/d3d_util.h"
#include "engine3d/device/recording_device.h"

namespace vantrel::engine3d::bench {
namespace {

// A patch of n x n quads (2 n^2 triangles) of the given size, centred at the origin, bulging towards -z.
std::shared_ptr<MeshGeometry> patch(int n, float size) {
    auto g = std::make_shared<MeshGeometry>(D3DFVF_XYZ);
    const float step = size / static_cast<float>(n);
    for (int j = 0; j <= n; ++j)
        for (int i = 0; i <= n; ++i) {
            const float x = -size / 2 + i * step, y = -size / 2 + j * step;
            g->vertices.insert(g->vertices.end(), {x, y, -(x * x + y * y) * 0.01f});
        }
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i) {
            const DWORD a = static_cast<DWORD>(j * (n + 1) + i), b = a + 1, c = a + static_cast<DWORD>(n + 1), d = c + 1;
            g->indices.insert(g->indices.end(), {a, c, d, a, d, b});
            g->attributes.insert(g->attributes.end(), {0, 0});
        }
    return g;
}

struct PickScene {
    RecordingDevice dev;
    D3DUtil util{dev};
    FramePtr root = CD3DFrame::Create();
    PickScene() {
        dev.SetViewport({0, 0, 800, 600, 0, 1});
        util.ViewWidth = 800;
        util.ViewHeight = 600;
        util.ApplySceneDefaults();
    }
};

void runPicks(benchmark::State& state, PickScene& s, std::size_t expectedHits) {
    CD3DPick pick(s.dev);
    for (auto _ : state) {
        pick.ViewportPick(s.root, 400, 300);
        benchmark::DoNotOptimize(pick.FindNearest());
    }
    if (pick.GetCount() != expectedHits) state.SkipWithError("unexpected number of hits");
    state.counters["hits"] = static_cast<double>(pick.GetCount());
}

void BM_Pick100kTriangles_100Parts(benchmark::State& state) {
    PickScene s;
    // A 10 x 10 wall of parts; a few lie behind one another along the view axis.
    for (int k = 0; k < 100; ++k) {
        auto f = CD3DFrame::Create();
        f->SetPosition({static_cast<float>(k % 10 - 5) * 2.2f, static_cast<float>(k / 10 % 5 - 2) * 2.2f,
                        static_cast<float>(k / 50) * 3.0f});
        f->AddD3DXMesh(patch(22, 2.0f));  // 968 triangles
        s.root->AddChild(f);
    }
    runPicks(state, s, 2);
}

void BM_Pick100kTriangles_OneMesh(benchmark::State& state) {
    PickScene s;
    s.root->AddD3DXMesh(patch(224, 10.0f));  // 100,352 triangles, all inside the ray's box test
    runPicks(state, s, 1);
}

BENCHMARK(BM_Pick100kTriangles_100Parts)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Pick100kTriangles_OneMesh)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace vantrel::engine3d::bench
