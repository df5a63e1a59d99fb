// The export as users wait for it: `vantrel-cli export` of a program folder
// of 200 scanned nodes, as a whole program run. The budget is 2 s per 100
// nodes with pictures. The reference, measured in the same run, is one
// `vantrel-cli render --report` (start-up, model assembly, one picture);
// every figure is also given as a ratio to it.

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>

#include "support/export_home.h"

namespace {

using namespace vantrel;
namespace fs = std::filesystem;

constexpr int kNodes = 200;
double referenceMs = 0;

// The three profile nodes, their reports copied to 197 more nodes.
struct BigHome {
    test::TempFolder home, io;
    BigHome() {
        if (test::makeExportHome(home.path(), io.path()).status != 0) throw std::runtime_error("the scans failed");
        fs::remove(home.path() / "inventory.db");  // the reports alone, as for a folder without history
        std::string table;
        const auto nodes = test::exportHomeNodes();
        for (int i = 0; i < kNodes; ++i) {
            const auto& model = nodes[static_cast<std::size_t>(i % 3)];
            const std::string name = i < 3 ? model.name : "PC-" + std::to_string(i);
            if (i >= 3) {
                fs::create_directories(home.path() / name);
                fs::copy_file(home.path() / model.name / "report", home.path() / name / "report");
            }
            table += name + "\r\n10.1." + std::to_string(i / 250) + "." + std::to_string(i % 250) + "\r\n" + name +
                     "\r\nTrue\r\n\r\n\r\nScanned\r\n";
        }
        test::writeBytes(home.path() / "lg.ini", table);
    }
};

BigHome& bigHome() {
    static BigHome home;
    return home;
}

double runMs(const std::vector<std::string>& args, benchmark::State& st) {
    const auto start = std::chrono::steady_clock::now();
    const auto run = test::runProgram(VANTREL_CLI_PATH, args, bigHome().io.path());
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    if (run.status != 0) st.SkipWithError(run.err.c_str());
    return ms;
}

void report(benchmark::State& st, double total) {
    const double ms = total / static_cast<double>(st.iterations());
    st.counters["ms"] = ms;
    if (referenceMs > 0) st.counters["x_render"] = ms / referenceMs;
}

void BM_RenderOneReport(benchmark::State& st) {
    test::TempFolder out;
    const auto home = bigHome().home.path().string();
    const auto reportFile = (bigHome().home.path() / "WS-7" / "report").string();
    double total = 0;
    for (auto _ : st)
        total += runMs({"--home", home, "render", "--report", reportFile, "--size", "640x480", "--png",
                        (out.path() / "one.png").string()}, st);
    referenceMs = total / static_cast<double>(st.iterations());
    report(st, total);
}

void BM_ExportHtml200(benchmark::State& st) {
    test::TempFolder out;
    double total = 0;
    for (auto _ : st) {
        fs::remove_all(out.path() / "site");
        total += runMs({"--home", bigHome().home.path().string(), "export", "--html", (out.path() / "site").string()}, st);
    }
    report(st, total);
    st.counters["s_per_100_nodes"] = total / static_cast<double>(st.iterations()) / 1000.0 * 100.0 / kNodes;
}

void BM_ExportCsvJson200(benchmark::State& st) {
    test::TempFolder out;
    double total = 0;
    for (auto _ : st)
        total += runMs({"--home", bigHome().home.path().string(), "export", "--csv", (out.path() / "a.csv").string(),
                        "--json", (out.path() / "a.json").string()}, st);
    report(st, total);
}

BENCHMARK(BM_RenderOneReport)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ExportHtml200)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_ExportCsvJson200)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
