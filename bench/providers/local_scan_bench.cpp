// "Scan Local PC" as the user waits for it: a full collection of this
// computer (all categories, report written), side by side with the reference
// a Linux user would otherwise run, `lshw -quiet -json`, in the same run. The
// ratio of the two is printed at the end; lshw is measured only when it is
// installed (it is not a dependency of the program).

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <map>

#include "collect/collection_run.h"
#include "core/program_state.h"
#include "providers/linux/linux_provider.h"
#include "support/fake_ui.h"
#include "support/temp_folder.h"

extern char** environ;

namespace {

using namespace vantrel;

struct Setup {
    test::FakeUi ui;
    test::TempFolder home;
    ProgramState state;
    HardwareSession session;

    Setup() : state(ProgramFolder(home.path()), ui) {
        NodeRecord node;
        node.name = "LOCAL";
        state.domain.nodes.currentNode = state.domain.nodes.append(node);
        state.domain.currentLogin = CurrentLogin{"", "", ""};
        session.provider = std::make_shared<linuxhost::LinuxProvider>();
    }
};

Setup& setup() {
    static Setup s;
    return s;
}

void LocalCollectionWithWrite(benchmark::State& st) {
    auto& s = setup();
    for (auto _ : st)
        if (!CollectHardware(s.state, s.session)) st.SkipWithError("the report was not written");
}

// The same without the report's synced write: what reading the machine costs.
void LocalCollectionWithoutWriting(benchmark::State& st) {
    auto& s = setup();
    for (auto _ : st) {
        collectReportText(s.state, s.session);
        benchmark::DoNotOptimize(s.session.ReportText.data());
    }
}

std::string lshwPath() {
    for (const char* dir : {"/usr/bin", "/usr/sbin", "/bin", "/sbin", "/usr/local/bin"}) {
        const std::string candidate = std::string(dir) + "/lshw";
        if (::access(candidate.c_str(), X_OK) == 0) return candidate;
    }
    return {};
}

// lshw's own inventory, its output thrown away.
void LshwJsonReference(benchmark::State& st) {
    const std::string lshw = lshwPath();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    char* argv[] = {const_cast<char*>(lshw.c_str()), const_cast<char*>("-quiet"), const_cast<char*>("-json"), nullptr};
    for (auto _ : st) {
        pid_t pid = 0;
        int status = 0;
        if (posix_spawn(&pid, lshw.c_str(), &actions, nullptr, argv, environ) != 0 || waitpid(pid, &status, 0) != pid ||
            !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            st.SkipWithError("lshw failed");
            break;
        }
    }
    posix_spawn_file_actions_destroy(&actions);
}

// Keeps the mean wall time of each benchmark for the ratio.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const auto& run : runs)
            if (!run.error_occurred && run.iterations > 0) {
                // The name without options such as "/min_time:2.000".
                const std::string name = run.benchmark_name().substr(0, run.benchmark_name().find('/'));
                seconds[name] = run.real_accumulated_time / static_cast<double>(run.iterations);
            }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> seconds;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::RegisterBenchmark("LocalCollectionWithWrite", LocalCollectionWithWrite)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("LocalCollectionWithoutWriting", LocalCollectionWithoutWriting)
        ->Unit(benchmark::kMillisecond);
    if (!lshwPath().empty())
        benchmark::RegisterBenchmark("LshwJsonReference", LshwJsonReference)->Unit(benchmark::kMillisecond)->MinTime(2.0);
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto local = reporter.seconds.find("LocalCollectionWithWrite");
    const auto lshw = reporter.seconds.find("LshwJsonReference");
    const auto reading = reporter.seconds.find("LocalCollectionWithoutWriting");
    if (local != reporter.seconds.end() && lshw != reporter.seconds.end() && lshw->second > 0) {
        std::cout << "local collection with written report / lshw -quiet -json = " << local->second / lshw->second
                  << " (at most 0.25 wanted)\n";
        if (reading != reporter.seconds.end())
            std::cout << "local collection without writing / lshw -quiet -json = " << reading->second / lshw->second
                      << "\n";
    }
    else
        std::cout << "lshw is not installed: no reference ratio\n";
    benchmark::Shutdown();
    return 0;
}
