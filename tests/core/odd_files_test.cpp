// Program files that are no text file of ours (a FIFO, a device, a file far
// too large, UTF-16 or NUL bytes) neither hang nor end the start-up: each is
// unreadable, kept as it is, and named once.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <future>

#include "core/startup.h"
#include "core/text_file.h"
#include "support/fake_ui.h"
#include "support/temp_folder.h"

namespace vantrel {
namespace {

namespace fs = std::filesystem;
using test::FakeUi;
using test::TempFolder;

// Opening a FIFO for writing lets a reader that waits on it go on.
void releaseFifoReaders(const fs::path& folder) {
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (!fs::is_fifo(entry.symlink_status())) continue;
        const int fd = ::open(entry.path().c_str(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0) ::close(fd);
    }
}

// One start and one exit; what the user was told. Waiting more than 10 s on
// a file fails, and so does an exception.
std::vector<FakeUi::Message> startAndExit(const fs::path& folder) {
    auto run = std::async(std::launch::async, [folder] {
        FakeUi ui;
        ProgramState state{ProgramFolder(folder), ui};
        runStartup(state);
        state.domain.settings.defaultUser = "changed";  // something to save
        exitProgram(state);
        return ui.messages;
    });
    bool waited = false;
    while (run.wait_for(std::chrono::seconds(10)) == std::future_status::timeout) {
        waited = true;
        releaseFifoReaders(folder);
    }
    if (waited) ADD_FAILURE() << "the program waits on a file";
    try {
        return run.get();
    } catch (const std::exception& e) {
        ADD_FAILURE() << e.what();
        return {};
    }
}

std::string utf16(std::string_view text, bool bigEndian) {
    std::string out;
    for (char c : text) out += bigEndian ? std::string{'\0', c} : std::string{c, '\0'};
    return out;
}

TEST(OddFiles, AreKeptAndNamedOnceAtStartUp) {
    if (!fs::is_character_file("/dev/zero")) GTEST_SKIP() << "/dev/zero is no device here";
    const std::string table = "PC-A\r\n10.0.0.1\r\nPC-A\r\nTrue\r\nadm\r\npw\r\nScanned\r\n";
    struct Case {
        const char* name;
        const char* file;
        std::function<void(const fs::path&)> make;
    };
    const auto content = [](std::string bytes) {
        return [bytes](const fs::path& p) { test::writeBytes(p, bytes); };
    };
    const auto fifo = [](const fs::path& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0); };
    const auto zeroes = [](const fs::path& p) { fs::create_symlink("/dev/zero", p); };
    const Case cases[] = {
        {"node table as a FIFO", "lg.ini", fifo},
        {"node table linked to /dev/zero", "lg.ini", zeroes},
        {"node table above the size cap", "lg.ini",
         [](const fs::path& p) {
             test::writeBytes(p, "PC-A\r\n");
             fs::resize_file(p, kMaxTextFileBytes + 1);  // sparse: no disk used
         }},
        {"node table in UTF-16 LE", "lg.ini", content("\xFF\xFE" + utf16(table, false))},
        {"node table in UTF-16 BE", "lg.ini", content("\xFE\xFF" + utf16(table, true))},
        {"node table in UTF-16 without a byte order mark", "lg.ini", content(utf16(table, false))},
        {"node table with a NUL byte", "lg.ini", content("PC-A\r\n10.0.0.1\r\nPC-A\r\nTr" + std::string(1, '\0') + "ue\r\n")},
        {"settings as a FIFO", "vantrel.ini", fifo},
        {"settings in UTF-16", "vantrel.ini", content("\xFF\xFE" + utf16("admin\r\nsecret\r\n", false))},
        {"connections linked to /dev/zero", "connections.ini", zeroes},
        {"scan settings as a FIFO", "scans.ini", fifo},
        {"last results linked to /dev/zero", "results.ini",
         [&](const fs::path& p) {
             test::writeBytes(p.parent_path() / "lg.ini", table);  // read with the table only
             zeroes(p);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder dir;
        const fs::path file = dir.path() / c.file;
        c.make(file);
        const fs::file_status before = fs::symlink_status(file);
        const bool small = fs::is_regular_file(before) && fs::file_size(file) < 4096;
        const std::string bytes = small ? test::readBytes(file) : std::string();
        const auto size = fs::is_regular_file(before) ? fs::file_size(file) : 0;

        const auto messages = startAndExit(dir.path());

        const std::string said = messages.empty() ? std::string() : messages[0].text;
        EXPECT_EQ(messages.size(), 1u);
        EXPECT_EQ(said, std::string("The file \"") + c.file + "\" could not be read and will not be changed.");
        EXPECT_EQ(fs::symlink_status(file).type(), before.type());
        if (fs::is_regular_file(before)) {
            EXPECT_EQ(fs::file_size(file), size);
            if (small) {
                EXPECT_EQ(test::readBytes(file), bytes);
            }
        }
        if (fs::is_symlink(before)) {
            EXPECT_EQ(fs::read_symlink(file), "/dev/zero");
        }
        ASSERT_TRUE(fs::is_character_file("/dev/zero")) << "written through the link";
    }
}

}  // namespace
}  // namespace vantrel
