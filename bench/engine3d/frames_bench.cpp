// Loading 250 small .x files into frames, as the virtual PC's assembly does,
// with Assimp reading the same files as the yardstick.

#include <assimp/Importer.hpp>
#include <assimp/scene.h>
#include <benchmark/benchmark.h>

#include "bench_files.h"
#include "engine3d/scene/cd3d_frame.h"
#include "engine3d/device/recording_device.h"

namespace vantrel::engine3d::bench {
namespace {

void BM_SmallFiles250_OurFrames(benchmark::State& state) {
    std::vector<std::string> paths;
    for (const auto& p : smallTextFiles()) paths.push_back(p.string());
    RecordingDevice dev;
    for (auto _ : state) {
        auto root = CD3DFrame::Create();
        for (const auto& p : paths) {
            auto part = CD3DFrame::Create();
            if (!part->InitFromFile(&dev, p, root)) state.SkipWithError("load failed");
        }
        benchmark::DoNotOptimize(root);
    }
}

void BM_SmallFiles250_AssimpRawImport(benchmark::State& state) {
    std::vector<std::string> paths;
    for (const auto& p : smallTextFiles()) paths.push_back(p.string());
    for (auto _ : state) {
        for (const auto& p : paths) {
            Assimp::Importer importer;
            const aiScene* scene = importer.ReadFile(p, 0);
            if (!scene) state.SkipWithError(importer.GetErrorString());
            benchmark::DoNotOptimize(scene);
        }
    }
}

BENCHMARK(BM_SmallFiles250_OurFrames)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_SmallFiles250_AssimpRawImport)->Unit(benchmark::kMillisecond)->MinTime(1.0);

}  // namespace
}  // namespace vantrel::engine3d::bench
