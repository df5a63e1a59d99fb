// Loading must grow with the file, not faster: meshes whose few positions carry
// many normals (each met vertex copy used to be found by walking a chain), and
// files of many templates (each looked up by name). The time per face or per
// template is compared from the smallest to the largest input in bench_main.

#include <benchmark/benchmark.h>

#include <span>
#include <string>
#include <vector>

#include "engine3d/scene/xfile_mesh_loader.h"
#include "engine3d/xfile/xfile_reader.h"

namespace vantrel::engine3d::bench {
namespace {

std::vector<std::uint8_t> bytesOf(const std::string& s) { return {s.begin(), s.end()}; }

// 16 positions; every face has three normals of its own.
std::vector<std::uint8_t> manyNormalsMesh(int faces) {
    constexpr int kPositions = 16;
    std::string s = "xof 0303txt 0032\nMesh {\n" + std::to_string(kPositions) + ";\n";
    for (int p = 0; p < kPositions; ++p)
        s += std::to_string(p % 4) + ";" + std::to_string(p / 4) + ";0;" + (p + 1 < kPositions ? ",\n" : ";\n");
    auto corners = [](int f) {
        const int a = f % 16, b = (f * 7 + 1) % 16, c = (f * 11 + 2) % 16;
        return std::to_string(a) + "," + std::to_string(b) + "," + std::to_string(c);
    };
    s += std::to_string(faces) + ";\n";
    for (int f = 0; f < faces; ++f) s += "3;" + corners(f) + (f + 1 < faces ? ";,\n" : ";;\n");
    s += "MeshNormals {\n" + std::to_string(faces * 3) + ";\n";
    for (int n = 0; n < faces * 3; ++n)
        s += "0;0;" + std::to_string(1 + n % 1000) + (n + 1 < faces * 3 ? ";,\n" : ";;\n");
    s += std::to_string(faces) + ";\n";
    for (int f = 0; f < faces; ++f) {
        const int n = f * 3;
        s += "3;" + std::to_string(n) + "," + std::to_string(n + 1) + "," + std::to_string(n + 2) +
             (f + 1 < faces ? ";,\n" : ";;\n");
    }
    return bytesOf(s + "}\n}\n");
}

// templates, each after the first holding one member of the first, then one
// object of each.
std::vector<std::uint8_t> manyTemplates(int templates) {
    std::string s = "xof 0303txt 0032\ntemplate T0 { DWORD value; }\n";
    for (int t = 1; t < templates; ++t) s += "template T" + std::to_string(t) + " { T0 first; }\n";
    for (int t = 0; t < templates; ++t) s += "T" + std::to_string(t) + " { " + std::to_string(t) + "; }\n";
    return bytesOf(s);
}

void BM_ManyNormalsMesh(benchmark::State& state) {
    const auto faces = static_cast<int>(state.range(0));
    const std::vector<std::uint8_t> file = manyNormalsMesh(faces);
    for (auto _ : state) {
        XFileEnumerator e = XFileReader().openMemory(file, "normals.x");
        const XMeshContent mesh = loadXMesh(e.next());
        if (mesh.geometry->faceCount() != static_cast<std::size_t>(faces)) state.SkipWithError("wrong face count");
        benchmark::DoNotOptimize(mesh.geometry->vertices.data());
    }
    state.SetItemsProcessed(state.iterations() * faces);
}

void BM_ManyTemplates(benchmark::State& state) {
    const auto templates = static_cast<int>(state.range(0));
    const std::vector<std::uint8_t> file = manyTemplates(templates);
    for (auto _ : state) {
        XFileEnumerator e = XFileReader().openMemory(file, "templates.x");
        benchmark::DoNotOptimize(e.next());
    }
    state.SetItemsProcessed(state.iterations() * templates);
}

BENCHMARK(BM_ManyNormalsMesh)->Arg(20000)->Arg(40000)->Arg(80000)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_ManyTemplates)->Arg(10000)->Arg(20000)->Arg(40000)->Unit(benchmark::kMillisecond)->MinTime(1.0);

}  // namespace
}  // namespace vantrel::engine3d::bench
