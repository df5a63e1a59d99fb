// What users wait for when they ask for the network: the discovery run and
// the name lookups after it.
//
// Name lookups run anywhere: 256 names through a resolver that takes 100 ms
// each, against one such lookup measured in the same run (ideal ratio 8 with
// 32 lookups at a time; the goal is under 2 s in all).
//
// Discovery needs the test LAN and root:
//   tests/network/lan.sh run build/bin/network_bench
// It answers the probe with 0, 64 and 4096 fake computers and reports the
// run's time against its listening window (goal: at most window + 0.5 s).

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <optional>
#include <thread>

#include "lan_peers.h"
#include "network/discovery/network_discoverer.h"
#include "network/name_resolution.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using namespace vantrel::network;

constexpr auto kLookupTime = 100ms;

std::vector<std::string> slowLookup(const std::string& name) {
    std::this_thread::sleep_for(kLookupTime);
    return {"10.0.0." + name};
}

double seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

void BM_ResolveNames(benchmark::State& state) {
    const NameResolvers resolvers{slowLookup, {}};
    std::vector<NameToResolve> names;
    for (int i = 0; i < state.range(0); ++i) names.push_back({std::to_string(i % 250), {}});
    // Reference: one lookup on its own.
    auto start = Clock::now();
    resolveNames({{"1", {}}}, resolvers);
    const double one = seconds(Clock::now() - start);
    double all = 0;
    for (auto _ : state) {
        start = Clock::now();
        benchmark::DoNotOptimize(resolveNames(names, resolvers));
        all = seconds(Clock::now() - start);
        state.SetIterationTime(all);
    }
    state.counters["seconds"] = all;
    state.counters["vs_one_lookup"] = all / one;
}
BENCHMARK(BM_ResolveNames)->Arg(256)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

void BM_DiscoverWithPeers(benchmark::State& state) {
    const char* fakeNamespace = std::getenv("VANTREL_LAN_FAKE_NAMESPACE");
    if (!fakeNamespace) {
        state.SkipWithError("needs the test LAN: tests/network/lan.sh run build/bin/network_bench");
        for (auto _ : state) {
        }
        return;
    }
    const int peers = static_cast<int>(state.range(0));
    std::optional<vantrel::network::lan::NamespaceThread> responder;
    if (peers > 0)
        responder.emplace(fakeNamespace, [peers](const std::atomic<bool>& stop) {
            vantrel::network::lan::runMdnsResponder(stop, [peers] {
                std::vector<std::string> datagrams;
                std::vector<vantrel::network::lan::FakeService> services;
                for (int n = 0; n < peers; ++n) {
                    services.push_back({"peer" + std::to_string(n) + "._workstation._tcp.local",
                                        "peer" + std::to_string(n) + ".local",
                                        "10.214." + std::to_string(n / 256) + "." + std::to_string(n % 256)});
                    if (services.size() == 10 || n + 1 == peers) {
                        datagrams.push_back(vantrel::network::lan::mdnsAnswer(services));
                        services.clear();
                    }
                }
                return datagrams;
            });
        });
    const auto window = 1000ms;
    double took = 0;
    std::size_t found = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        found = NetworkDiscoverer().discover({window}).size();
        took = seconds(Clock::now() - start);
        state.SetIterationTime(took);
    }
    state.counters["computers"] = static_cast<double>(found);
    state.counters["vs_window"] = took / seconds(window);
    state.counters["over_window_s"] = took - seconds(window);
}
BENCHMARK(BM_DiscoverWithPeers)->Arg(0)->Arg(64)->Arg(4096)->UseManualTime()->Iterations(2)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
