// "Scan all PCs" over 64 nodes whose provider takes 100 ms per node (the
// connection test's query sleeps), collected 8 at a time. The reference is
// the same scan collected one node at a time, measured in the same run; the
// counters give the speed-up and the wall time against the ideal 64 x 100 ms / 8.

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>

#include "collect/scan_commands.h"
#include "providers/profile/profile_provider.h"
#include "support/fake_ui.h"
#include "support/temp_folder.h"
#include "support/slow_provider.h"

namespace {

using namespace vantrel;
using namespace std::chrono_literals;

constexpr int kNodes = 64;
constexpr auto kPerNode = 100ms;

double oneAtATimeSeconds = 0;

double scanAllOnce(int parallel) {
    test::TempFolder home;
    test::FakeUi ui;
    ProgramState state(ProgramFolder(home.path()), ui);
    state.domain.settings.defaultUser = "admin";
    state.domain.settings.defaultPassword = "secret";
    state.domain.settings.parallelScans = parallel;
    for (int i = 1; i <= kNodes; ++i) {
        NodeRecord node;
        node.name = "PC-" + std::to_string(i);
        node.displayName = node.name;
        node.address = "10.0.1." + std::to_string(i);
        node.enabled = NodeEnabled::Shown;
        node.scanStatus = ScanStatus::NotScanned;
        state.domain.nodes.append(node);
    }
    HardwareSession session;
    auto profile = std::make_shared<wbem::Profile>(wbem::loadProfile(SCAN_PROFILE));
    session.provider = std::make_shared<test::SlowProvider>(std::make_shared<wbem::ProfileProvider>(profile), kPerNode,
                                                            "Select Name From Win32_ComputerSystem");
    ScanCommands scans(state, session, {});
    const auto start = std::chrono::steady_clock::now();
    scans.scanAllNodes();
    scans.waitUntilFinished();
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    if (state.windows.scanDialog.statusText != "Scan Complete") throw std::runtime_error("the scan did not complete");
    return took.count();
}

void BM_ScanAllPcs(benchmark::State& st) {
    const int parallel = static_cast<int>(st.range(0));
    double seconds = 0;
    for (auto _ : st) {
        seconds = scanAllOnce(parallel);
        st.SetIterationTime(seconds);
    }
    if (parallel == 1) oneAtATimeSeconds = seconds;
    const double ideal = kNodes * std::chrono::duration<double>(kPerNode).count() / parallel;
    st.counters["wall_s"] = seconds;
    st.counters["x_ideal"] = seconds / ideal;
    if (oneAtATimeSeconds > 0) st.counters["speedup_vs_1"] = oneAtATimeSeconds / seconds;
}

// One at a time first: it is the reference of the others.
BENCHMARK(BM_ScanAllPcs)->Arg(1)->Arg(8)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
