// A Linux node over SSH against this computer's own collection, in the same
// run: the local read of every class (the reference), the SSH login alone,
// and a whole fetch over SSH (login included). Run it through the test's
// servers: tests/providers/ssh/ssh_nodes.sh build/bin/ssh_collect_bench.
// The goal: fetch <= login + 3 x local, and at most 5 round trips after the
// login (the "round_trips" counter). The node's account is "probe", root
// with a plain /bin/sh, so no shell start-up files of this machine count.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <map>

#include "providers/linux/linux_provider.h"
#include "providers/ssh/ssh_provider.h"
#include "providers/ssh/ssh_session.h"

namespace {

using namespace vantrel;

std::filesystem::path nodes() { return std::getenv("VANTREL_SSH_DIR") ? std::getenv("VANTREL_SSH_DIR") : ""; }

ssh::SshNodeSettings nodeSettings() {
    ssh::SshNodeSettings s;
    s.sshFolder = nodes() / "home/.ssh";
    s.knownHosts = nodes() / "bench_known_hosts";
    s.acceptNewHostKey = true;
    return s;
}


void LocalEveryClass(benchmark::State& st) {
    const auto names = linuxhost::hardwareDatabaseNames();
    for (auto _ : st)
        for (auto name : linuxhost::linuxClassNames()) benchmark::DoNotOptimize(linuxhost::readLinuxClass("/", names, name));
}

void SshLoginOnly(benchmark::State& st) {
    if (nodes().empty()) return st.SkipWithError("run through ssh_nodes.sh");
    const auto n = nodeSettings();
    for (auto _ : st) {
        ssh::SshSettings s;
        s.host = "127.0.0.1";
        s.port = 2222;
        s.user = "probe";
        s.sshFolder = n.sshFolder;
        s.knownHosts = n.knownHosts;
        s.acceptNewHostKey = true;
        ssh::SshSession session(s);
        benchmark::DoNotOptimize(session.exchanges());
    }
}

void SshWholeFetch(benchmark::State& st) {
    if (nodes().empty()) return st.SkipWithError("run through ssh_nodes.sh");
    int roundTrips = 0;
    for (auto _ : st) {
        ssh::SshProvider provider(nodeSettings());  // a new one each time: nothing reused
        benchmark::DoNotOptimize(provider.connect({"127.0.0.1:2222", "root\\cimv2", "probe", ""}));
        roundTrips = provider.lastRoundTrips();
    }
    st.counters["round_trips"] = roundTrips;
}

BENCHMARK(LocalEveryClass)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(SshLoginOnly)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(SshWholeFetch)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// Prints the ratio of the medians at the end of the run.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const auto& r : runs)
            if (r.aggregate_name == "median") medians_[r.run_name.function_name] = r.GetAdjustedRealTime();
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        const double local = medians_["LocalEveryClass"], login = medians_["SshLoginOnly"],
                     fetch = medians_["SshWholeFetch"];
        if (local > 0 && fetch > 0)
            std::cout << "SSH fetch beyond the login: " << (fetch - login) / local << " x the local read (goal <= 3); "
                      << "login " << login << " ms, fetch " << fetch << " ms, local " << local << " ms\n";
    }

private:
    std::map<std::string, double> medians_;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
}
