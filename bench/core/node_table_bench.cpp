// Start-up cost of a large network: loading the logins file into the node
// table and both trees, against the reference of merely reading the file's
// lines with the standard library.

#include <benchmark/benchmark.h>

#include <fstream>

#include "core/node_registry.h"
#include "core/logins_file.h"
#include "support/fake_ui.h"
#include "support/temp_folder.h"

namespace {

using namespace vantrel;

constexpr int kNodes = 5000;

const test::TempFolder& folderWithLogins() {
    static test::TempFolder dir;
    static bool written = false;
    if (!written) {
        NodeTable table;
        for (int i = 1; i <= kNodes; ++i) {
            const std::string n = "PC-" + std::to_string(i);
            table.append({n, "10.0." + std::to_string(i / 256) + "." + std::to_string(i % 256), n,
                          i % 7 == 0 ? NodeEnabled::Jump : NodeEnabled::Shown, i % 3 == 0 ? "admin" : "",
                          i % 3 == 0 ? "secret" : "", ScanStatus::Scanned, {}});
        }
        test::writeBytes(dir.path() / "lg.ini", formatLoginsFile(table));
        written = true;
    }
    return dir;
}

void BM_ReferenceReadLines(benchmark::State& st) {
    const auto path = folderWithLogins().path() / "lg.ini";
    for (auto _ : st) {
        std::ifstream in(path, std::ios::binary);
        std::string line;
        std::size_t total = 0;
        while (std::getline(in, line)) total += line.size();
        benchmark::DoNotOptimize(total);
    }
}
BENCHMARK(BM_ReferenceReadLines)->Unit(benchmark::kMillisecond);

void BM_ReadLoginsRecords(benchmark::State& st) {
    const auto path = folderWithLogins().path() / "lg.ini";
    for (auto _ : st) {
        std::size_t n = 0;
        readLoginsFile(path, [&n](NodeRecord r) { n += r.name.size(); });
        benchmark::DoNotOptimize(n);
    }
}
BENCHMARK(BM_ReadLoginsRecords)->Unit(benchmark::kMillisecond);

void BM_OpenLoginsFile(benchmark::State& st) {
    const auto& dir = folderWithLogins();
    for (auto _ : st) {
        test::FakeUi ui;
        ProgramState state(ProgramFolder(dir.path()), ui);
        state.domain.settings.nodeLabelMode = NodeLabelMode::IpName;
        loadNodeTable(state);
        benchmark::DoNotOptimize(state.windows.main.networkTree.itemCount());
    }
}
BENCHMARK(BM_OpenLoginsFile)->Unit(benchmark::kMillisecond);

void BM_SaveLoginsFile(benchmark::State& st) {
    const auto& dir = folderWithLogins();
    test::FakeUi ui;
    ProgramState state(ProgramFolder(dir.path()), ui);
    loadNodeTable(state);
    test::TempFolder out;
    ProgramState target(ProgramFolder(out.path()), ui);
    target.domain.nodes = state.domain.nodes;
    for (auto _ : st) benchmark::DoNotOptimize(saveNodeTable(target));
}
BENCHMARK(BM_SaveLoginsFile)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
