// vantrel-cli starts one program per family of commands, so that a command
// loads only what it uses. These tests hold the split to its purpose: every
// command reaches a program that runs it, and no program loads the libraries
// of another family.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "support/run_program.h"
#include "support/temp_folder.h"

namespace {

using namespace vantrel::test;
namespace fs = std::filesystem;

const fs::path kCli = VANTREL_CLI_PATH;

// The command names of --help, in its order.
std::vector<std::string> helpCommands(const TempFolder& folder) {
    const auto run = runProgram(kCli, {"--help"}, folder.path());
    EXPECT_EQ(run.status, 0);
    std::istringstream lines(run.out);
    std::vector<std::string> names;
    bool inCommands = false;
    for (std::string line; std::getline(lines, line);) {
        if (line == "Commands:") inCommands = true;
        else if (inCommands && line.size() > 2 && line.compare(0, 2, "  ") == 0 && line[2] != ' ')
            names.push_back(line.substr(2, line.find(' ', 2) - 2));
    }
    return names;
}

TEST(CliPrograms, EveryCommandIsRunByItsProgram) {
    TempFolder folder;
    const auto names = helpCommands(folder);
    ASSERT_GE(names.size(), 14u);
    for (const auto& name : names) {
        SCOPED_TRACE(name);
        // An option no command has: the command itself must answer, with its
        // own complaint, not the front or a program that lacks it.
        const auto run = runProgram(kCli, {"--home", folder.path().string(), name, "--no-such-option"}, folder.path());
        EXPECT_NE(run.status, 0);
        EXPECT_EQ(run.err.find("unknown command"), std::string::npos) << run.err;
        EXPECT_EQ(run.err.find("cannot start"), std::string::npos) << run.err;
        EXPECT_NE(run.err.find(name), std::string::npos) << run.err;
    }
}

TEST(CliPrograms, FrontAnswersAloneAndRejectsWhatNoProgramRuns) {
    TempFolder folder;
    const auto help = runProgram(kCli, {"--help"}, folder.path());
    EXPECT_EQ(help.status, 0);
    const auto version = runProgram(kCli, {"--version"}, folder.path());
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out.rfind("vantrel-cli ", 0), 0u);
    const auto unknown = runProgram(kCli, {"frobnicate"}, folder.path());
    EXPECT_EQ(unknown.status, 1);
    EXPECT_EQ(unknown.err, "vantrel-cli: unknown command 'frobnicate' (see --help)\n");
    const auto none = runProgram(kCli, {"--home", folder.path().string()}, folder.path());
    EXPECT_EQ(none.status, 1);
    EXPECT_EQ(none.err, help.out);
    // Each program, started directly, runs another family's command through
    // the program of that family.
    const auto viaLocal = runProgram((kCli.parent_path() / "vantrel-cli-local").string(), {"xinfo"}, folder.path());
    EXPECT_NE(viaLocal.status, 0);
    EXPECT_EQ(viaLocal.err.find("unknown command"), std::string::npos) << viaLocal.err;
}

// The programs that draw get huge pages for their pictures; the others, and
// a user's own glibc tunables, are left alone. The front is run from a copy
// beside stand-in programs that print what they were given.
TEST(CliPrograms, DrawingProgramsAreStartedWithHugePages) {
    TempFolder folder;
    const fs::path front = folder.path() / "vantrel-cli";
    fs::copy_file(kCli, front);
    for (const char* program : {"vantrel-cli-render", "vantrel-cli-local"}) {
        const fs::path stand = folder.path() / program;
        std::ofstream(stand) << "#!/bin/sh\necho \"$GLIBC_TUNABLES\"\n";
        fs::permissions(stand, fs::perms::owner_all);
    }
    EXPECT_EQ(runProgram(front.string(), {"render", "--all"}, folder.path()).out, "glibc.malloc.hugetlb=1\n");
    EXPECT_EQ(runProgram(front.string(), {"collect"}, folder.path()).out, "\n");
    const auto own = runProgram("env", {"GLIBC_TUNABLES=glibc.malloc.arena_max=2", front.string(), "export"}, folder.path());
    EXPECT_EQ(own.out, "glibc.malloc.arena_max=2\n");
}

// The shared libraries a program loads, by file name (from ldd; none for a
// static program).
std::set<std::string> loadedLibraries(const fs::path& program, const TempFolder& folder) {
    const auto run = runProgram("ldd", {program.string()}, folder.path());
    std::set<std::string> names;
    if (run.out.find("not a dynamic executable") != std::string::npos ||
        run.err.find("not a dynamic executable") != std::string::npos)
        return names;
    EXPECT_EQ(run.status, 0) << run.err;
    std::istringstream lines(run.out);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line);
        std::string first;
        words >> first;
        const auto slash = first.rfind('/');
        names.insert(slash == std::string::npos ? first : first.substr(slash + 1));
    }
    EXPECT_FALSE(names.empty()) << run.out;
    return names;
}

bool loads(const std::set<std::string>& libraries, const std::string& prefix) {
    for (const auto& l : libraries)
        if (l.rfind(prefix, 0) == 0) return true;
    return false;
}

TEST(CliPrograms, EachProgramLoadsOnlyItsFamilysLibraries) {
    TempFolder folder;
    const std::vector<std::string> transports{"libcurl", "libgssapi", "libssh.", "libavahi"};
    const std::vector<std::string> drawing{"libEGL", "libGL", "libOpenGL", "libpng", "libjpeg"};
    const std::vector<std::string> stores{"libpq", "libsqlite3"};
    auto all = [](std::initializer_list<std::vector<std::string>> lists) {
        std::vector<std::string> out;
        for (const auto& l : lists) out.insert(out.end(), l.begin(), l.end());
        return out;
    };
    const struct {
        const char* program;
        std::vector<std::string> forbidden;
    } kCases[] = {
        {"vantrel-cli-local", all({transports, drawing, stores, {"libssl", "libcrypto"}})},
        // The model prints names with FreeType, which brings libpng: no OpenGL.
        {"vantrel-cli-model", all({transports, {"libEGL", "libGL", "libOpenGL", "libjpeg"}, stores, {"libudev"}})},
        {"vantrel-cli-history", all({{"libcurl", "libssh.", "libavahi"}, drawing})},
        {"vantrel-cli-render", {"libcurl", "libssh.", "libavahi"}},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.program);
        const auto libraries = loadedLibraries(kCli.parent_path() / c.program, folder);
        for (const auto& f : c.forbidden) EXPECT_FALSE(loads(libraries, f)) << f;
    }
    // The front: the C++ runtime at most (it is linked statically).
    const std::set<std::string> runtime{"linux-vdso.so.1", "libstdc++.so.6", "libm.so.6", "libgcc_s.so.1",
                                        "libc.so.6", "ld-linux-x86-64.so.2"};
    for (const auto& l : loadedLibraries(kCli, folder)) EXPECT_TRUE(runtime.count(l)) << l;
}

}  // namespace
