// Reading a large text .x file: our reader alone, our reader building frames and
// meshes, and Assimp's raw import of the same file as the yardstick.

#include <assimp/Importer.hpp>
#include <assimp/scene.h>
#include <benchmark/benchmark.h>

#include "bench_files.h"
#include "engine3d/scene/cd3d_frame.h"
#include "engine3d/device/recording_device.h"
#include "engine3d/xfile/xfile_reader.h"

namespace vantrel::engine3d::bench {
namespace {

void BM_LargeText_OurReader(benchmark::State& state) {
    const std::string path = largeTextFile().string();
    for (auto _ : state) {
        XFileEnumerator e = XFileReader().open(path);
        benchmark::DoNotOptimize(e.next());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(std::filesystem::file_size(largeTextFile())));
}

void BM_LargeText_OurFrames(benchmark::State& state) {
    const std::string path = largeTextFile().string();
    RecordingDevice dev;
    for (auto _ : state) {
        auto root = CD3DFrame::Create();
        if (!root->InitFromFile(&dev, path)) state.SkipWithError("load failed");
        benchmark::DoNotOptimize(root);
    }
}

void BM_LargeText_AssimpRawImport(benchmark::State& state) {
    const std::string path = largeTextFile().string();
    for (auto _ : state) {
        Assimp::Importer importer;
        const aiScene* scene = importer.ReadFile(path, 0);
        if (!scene) state.SkipWithError(importer.GetErrorString());
        benchmark::DoNotOptimize(scene);
    }
}

BENCHMARK(BM_LargeText_OurReader)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_LargeText_OurFrames)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_LargeText_AssimpRawImport)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
}  // namespace vantrel::engine3d::bench
