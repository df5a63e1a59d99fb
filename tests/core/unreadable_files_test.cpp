// A settings or logins file that exists but cannot be read is never written
// over: the start-up says so once and the exit leaves the file as it is.

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "core/node_registry.h"
#include "core/startup.h"
#include "support/fake_ui.h"
#include "support/temp_folder.h"

namespace vantrel {
namespace {

using test::FakeUi;
using test::TempFolder;

const std::string kSettings = "admin\r\nsecret\r\n-10 \r\n 0 \r\n 0 \r\n 255 \r\nNAME\r\n 1 \r\nroot\\cimv2\r\n";
const std::string kLogins = "PC-A\r\n10.0.0.1\r\nPC-A\r\nTrue\r\nadm\r\npw\r\nScanned\r\n";
const std::string kBothUnreadable =
    "The file \"vantrel.ini\" could not be read and will not be changed.\n"
    "The file \"lg.ini\" could not be read and will not be changed.";

// One start and one exit; what the user was told.
std::vector<FakeUi::Message> startAndExit(const std::filesystem::path& folder) {
    FakeUi ui;
    ProgramState state{ProgramFolder(folder), ui};
    runStartup(state);
    state.domain.settings.defaultUser = "changed";  // something to save
    saveNodeTable(state);                            // what the scan dialog writes before a restart
    exitProgram(state);
    return ui.messages;
}

// Runs `body` as the unprivileged user "nobody"; its result is the exit status.
int runAsNobody(const std::function<int()>& body) {
    const pid_t pid = fork();
    if (pid == 0) {
        if (setgid(65534) != 0 || setuid(65534) != 0) _exit(99);
        _exit(body());
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(UnreadableFiles, FilesThatCannotBeReadAreNotWrittenAtExit) {
    TempFolder dir;
    const auto ini = dir.path() / "vantrel.ini";
    const auto lg = dir.path() / "lg.ini";
    test::writeBytes(ini, kSettings);
    test::writeBytes(lg, kLogins);
    if (geteuid() == 0) {
        // Root reads anything: the program runs as another user, in a folder it
        // may write (so nothing but the program itself keeps the files whole).
        ASSERT_EQ(chmod(dir.path().c_str(), 0777), 0);
        ASSERT_EQ(chmod(ini.c_str(), 0600), 0);
        ASSERT_EQ(chmod(lg.c_str(), 0600), 0);
        const int result = runAsNobody([&] {
            const auto messages = startAndExit(dir.path());
            if (messages.size() != 1) return 1;
            if (messages[0].text != kBothUnreadable || messages[0].title != "Message from Vantrel") return 2;
            return 0;
        });
        ASSERT_NE(result, 99) << "cannot become nobody";
        EXPECT_EQ(result, 0);
    } else {
        ASSERT_EQ(chmod(ini.c_str(), 0), 0);
        ASSERT_EQ(chmod(lg.c_str(), 0), 0);
        const auto messages = startAndExit(dir.path());
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].text, kBothUnreadable);
        EXPECT_EQ(messages[0].title, "Message from Vantrel");
        EXPECT_EQ(messages[0].buttons, MsgButtons::Ok);
        chmod(ini.c_str(), 0600);
        chmod(lg.c_str(), 0600);
    }
    EXPECT_EQ(test::readBytes(ini), kSettings);
    EXPECT_EQ(test::readBytes(lg), kLogins);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2);  // no temporary file left
}

TEST(UnreadableFiles, AReadErrorKeepsOnlyThatFileAndMissingFilesAreStillCreated) {
    TempFolder dir;
    // A folder where the settings file should be: it opens, but reading fails.
    std::filesystem::create_directory(dir.path() / "vantrel.ini");
    const auto messages = startAndExit(dir.path());
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "The file \"vantrel.ini\" could not be read and will not be changed.");
    EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "vantrel.ini"));
    EXPECT_EQ(test::readBytes(dir.path() / "lg.ini"), "");  // missing: created as before

    TempFolder empty;
    EXPECT_TRUE(startAndExit(empty.path()).empty());
    EXPECT_EQ(test::readBytes(empty.path() / "lg.ini"), "");
    EXPECT_EQ(test::readBytes(empty.path() / "vantrel.ini").substr(0, 9), "changed\r\n");
}

}  // namespace
}  // namespace vantrel
