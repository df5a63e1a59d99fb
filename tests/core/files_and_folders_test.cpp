#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include "core/error.h"
#include "core/program_folder.h"
#include "core/text_file.h"
#include "support/fake_ui.h"
#include "support/temp_folder.h"

namespace vantrel {
namespace {

using test::TempFolder;

TEST(ProgramFolder, SafeNodeNames) {
    for (const std::string good : {"PC-1", "pc.local", "Accounts desk", "a\\b", "..x", "caf\xc3\xa9"})
        EXPECT_TRUE(isSafePathComponent(good)) << good;
    const std::vector<std::string> bad{"", ".", "..", "a/b", "/", std::string("a\0b", 3), "line\nbreak", "\x7f"};
    for (const auto& name : bad) EXPECT_FALSE(isSafePathComponent(name)) << name;
    ProgramFolder folder("/data");
    EXPECT_EQ(folder.reportFile("PC-1"), std::filesystem::path("/data/PC-1/report"));
    EXPECT_FALSE(folder.reportFile("../etc"));
}

TEST(ProgramFolder, ChoosesHomeOptionThenExecutableFolderThenDataHome) {
    TempFolder tmp;
    const auto exeDir = tmp.path() / "bin";
    std::filesystem::create_directory(exeDir);
    EXPECT_EQ(chooseProgramFolder(tmp.path() / "inv" / "a", exeDir), tmp.path() / "inv" / "a");
    EXPECT_TRUE(std::filesystem::is_directory(tmp.path() / "inv" / "a"));
    EXPECT_EQ(chooseProgramFolder(std::nullopt, exeDir), exeDir);

    // An executable folder that cannot be used sends the files to XDG_DATA_HOME.
    setenv("XDG_DATA_HOME", (tmp.path() / "xdg").c_str(), 1);
    EXPECT_EQ(chooseProgramFolder(std::nullopt, tmp.path() / "no-such-dir"), tmp.path() / "xdg" / "vantrel");
    unsetenv("XDG_DATA_HOME");

    test::writeBytes(tmp.path() / "file", "x");
    EXPECT_THROW(chooseProgramFolder(tmp.path() / "file" / "sub", exeDir), Error);
}

TEST(AtomicWrite, FailedWriteLeavesTheOldFileWhole) {
    TempFolder dir;
    const auto path = dir.path() / "lg.ini";
    test::writeBytes(path, "old content\r\n");
    // Make the disk "full" for this process: writes past 64 bytes fail.
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 64;
    setrlimit(RLIMIT_FSIZE, &small);
    const bool ok = writeFileAtomically(path, std::string(4096, 'n'), 0600);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(ok);
    EXPECT_EQ(test::readBytes(path), "old content\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);  // no temporary left

    ASSERT_TRUE(writeFileAtomically(path, "new\r\n", 0600));
    EXPECT_EQ(test::readBytes(path), "new\r\n");
    struct stat st {};
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600);
}

TEST(AtomicWrite, ALinkIsWrittenThroughToItsTarget) {
    namespace fs = std::filesystem;
    struct Case {
        const char* name;
        fs::path link;    // in `home`, to what `target` holds (relative to `home`)
        fs::path target;  // relative to `elsewhere` unless absolute
        bool absolute;
        bool exists;
    };
    const Case cases[] = {
        {"a relative link", "vantrel.ini", "../elsewhere/settings.ini", false, true},
        {"an absolute link", "vantrel.ini", "settings.ini", true, true},
        {"a link to a file not there yet", "lg.ini", "../elsewhere/new.ini", false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder root;
        const fs::path home = root.path() / "home", elsewhere = root.path() / "elsewhere";
        fs::create_directories(home);
        fs::create_directories(elsewhere);
        const fs::path target = c.absolute ? elsewhere / c.target : home / c.target;
        if (c.exists) test::writeBytes(target, "old\r\n");
        fs::create_symlink(c.absolute ? target : c.target, home / c.link);

        ASSERT_TRUE(writeFileAtomically(home / c.link, "new\r\n", 0600));

        EXPECT_TRUE(fs::is_symlink(home / c.link));
        EXPECT_EQ(test::readBytes(target), "new\r\n");
        EXPECT_EQ(std::distance(fs::directory_iterator(home), {}), 1);  // the link, no temporary
        EXPECT_EQ(std::distance(fs::directory_iterator(elsewhere), {}), 1);
    }
    // Links that go round in a circle are not written, and nothing that is
    // no regular file is replaced, directly or through a link.
    TempFolder dir;
    fs::create_symlink("b", dir.path() / "a");
    fs::create_symlink("a", dir.path() / "b");
    EXPECT_FALSE(writeFileAtomically(dir.path() / "a", "x", 0600));
    EXPECT_TRUE(fs::is_symlink(dir.path() / "a"));
    ASSERT_EQ(::mkfifo((dir.path() / "fifo").c_str(), 0600), 0);
    fs::create_symlink("fifo", dir.path() / "to-fifo");
    fs::create_directory(dir.path() / "folder");
    for (const char* name : {"fifo", "to-fifo", "folder"}) {
        EXPECT_FALSE(writeFileAtomically(dir.path() / name, "x", 0600)) << name;
    }
    EXPECT_TRUE(fs::is_fifo(dir.path() / "fifo"));
    EXPECT_TRUE(fs::is_symlink(dir.path() / "to-fifo"));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), {}), 5);  // no temporary left
}

TEST(TextLines, LineEndsAndEncodings) {
    TempFolder dir;
    const auto path = dir.path() / "t";
    test::writeBytes(path, "a\r\nb\nc\rd\r\n\r\n\xe9t\xe9\r\nok \xc3\xa9\r\n\xed\xa0\x80");
    TextLineReader reader(path);
    std::vector<std::string> lines;
    while (auto line = reader.readLine()) lines.push_back(*line);
    EXPECT_EQ(lines, (std::vector<std::string>{"a", "b", "c", "d", "", "\xc3\xa9t\xc3\xa9", "ok \xc3\xa9",
                                               "\xc3\xad\xc2\xa0\xe2\x82\xac"}));
    // A CR LF split by the reader's 64 KiB buffer is still one line end.
    for (std::size_t len : {65535U, 65536U, 131071U}) {
        test::writeBytes(path, std::string(len, 'x') + "\r\nnext\r\n");
        TextLineReader split(path);
        EXPECT_EQ(split.readLine()->size(), len);
        EXPECT_EQ(split.readLine(), "next");
        EXPECT_FALSE(split.readLine());
        EXPECT_TRUE(split.atEnd());
    }
    test::writeBytes(path, "\xef\xbb\xbfPC-1\r\n");
    EXPECT_EQ(TextLineReader(path).readLine(), "PC-1");  // byte order mark dropped
    EXPECT_EQ(stripSpaces("  a b  "), "a b");
    EXPECT_EQ(stripSpaces("\ta "), "\ta");  // only spaces are stripped
    EXPECT_EQ(stripSpaces("   "), "");
}

}  // namespace
}  // namespace vantrel
