// The shared store on a PostgreSQL server over loopback's Unix socket:
// recording one real scan (a workstation's report and answers, unchanged
// and changed since its last scan), and the history of a node with 10,000
// scans, and what a desktop program asks every few seconds to show others'
// scans: the last scan of every node, for 200 nodes of 50 scans each. The
// server is started by the benchmark itself (as the tests do).

#include <benchmark/benchmark.h>

#include "collect/collection_run.h"
#include "store/postgres/postgres_inventory_store.h"
#include "support/collect_fixture.h"
#include "support/postgres_server.h"
#include "support/workstation_profiles.h"

namespace {

using namespace vantrel;

constexpr int kScans = 10'000;

double elapsedMs(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// The workstation's scan before and after a service visit, as a collection hands them over.
std::vector<CollectedScan> workstationScans() {
    test::TempFolder scratch;
    std::vector<CollectedScan> scans(2);
    struct Keep : ScanRecorder {
        CollectedScan& into;
        explicit Keep(CollectedScan& s) : into(s) {}
        void record(const CollectedScan& scan) noexcept override { into = scan; }
    };
    for (int i = 0; i < 2; ++i) {
        test::TempFolder home;
        test::NodeFixture f{home.path()};
        f.state.domain.currentLogin = CurrentLogin{"10.0.0.7", "admin", "secret"};
        f.session.provider = test::profileProviderFromFile(i == 0 ? test::workstationProfile()
                                                                  : test::writeChangedWorkstation(scratch.path()));
        f.session.recorder = std::make_shared<Keep>(scans[static_cast<std::size_t>(i)]);
        CollectHardware(f.state, f.session);
    }
    return scans;
}

// Arg 0: the node unchanged since its last scan (the nightly case); 1: changed every time.
void BM_PostgresRecordScan(benchmark::State& st) {
    auto& server = test::sharedPostgresServer();
    if (!server.ready()) return st.SkipWithError(server.why().c_str());
    PostgresInventoryStore store(server.target());
    const auto scans = workstationScans();
    std::size_t i = 0;
    double total = 0;
    for (auto _ : st) {
        const auto start = std::chrono::steady_clock::now();
        store.recordScan(scans[st.range(0) == 0 ? 0 : i++ % 2]);
        total += elapsedMs(start);
    }
    st.counters["ms"] = total / static_cast<double>(st.iterations());
}

void BM_PostgresHistory(benchmark::State& st) {
    auto& server = test::sharedPostgresServer();
    if (!server.ready()) return st.SkipWithError(server.why().c_str());
    PostgresInventoryStore store(server.target());
    store.recordScan(workstationScans()[0]);
    // The other 9,999 scans made by the server itself: recording them one by one would take minutes.
    if (server.psql("INSERT INTO scans (node, number, taken_ms, source, address, report, answers, summary)"
                    " SELECT node, number + g, taken_ms + g * 86400000::bigint, source, address, report, answers, summary"
                    " FROM scans, generate_series(1, " + std::to_string(kScans - 1) + ") g WHERE number = 1;"
                    " UPDATE nodes SET last_number = " + std::to_string(kScans) + "; ANALYZE") != 0)
        return st.SkipWithError("the scans could not be made");
    const std::string node = store.nodes().at(0);
    double total = 0;
    for (auto _ : st) {
        const auto start = std::chrono::steady_clock::now();
        const auto scans = store.listScans(node);
        total += elapsedMs(start);
        if (scans.size() != kScans) st.SkipWithError("scans missing");
    }
    st.counters["ms"] = total / static_cast<double>(st.iterations());
}

void BM_PostgresLastScans(benchmark::State& st) {
    constexpr int kNodes = 200, kScansEach = 50;
    auto& server = test::sharedPostgresServer();
    if (!server.ready()) return st.SkipWithError(server.why().c_str());
    PostgresInventoryStore store(server.target());
    store.recordScan(workstationScans()[0]);
    // The other nodes and their scans made by the server from the first one.
    if (server.psql("INSERT INTO nodes (name, last_number) SELECT convert_to('WS-' || g, 'UTF8'), " +
                    std::to_string(kScansEach) + " FROM generate_series(2, " + std::to_string(kNodes) + ") g;"
                    " INSERT INTO scans (node, number, taken_ms, source, address, report, answers, summary)"
                    " SELECT n.id, g, s.taken_ms + g * 60000::bigint, s.source, s.address, s.report, s.answers, s.summary"
                    " FROM scans s, nodes n, generate_series(1, " + std::to_string(kScansEach) + ") g"
                    " WHERE s.number = 1 AND n.id <> s.node ON CONFLICT DO NOTHING; ANALYZE") != 0)
        return st.SkipWithError("the scans could not be made");
    double total = 0;
    for (auto _ : st) {
        const auto start = std::chrono::steady_clock::now();
        const auto last = store.lastScans();
        total += elapsedMs(start);
        if (last.size() != kNodes) st.SkipWithError("nodes missing");
    }
    st.counters["ms"] = total / static_cast<double>(st.iterations());
}

BENCHMARK(BM_PostgresHistory)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PostgresLastScans)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PostgresRecordScan)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
