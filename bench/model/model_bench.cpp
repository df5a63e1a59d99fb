// What a user waits for in the virtual PC: its assembly at start-up, and a
// node's report shown on it (reset, tree skeleton, load with the builders).
// Ratios are measured in the same run, so they hold on any machine.

#include <assimp/Importer.hpp>
#include <assimp/scene.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

#include "collect/show_node.h"
#include "core/program_state.h"
#include "engine3d/device/recording_device.h"
#include "model/assembly.h"
#include "model/model_session.h"
#include "support/fake_ui.h"

namespace vantrel::model {
namespace {

std::string media() { return std::string(VANTREL_MEDIA_DIR) + "/"; }

void BM_AssembleVirtualPc(benchmark::State& state) {
    for (auto _ : state) {
        VirtualPc pc;
        engine3d::RecordingDevice device;
        pc.MediaFolder = media();
        load_start(pc, device);
        if (!pc.failedLoads.empty()) state.SkipWithError("a mesh file did not load");
        benchmark::DoNotOptimize(pc.PcRoot);
    }
}
BENCHMARK(BM_AssembleVirtualPc)->Unit(benchmark::kMillisecond);

void BM_AssimpImportModelFiles(benchmark::State& state) {
    const auto files = modelFiles();
    for (auto _ : state) {
        for (const auto& file : files) {
            Assimp::Importer importer;
            const aiScene* scene = importer.ReadFile(media() + file, 0);
            if (!scene) state.SkipWithError(("Assimp cannot read " + file).c_str());
            benchmark::DoNotOptimize(scene);
        }
    }
}
BENCHMARK(BM_AssimpImportModelFiles)->Unit(benchmark::kMillisecond);

// Showing a stored node whose report lists every category.
void BM_ApplyFullReport(benchmark::State& state) {
    test::FakeUi ui;
    ProgramState program(ProgramFolder("."), ui);
    NodeRecord node;
    node.name = node.displayName = "LAB-07";
    program.domain.nodes.currentNode = program.domain.nodes.append(node);
    program.domain.settings.nodeLabelMode = NodeLabelMode::Name;
    HardwareSession session;
    session.reportFileOverride = OFFICE_REPORT;
    VirtualPc pc;
    engine3d::RecordingDevice device;
    pc.MediaFolder = media();
    load_start(pc, device);
    BuildTarget target{pc, program.windows.main.hardwareTree};
    attachModel(session, target);
    for (auto _ : state) {
        showStoredNode(program, session);
        benchmark::DoNotOptimize(program.windows.main.hardwareTree.itemCount());
    }
    if (program.windows.main.hardwareTree.itemCount() < 60) state.SkipWithError("the report did not load");
}
BENCHMARK(BM_ApplyFullReport)->Unit(benchmark::kMicrosecond);

class RatioReporter : public benchmark::ConsoleReporter {
public:
    // Processor seconds per iteration: on a shared machine the wall clock
    // also counts the time other programs held the processor.
    std::map<std::string, double> seconds;
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const auto& r : runs)
            if (!r.error_occurred && r.iterations > 0 && r.run_type == Run::RT_Iteration)
                seconds[r.benchmark_name()] = r.cpu_accumulated_time / static_cast<double>(r.iterations);
        ConsoleReporter::ReportRuns(runs);
    }
};

}  // namespace
}  // namespace vantrel::model

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    vantrel::model::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto& s = reporter.seconds;
    const auto ours = s.find("BM_AssembleVirtualPc"), theirs = s.find("BM_AssimpImportModelFiles");
    if (ours != s.end() && theirs != s.end())
        std::printf("Assembly of the 248 files: %.2fx faster than Assimp importing them (processor time)\n", theirs->second / ours->second);
    const auto apply = s.find("BM_ApplyFullReport");
    if (apply != s.end()) std::printf("Applying a full report: %.3f ms of processor time (budget 1 ms)\n", apply->second * 1e3);
    benchmark::Shutdown();
    return 0;
}
