// The temporary files a killed write left behind go at the next start-up;
// nothing else does, and no link is followed.

#include <gtest/gtest.h>

#include "core/startup.h"
#include "support/fake_ui.h"
#include "support/temp_folder.h"

namespace vantrel {
namespace {

namespace fs = std::filesystem;

TEST(StaleTempFiles, OnlyOurOwnGoAtStartUp) {
    test::TempFolder dir, outside;
    const fs::path& home = dir.path();
    fs::create_directory(home / "PC-A");
    fs::create_directory(home / ".lg.ini.Dir123");
    test::writeBytes(outside.path() / ".report.Out123", "elsewhere");
    test::writeBytes(outside.path() / "target", "a file a link points to");
    fs::create_directory_symlink(outside.path(), home / "PC-LINKED");
    fs::create_symlink(outside.path() / "target", home / ".lg.ini.Lnk123");

    const std::vector<fs::path> stale{
        ".lg.ini.Ab3xYz",  ".vantrel.ini.123456",  ".connections.ini.aaaaaa",
        ".results.ini.Z9Z9Z9", ".scans.ini.q1W2e3", "PC-A/.report.Q1w2E3",
    };
    const std::vector<fs::path> kept{
        "lg.ini",           ".lg.ini.Ab3xY",     ".lg.ini.Ab3xYz1",       ".lg.ini.Ab-xYz",
        ".other.ini.Ab3xYz", "lg.ini.Ab3xYz",    ".report.Ab3xYz",        "PC-A/report",
        "PC-A/.lg.ini.Ab3xYz", "PC-A/.report.Ab3xY",
    };
    for (const auto& name : stale) test::writeBytes(home / name, "left by a kill");
    for (const auto& name : kept) test::writeBytes(home / name, "ours to keep");

    test::FakeUi ui;
    ProgramState state{ProgramFolder(home), ui};
    runStartup(state);

    for (const auto& name : stale) EXPECT_FALSE(fs::exists(fs::symlink_status(home / name))) << name;
    for (const auto& name : kept) EXPECT_EQ(test::readBytes(home / name), "ours to keep") << name;
    EXPECT_TRUE(fs::is_directory(home / ".lg.ini.Dir123"));
    EXPECT_TRUE(fs::is_symlink(home / ".lg.ini.Lnk123"));
    EXPECT_EQ(test::readBytes(outside.path() / "target"), "a file a link points to");
    EXPECT_EQ(test::readBytes(outside.path() / ".report.Out123"), "elsewhere");
}

}  // namespace
}  // namespace vantrel
