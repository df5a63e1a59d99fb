// What the scan history adds to what users wait for: a collection run that
// also keeps its scan (identity queries and the store's transaction), the
// history of a node with 10,000 scans, and the comparison of two of them.
// The reference, measured in the same run, is the same collection run
// without the history; every figure is also given as a ratio to it.

#include <benchmark/benchmark.h>

#include "collect/collection_run.h"
#include "store/home_store.h"
#include "support/collect_fixture.h"
#include "support/workstation_profiles.h"

namespace {

using namespace vantrel;

constexpr int kScans = 10'000;

double referenceMs = 0;  // one collection run without the history

double elapsedMs(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

void ratios(benchmark::State& st, double ms) {
    st.counters["ms"] = ms;
    if (referenceMs > 0) st.counters["x_collection"] = ms / referenceMs;
}

struct Workstation {
    test::TempFolder home;
    test::NodeFixture f{home.path()};
    explicit Workstation(bool keepHistory) {
        f.state.domain.currentLogin = CurrentLogin{"10.0.0.7", "admin", "secret"};
        f.session.provider = test::profileProviderFromFile(test::workstationProfile());
        if (keepHistory) f.session.recorder = std::make_shared<HomeStoreRecorder>(f.state.folder, nullptr);
    }
};

// Arg 0: without the history (the reference); 1: kept, the node unchanged
// (the nightly case); 2: kept, the node changed since its last scan every time.
void BM_CollectionRun(benchmark::State& st) {
    const bool keepHistory = st.range(0) != 0;
    Workstation w(keepHistory);
    test::TempFolder scratch;
    const auto unchanged = test::profileProviderFromFile(test::workstationProfile());
    const auto changed = test::profileProviderFromFile(test::writeChangedWorkstation(scratch.path()));
    bool flip = false;
    double total = 0;
    for (auto _ : st) {
        if (st.range(0) == 2) w.f.session.provider = (flip = !flip) ? changed : unchanged;
        const auto start = std::chrono::steady_clock::now();
        if (!CollectHardware(w.f.state, w.f.session)) st.SkipWithError("the report was not written");
        total += elapsedMs(start);
    }
    const double ms = total / static_cast<double>(st.iterations());
    if (!keepHistory) referenceMs = ms;
    ratios(st, ms);
    if (keepHistory) st.counters["history_ms"] = ms - referenceMs;  // against the 1 ms budget
}

// A node scanned 10,000 times: mostly unchanged, a part swapped every tenth scan.
std::unique_ptr<SqliteInventoryStore> storeWithManyScans(const test::TempFolder& dir) {
    test::TempFolder scratch;
    Workstation before(false), after(false);
    after.f.session.provider = test::profileProviderFromFile(test::writeChangedWorkstation(scratch.path()));
    std::vector<CollectedScan> scans(2);
    struct Keep : ScanRecorder {
        CollectedScan& into;
        explicit Keep(CollectedScan& s) : into(s) {}
        void record(const CollectedScan& scan) noexcept override { into = scan; }
    };
    before.f.session.recorder = std::make_shared<Keep>(scans[0]);
    after.f.session.recorder = std::make_shared<Keep>(scans[1]);
    CollectHardware(before.f.state, before.f.session);
    CollectHardware(after.f.state, after.f.session);
    auto store = std::make_unique<SqliteInventoryStore>(dir.path() / "inventory.db");
    std::vector<CollectedScan> all;
    for (int i = 0; i < kScans; ++i) all.push_back(scans[(i / 10) % 2]);
    store->importReportsOnce(all);
    return store;
}

void BM_History(benchmark::State& st) {
    test::TempFolder dir;
    auto store = storeWithManyScans(dir);
    double total = 0;
    for (auto _ : st) {
        const auto start = std::chrono::steady_clock::now();
        const auto scans = store->listScans("LAB-07");
        total += elapsedMs(start);
        if (scans.size() != kScans) st.SkipWithError("scans missing");
    }
    ratios(st, total / static_cast<double>(st.iterations()));
}

void BM_Diff(benchmark::State& st) {
    test::TempFolder dir;
    auto store = storeWithManyScans(dir);
    double total = 0;
    for (auto _ : st) {
        const auto start = std::chrono::steady_clock::now();
        const ScanChanges changes = store->compare("LAB-07", 4990, kScans);  // other content: a full comparison
        total += elapsedMs(start);
        if (changes.empty()) st.SkipWithError("no change found");
    }
    ratios(st, total / static_cast<double>(st.iterations()));
}

// The reference first.
BENCHMARK(BM_CollectionRun)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_History)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Diff)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
