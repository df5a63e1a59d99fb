// A collection of this computer through the agent on loopback (TLS, Basic
// login, 34 connections over kept-alive transports) against the collection
// of this computer by the local provider, the two taking turns in the same
// iterations; and 32 collections at once against one agent. The figures that
// matter are the ratios: remote / local (a counter, and printed at the end),
// and time per collection under load / single.

#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <iostream>
#include <map>
#include <thread>

#include "../../tests/agent/test_agent.h"
#include "collect/collection_run.h"
#include "core/program_state.h"
#include "providers/linux/linux_provider.h"
#include "providers/wsman/wsman_provider.h"
#include "support/fake_ui.h"

namespace {

using namespace vantrel;

// This computer, read from its own files as "Scan Local PC" reads it.
std::shared_ptr<wbem::Provider> thisComputer() { return std::make_shared<linuxhost::LinuxProvider>(); }

agent::test::TestAgent& sharedAgent() {
    agent::ServerSettings settings;
    settings.maxConnections = 64;
    static agent::test::TestAgent agent(thisComputer(), settings);
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

// The same computer collected by the local provider and through the agent,
// one after the other in every iteration, so that both see the same machine
// load; the iteration's time is the sum.
void RemoteAgainstLocalCollection(benchmark::State& st) {
    using Clock = std::chrono::steady_clock;
    Scanner local(thisComputer(), "", "", "");
    auto remote = remoteScanner();
    remote->collect();  // the login is remembered after the first
    local.collect();
    Clock::duration localTime{}, remoteTime{};
    std::size_t localBytes = 0, remoteBytes = 0;
    for (auto _ : st) {
        const auto start = Clock::now();
        localBytes = local.collect();
        const auto middle = Clock::now();
        remoteBytes = remote->collect();
        const auto end = Clock::now();
        localTime += middle - start;
        remoteTime += end - middle;
    }
    const double n = static_cast<double>(st.iterations());
    const double localMs = std::chrono::duration<double, std::milli>(localTime).count() / n;
    const double remoteMs = std::chrono::duration<double, std::milli>(remoteTime).count() / n;
    st.counters["local_ms"] = localMs;
    st.counters["remote_ms"] = remoteMs;
    st.counters["remote_per_local"] = remoteMs / localMs;
    // Both read the same machine, so the reports agree in size.
    st.counters["report_bytes"] = static_cast<double>(remoteBytes);
    if (localBytes != remoteBytes) st.SkipWithError("the remote report differs from the local one");
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
        for (const auto& r : runs) {
            if (r.error_occurred) continue;
            milliseconds[r.benchmark_name()] = r.GetAdjustedRealTime();  // every benchmark here reports in ms
            for (const auto& [name, counter] : r.counters) counters[r.benchmark_name() + "/" + name] = counter.value;
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> milliseconds;
    std::map<std::string, double> counters;
};

}  // namespace

BENCHMARK(RemoteAgainstLocalCollection)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ThirtyTwoConcurrentRemoteCollections)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto& c = reporter.counters;
    const auto local = c.find("RemoteAgainstLocalCollection/real_time/local_ms");
    const auto remote = c.find("RemoteAgainstLocalCollection/real_time/remote_ms");
    const auto many = reporter.milliseconds.find("ThirtyTwoConcurrentRemoteCollections/iterations:5/real_time");
    if (local != c.end() && remote != c.end())
        std::cout << "remote / local collection of this computer: " << remote->second / local->second << "\n";
    if (remote != c.end() && many != reporter.milliseconds.end()) {
        const double single = remote->second;
        std::cout << "time per collection with 32 at once / single remote collection: " << (many->second / 32) / single
                  << "\n"
                  << "latency of each of 32 at once / single remote collection: " << many->second / single << "\n";
    }
    benchmark::Shutdown();
    return 0;
}
