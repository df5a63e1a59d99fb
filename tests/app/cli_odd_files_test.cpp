// vantrel-cli show --report and xinfo on files that are no report or model:
// a FIFO, a device, UTF-16, random text or bytes. Each ends at once with
// status 1 and one line saying why, never a hang or a crash.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <functional>

#include "support/run_program.h"
#include "support/temp_folder.h"

using namespace vantrel;

namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

struct OddFileCase {
    const char* name;
    const char* command;  // "show" or "xinfo"
    std::function<void(const fs::path&)> make;
    const char* reason;  // after "<file>" or "the report <file>"
};

void fifo(const fs::path& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0); }
void zeroes(const fs::path& p) { fs::create_symlink("/dev/zero", p); }
std::function<void(const fs::path&)> content(const std::string& bytes) {
    return [bytes](const fs::path& p) { test::writeBytes(p, bytes); };
}

TEST(CliOddFiles, EndAtOnceWithOneReason) {
    if (!fs::is_character_file("/dev/zero")) GTEST_SKIP() << "/dev/zero is no device here";
    const OddFileCase cases[] = {
        {"report as a FIFO", "show", fifo, "cannot read the report FILE (it is not a regular file)"},
        {"report linked to /dev/zero", "show", zeroes, "cannot read the report FILE (it is not a regular file)"},
        {"report in UTF-16", "show", content("\xFF\xFE" "B\0a\0s\0e\0b\0o\0a\0r\0d\0"s), "FILE is not a report file"},
        {"random text", "show", content("Dear diary,\r\ntoday I scanned nothing.\r\n"), "FILE is not a report file"},
        {"random bytes", "show", content("\x89PNG\r\n\x1a\n\x01\x00\xff"s), "FILE is not a report file"},
        {"empty file", "show", content(""), "FILE is not a report file"},
        {"model as a FIFO", "xinfo", fifo, "FILE: is not a regular file"},
        {"model linked to /dev/zero", "xinfo", zeroes, "FILE: is not a regular file"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempFolder dir;
        const fs::path file = dir.path() / "odd";
        c.make(file);
        const std::vector<std::string> args =
            std::string(c.command) == "show" ? std::vector<std::string>{"10", VANTREL_CLI_PATH, "show", "--report", file.string()}
                                             : std::vector<std::string>{"10", VANTREL_CLI_PATH, "xinfo", file.string()};
        const auto started = std::chrono::steady_clock::now();
        const test::ProgramRun r = test::runProgram("timeout", args, dir.path());
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(10));

        std::string reason = c.reason;
        reason.replace(reason.find("FILE"), 4, file.string());
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err, "vantrel-cli " + std::string(c.command) + ": " + reason + "\n");
        EXPECT_EQ(r.out, "");
    }
}

}  // namespace
