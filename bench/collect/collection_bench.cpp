// What a user waits for in the hardware collection: a collection run against
// a computer with every category full, and loading the report it gives.
// Each figure has a reference measured in the same run, a plain read of the
// same report file, so results compare across machines as ratios.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "collect/catalogue.h"
#include "collect/collection_run.h"
#include "collect/report_loader.h"
#include "core/program_state.h"
#include "core/text_file.h"
#include "providers/profile/profile_provider.h"
#include "support/fake_ui.h"

namespace {

using namespace vantrel;
using wbem::Value;

// As many entries as the loader keeps: the slot limit, 255 rows, one enclosure.
int fullCount(const HardwareCategory& c) {
    if (c.placement == Placement::Row) return 255;
    if (c.placement == Placement::LastEntry) return 1;
    return c.slotLimit;
}

wbem::ProfileRow rowFor(const HardwareCategory& c, int i) {
    const std::string n = std::to_string(i);
    switch (c.rule) {
        case CollectorRule::DiskDrive: return {{{"InterfaceType", Value::text("IDE")}, {"Model", Value::text("Disk " + n)}}};
        case CollectorRule::MemoryCards:
            return {{{"InterfaceType", Value::text("USB")}, {"Model", Value::text("Generic USB SD Reader " + n)}}};
        case CollectorRule::Memory: return {{{"FormFactor", Value::integer(8)}}};
        case CollectorRule::Ethernet:
            return {{{"AdapterType", Value::text("Ethernet 802.3")}, {"Name", Value::text("Intel(R) PRO/1000 " + n)},
                     {"Manufacturer", Value::text("Intel")}}};
        case CollectorRule::Enclosure:
            return {{{"ChassisTypes", Value::array({Value::integer(10)})}, {"LockPresent", Value::boolean(true)}}};
        case CollectorRule::Wireless: return {{{"Description", Value::text("Wireless LAN Adapter " + n)}}};
        default: break;
    }
    wbem::ProfileRow row;
    for (int l = 0; l < c.linesPerEntry; ++l)
        row.properties.emplace_back(std::string(c.lines[l]), Value::text("Example " + std::string(c.lines[l]) + " " + n));
    return row;
}

std::shared_ptr<wbem::Profile> fullComputer() {
    wbem::ProfileNamespace ns{"root\\cimv2", {}};
    auto rowsOf = [&](std::string_view cls) -> std::vector<wbem::ProfileRow>& {
        for (auto& c : ns.classes)
            if (c.name == cls) return c.rows;
        ns.classes.push_back({std::string(cls), {}});
        return ns.classes.back().rows;
    };
    for (const auto& c : kCatalogue) {
        if (c.rule == CollectorRule::Cpu) {
            rowsOf("Win32_ComputerSystem").push_back({{{"NumberOfProcessors", Value::integer(1)}}});
            rowsOf("Win32_Processor").push_back({{{"Name", Value::text("Example CPU 3000 MHz")}}});
            continue;
        }
        auto& rows = rowsOf(c.wmiClass);
        for (int i = 1; i <= fullCount(c); ++i) rows.push_back(rowFor(c, i));
    }
    auto profile = std::make_shared<wbem::Profile>();
    profile->namespaces.push_back(std::move(ns));
    return profile;
}

struct Setup {
    test::FakeUi ui;
    std::filesystem::path home;
    ProgramState state;
    HardwareSession session;
    std::filesystem::path report;

    Setup()
        : home(std::filesystem::temp_directory_path() / ("vantrel-bench-" + std::to_string(::getpid()))),
          state(ProgramFolder(home), ui) {
        std::filesystem::create_directories(home);
        NodeRecord node;
        node.name = "BENCH";
        node.address = "10.0.0.7";
        state.domain.nodes.currentNode = state.domain.nodes.append(node);
        state.domain.currentLogin = CurrentLogin{"10.0.0.7", "", ""};
        session.provider = std::make_shared<wbem::ProfileProvider>(fullComputer());
        for (std::size_t i = 0; i < kBuilderCount; ++i)
            session.builders.set(static_cast<BuilderId>(i), [](NodeReport& r) { benchmark::DoNotOptimize(r.LastEntry); });
        if (!CollectHardware(state, session)) throw std::runtime_error("cannot write the benchmark report");
        report = home / "BENCH" / "report";
    }
    ~Setup() {
        std::error_code ec;
        std::filesystem::remove_all(home, ec);
    }
};

Setup& setup() {
    static Setup s;
    return s;
}

void PlainReadOfTheReport(benchmark::State& st) {
    auto& s = setup();
    std::string buffer(1 << 20, '\0');
    for (auto _ : st) {
        std::FILE* f = std::fopen(s.report.c_str(), "rb");
        const std::size_t n = std::fread(buffer.data(), 1, buffer.size(), f);
        std::fclose(f);
        benchmark::DoNotOptimize(n);
    }
    st.SetBytesProcessed(static_cast<std::int64_t>(st.iterations() * std::filesystem::file_size(s.report)));
}

// The line reader alone over the same file: what any loader of it pays.
void LineByLineReadOfTheReport(benchmark::State& st) {
    auto& s = setup();
    for (auto _ : st) {
        TextLineReader in(s.report);
        std::size_t lines = 0;
        while (auto line = in.readLine()) lines += !line->empty();
        benchmark::DoNotOptimize(lines);
    }
}

void LoadFullReport(benchmark::State& st) {
    auto& s = setup();
    for (auto _ : st) {
        if (loadReportFile(s.report, s.session.report, s.session.builders) != LoadEnd::Complete)
            st.SkipWithError("the report did not load whole");
    }
    st.SetBytesProcessed(static_cast<std::int64_t>(st.iterations() * std::filesystem::file_size(s.report)));
}

void CollectionRunWithoutWriting(benchmark::State& st) {
    auto& s = setup();
    for (auto _ : st) {
        collectReportText(s.state, s.session);
        benchmark::DoNotOptimize(s.session.ReportText.data());
    }
    st.counters["report_bytes"] = static_cast<double>(s.session.ReportText.size());
}

// The whole run with the atomic, synced write: the disk decides this one.
void CollectionRunWithWrite(benchmark::State& st) {
    auto& s = setup();
    for (auto _ : st) benchmark::DoNotOptimize(CollectHardware(s.state, s.session));
}

}  // namespace

BENCHMARK(PlainReadOfTheReport);
BENCHMARK(LineByLineReadOfTheReport);
BENCHMARK(LoadFullReport);
BENCHMARK(CollectionRunWithoutWriting);
BENCHMARK(CollectionRunWithWrite)->Iterations(20);
BENCHMARK_MAIN();
