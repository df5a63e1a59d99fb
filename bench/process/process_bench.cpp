// What a command costs as a whole process (start-up, libraries, work, exit),
// each against its reference in the same run:
//   vantrel-cli --help           against /bin/true
//   vantrel-cli collect          against lshw -quiet -json (this computer)
//   vantrel-cli xinfo on 17 MB   against assimp info -r (the same file)
// Every measure is repeated; the minimum and the median of the repetitions
// are printed, and the ratios are taken of both.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "bench_files.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

std::string findProgram(const std::string& name) {
    for (const char* dir : {"/usr/bin", "/usr/sbin", "/bin", "/sbin", "/usr/local/bin"}) {
        const std::string candidate = std::string(dir) + "/" + name;
        if (::access(candidate.c_str(), X_OK) == 0) return candidate;
    }
    return {};
}

const fs::path& scratch() {
    static const fs::path dir = [] {
        auto d = fs::temp_directory_path() / "vantrel_process_bench";
        fs::create_directories(d);
        return d;
    }();
    return dir;
}

// Runs `argv` with its output thrown away; false unless it exits with 0.
bool runQuietly(const std::vector<std::string>& argv) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    std::vector<char*> args;
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    pid_t pid = 0;
    int status = 0;
    const bool ok = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ) == 0 &&
                    waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    posix_spawn_file_actions_destroy(&actions);
    return ok;
}

void runProcess(benchmark::State& st, const std::vector<std::string>& argv) {
    for (auto _ : st)
        if (!runQuietly(argv)) {
            st.SkipWithError((argv[0] + " failed").c_str());
            break;
        }
}

// Keeps the minimum and the median of each measure's repetitions.
class FigureReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const auto& run : runs)
            if (!run.error_occurred && run.iterations > 0 && run.run_type == Run::RT_Iteration) {
                const std::string name = run.run_name.function_name;
                times[name].push_back(run.real_accumulated_time / static_cast<double>(run.iterations));
            }
        ConsoleReporter::ReportRuns(runs);
    }
    // {minimum, median} in seconds, or nothing when the measure did not run.
    std::optional<std::pair<double, double>> figures(const std::string& name) {
        auto it = times.find(name);
        if (it == times.end() || it->second.empty()) return std::nullopt;
        auto v = it->second;
        std::sort(v.begin(), v.end());
        return std::make_pair(v.front(), v[v.size() / 2]);
    }
    std::map<std::string, std::vector<double>> times;
};

void printRatio(FigureReporter& r, const std::string& what, const std::string& reference, const std::string& goal) {
    const auto a = r.figures(what), b = r.figures(reference);
    if (!a || !b) {
        std::cout << what << " / " << reference << ": not measured (reference missing or a run failed)\n";
        return;
    }
    std::cout << what << " / " << reference << " = " << a->first / b->first << " (min), " << a->second / b->second
              << " (median); " << a->first * 1e3 << " ms against " << b->first * 1e3 << " ms (min); goal " << goal
              << "\n";
}

}  // namespace

int main(int argc, char** argv) {
    const std::string cli = VANTREL_CLI_PATH;
    const std::string home = (scratch() / "home").string();
    fs::create_directories(home);
    const std::string report = (scratch() / "report.txt").string();
    const std::string largeX = vantrel::engine3d::bench::largeTextFile().string();
    constexpr int kRepetitions = 7;

    auto add = [&](const char* name, std::vector<std::string> args, double minTime) {
        benchmark::RegisterBenchmark(name, [args](benchmark::State& st) { runProcess(st, args); })
            ->Unit(benchmark::kMillisecond)
            ->MinTime(minTime)
            ->Repetitions(kRepetitions)
            ->ReportAggregatesOnly(false);
    };
    add("TrueReference", {"/bin/true"}, 0.2);
    add("CliHelp", {cli, "--help"}, 0.2);
    add("CliCollectLocal", {cli, "--home", home, "collect", "--out", report}, 0.3);
    if (const auto lshw = findProgram("lshw"); !lshw.empty())
        add("LshwReference", {lshw, "-quiet", "-json"}, 1.0);
    add("CliXinfoLargeText", {cli, "xinfo", largeX}, 1.0);
    if (const auto assimp = findProgram("assimp"); !assimp.empty())
        add("AssimpInfoLargeText", {assimp, "info", largeX, "-r"}, 1.0);

    benchmark::Initialize(&argc, argv);
    FigureReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    if (const auto help = reporter.figures("CliHelp"), truth = reporter.figures("TrueReference"); help && truth)
        std::cout << "CliHelp - TrueReference = " << (help->first - truth->first) * 1e3 << " ms (min), "
                  << (help->second - truth->second) * 1e3 << " ms (median); goal <= 3 ms\n";
    printRatio(reporter, "CliHelp", "TrueReference", "a few ms more");
    printRatio(reporter, "CliCollectLocal", "LshwReference", "<= 0.1");
    printRatio(reporter, "CliXinfoLargeText", "AssimpInfoLargeText", "<= 0.2");
    benchmark::Shutdown();
    return 0;
}
