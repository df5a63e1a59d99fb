// The fetch program and its answers without SSH: the program run here by sh
// over a small tree of awkward files, and answers a hostile node could send.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "providers/linux/source_root.h"
#include "providers/ssh/remote_files.h"
#include "support/run_program.h"
#include "support/temp_folder.h"
#include "wbem/wbem_error.h"

namespace vantrel::ssh::test {
namespace {

using vantrel::test::TempFolder;
using vantrel::test::writeBytes;

// Runs the fetch program on this computer with `requests` as its input.
std::string runFetch(const TempFolder& dir, const std::string& requests) {
    writeBytes(dir.path() / "fetch.sh", kFetchScript);
    writeBytes(dir.path() / "requests", requests);
    const auto r = vantrel::test::runProgram(
        "sh", {"-c", "sh '" + (dir.path() / "fetch.sh").string() + "' <'" + (dir.path() / "requests").string() + "'"},
        dir.path());
    return r.out;
}

TEST(FetchProgram, AnswersEveryKindOfRequestWithFramingNoContentCanBreak) {
    TempFolder dir, tree;
    const auto t = tree.path().string();
    std::filesystem::create_directories(tree.path() / "dev");
    writeBytes(tree.path() / "dev/vendor", "0x8086\n");
    writeBytes(tree.path() / "dev/no end", "R 99 1 /fake\nZ\nlast");  // framing look-alikes, no final newline
    writeBytes(tree.path() / "dev/line\nbreak", "x");
    writeBytes(tree.path() / "dev/.hidden", "");
    ::mkfifo((tree.path() / "dev/fifo").c_str(), 0600);
    std::filesystem::create_symlink("dev", tree.path() / "link");
    std::filesystem::create_symlink("link", tree.path() / "link to link");
    std::filesystem::create_symlink("nowhere", tree.path() / "dangling");

    RemoteFiles files;
    const std::vector<RemoteFiles::Request> asked{
        {RemoteFiles::Ask::Read, t + "/dev/vendor"},     {RemoteFiles::Ask::Read, t + "/dev/no end"},
        {RemoteFiles::Ask::Read, t + "/dev/fifo"},       {RemoteFiles::Ask::Read, t + "/missing"},
        {RemoteFiles::Ask::List, t + "/dev"},            {RemoteFiles::Ask::List, t + "/dev/vendor"},
        {RemoteFiles::Ask::Resolve, t + "/link/vendor"}, {RemoteFiles::Ask::Resolve, t + "/missing"},
        {RemoteFiles::Ask::Resolve, t + "/link to link"}, {RemoteFiles::Ask::Resolve, t + "/dangling"},
        {RemoteFiles::Ask::Exists, t + "/link"},         {RemoteFiles::Ask::Exists, t + "/missing"},
    };
    const std::string answer = runFetch(dir, requestLines(asked));
    ASSERT_EQ(answerLength(answer), answer.size()) << answer;
    // A batch is complete only at its end, whatever the files hold.
    for (std::size_t cut = 0; cut < answer.size(); ++cut) EXPECT_EQ(answerLength(answer.substr(0, cut)), std::nullopt);
    files.merge(asked, answer);

    EXPECT_EQ(files.readFile(t + "/dev/vendor"), "0x8086\n");
    EXPECT_EQ(files.readFile(t + "/dev/no end"), "R 99 1 /fake\nZ\nlast");
    EXPECT_EQ(files.readFile(t + "/dev/fifo"), std::nullopt);  // never waited on
    EXPECT_EQ(files.readFile(t + "/missing"), std::nullopt);
    EXPECT_EQ(files.list(t + "/dev"), (std::vector<std::string>{".hidden", "fifo", "no end", "vendor"}));
    EXPECT_TRUE(files.list(t + "/dev/vendor").empty());
    EXPECT_EQ(files.resolve(t + "/link/vendor"), std::filesystem::canonical(tree.path()).string() + "/dev/vendor");
    EXPECT_EQ(files.resolve(t + "/missing"), std::nullopt);
    // Links to folders, followed to the end, and a link that leads nowhere.
    EXPECT_EQ(files.resolve(t + "/link to link"), std::filesystem::canonical(tree.path()).string() + "/dev");
    EXPECT_EQ(files.resolve(t + "/dangling"), std::nullopt);
    EXPECT_TRUE(files.exists(t + "/link"));
    EXPECT_FALSE(files.exists(t + "/missing"));
    EXPECT_TRUE(files.takeMisses().empty());  // all of it was asked and answered

    // Asked later: noted, absent until the next batch.
    EXPECT_EQ(files.readFile(t + "/dev/other"), std::nullopt);
    const auto misses = files.takeMisses();
    ASSERT_EQ(misses.size(), 1u);
    EXPECT_EQ(misses[0].path, t + "/dev/other");
}

TEST(RemoteFilesAnswer, WhatANodeMakesUpIsRefusedOrIgnored) {
    const std::vector<RemoteFiles::Request> asked{{RemoteFiles::Ask::Read, "/a"}, {RemoteFiles::Ask::List, "/d"}};
    struct Case {
        const char* name;
        std::string answer;
    };
    const Case malformed[] = {
        {"no end", "R 1 1 /a\nx\n"},
        {"an unknown line", "Q /a\nZ\n"},
        {"a count that is no number", "R x 1 /a\nZ\n"},
        {"a count far too large", "R 99999999 1 /a\nZ\n"},
        {"fewer lines than counted", "R 3 1 /a\nx\nZ\n"},
        {"an entry with a slash", "L 1 /d\na/b\nZ\n"},
        {"an entry named ..", "L 1 /d\n..\nZ\n"},
        {"a link to a relative path", "P /a\nrelative\nZ\n"},
        {"a bad line ending flag", "R 1 7 /a\nx\nZ\n"},
        {"a file beyond the size limit", "R 2 1 /a\n" + std::string(linuxhost::kMaxSourceFileBytes, 'x') + "\nx\nZ\n"},
    };
    for (const auto& c : malformed) {
        SCOPED_TRACE(c.name);
        RemoteFiles files;
        EXPECT_THROW(files.merge(asked, c.answer), wbem::WbemError);
    }
    // Answers to what was not asked are ignored; what was asked and not answered is absent.
    RemoteFiles files;
    files.merge(asked, "R 1 1 /etc/shadow\nroot:x\nL 1 /d\nentry\nZ\n");
    EXPECT_EQ(files.readFile("/a"), std::nullopt);
    EXPECT_EQ(files.readFile("/etc/shadow"), std::nullopt);
    EXPECT_EQ(files.list("/d"), (std::vector<std::string>{"entry"}));
    EXPECT_EQ(files.takeMisses().size(), 1u);  // /etc/shadow, asked for just now
}

}  // namespace
}  // namespace vantrel::ssh::test
