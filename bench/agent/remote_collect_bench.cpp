// A collection of a computer through the agent on loopback (TLS, Basic login,
// 34 connections over kept-alive transports) against the same collection
// from the provider directly, measured side by side; and 32 collections at
// once against one agent. The figures that matter are the ratios printed at
// the end: remote / local, and time per collection under load / single.

#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <iostream>
#include <map>
#include <thread>

#include "../../tests/agent/test_agent.h"
#include "collect/collection_run.h"
#include "core/program_state.h"
#include "providers/profile/profile_provider.h"
#include "providers/wsman/wsman_provider.h"
#include "support/fake_ui.h"

namespace {

using namespace vantrel;

std::shared_ptr<wbem::Provider> officePc() {
    return std::make_shared<wbem::ProfileProvider>(
        std::make_shared<const wbem::Profile>(wbem::loadProfile(BENCH_PROFILE)));
}

agent::test::TestAgent& sharedAgent() {
    agent::ServerSettings settings;
    settings.maxConnections = 64;
    static agent::test::TestAgent agent(officePc(), settings);
    return agent;
}

// One scanning program: its state, its session and its provider.
struct Scanner {
    test::FakeUi ui;
    ProgramState state;
    HardwareSession session;

    Scanner(std::shared_ptr<wbem::Provider> provider, const std::string& server, const std::string& user,
            const std::string& password)
        : state(ProgramFolder(std::filesystem::temp_directory_path()), ui) {
        NodeRecord node;
        node.name = "BENCH";
        node.address = server;
        node.loginUser = user;
        state.domain.nodes.currentNode = state.domain.nodes.append(node);
        state.domain.currentLogin = CurrentLogin{server, user, password};
        session.provider = std::move(provider);
    }
    std::size_t collect() {
        collectReportText(state, session);
        return session.ReportText.size();
    }
};

std::unique_ptr<Scanner> remoteScanner() {
    auto& agent = sharedAgent();
    wsman::NodeConnectionSettings s;
    s.trustFile = agent.certificate().string();
    auto provider = std::make_shared<wsman::WsmanProvider>();
    provider->setNodeSettings(agent.address(), s);
    return std::make_unique<Scanner>(provider, agent.address(), "admin", "secret");
}

void LocalCollection(benchmark::State& st) {
    Scanner scanner(officePc(), "", "", "");
    for (auto _ : st) benchmark::DoNotOptimize(scanner.collect());
}

void RemoteCollection(benchmark::State& st) {
    auto scanner = remoteScanner();
    std::size_t bytes = scanner->collect();  // the login is remembered after the first
    for (auto _ : st) bytes = scanner->collect();
    st.counters["report_bytes"] = static_cast<double>(bytes);
}

// 32 programs scanning the one agent at the same moment; the time is for all
// of them, so per collection it is divided by 32.
void ThirtyTwoConcurrentRemoteCollections(benchmark::State& st) {
    constexpr int kClients = 32;
    std::vector<std::unique_ptr<Scanner>> scanners;
    for (int i = 0; i < kClients; ++i) {
        scanners.push_back(remoteScanner());
        scanners.back()->collect();
    }
    std::atomic<int> failures{0};
    for (auto _ : st) {
        std::vector<std::thread> threads;
        for (auto& s : scanners)
            threads.emplace_back([&, scanner = s.get()] {
                try {
                    scanner->collect();
                } catch (const std::exception&) {
                    ++failures;
                }
            });
        for (auto& t : threads) t.join();
    }
    if (failures) st.SkipWithError("some collections failed");
    st.counters["collections"] = benchmark::Counter(static_cast<double>(st.iterations() * kClients));
}

class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const auto& r : runs)
            if (!r.error_occurred) seconds[r.benchmark_name()] = r.GetAdjustedRealTime() / 1e9;
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> seconds;
};

}  // namespace

BENCHMARK(LocalCollection)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(RemoteCollection)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ThirtyTwoConcurrentRemoteCollections)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    auto& t = reporter.seconds;
    const auto local = t.find("LocalCollection/real_time");
    const auto remote = t.find("RemoteCollection/real_time");
    const auto many = t.find("ThirtyTwoConcurrentRemoteCollections/iterations:5/real_time");
    if (local != t.end() && remote != t.end())
        std::cout << "remote / local collection: " << remote->second / local->second << "\n";
    if (remote != t.end() && many != t.end())
        std::cout << "time per collection with 32 at once / single remote collection: "
                  << (many->second / 32) / remote->second << "\n"
                  << "latency of each of 32 at once / single remote collection: " << many->second / remote->second
                  << "\n";
    benchmark::Shutdown();
    return 0;
}
