// The desktop program's change command: set on the Settings dialog's
// "Inventory" page and kept for the next start; a scan that records a change
// runs it once with the change as JSON on its standard input, an identical
// rescan runs nothing, and a failing command is told once and costs neither
// the scan nor its report.

#include <QAction>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>

#include "providers/profile/profile_provider.h"
#include "store/change_command_setting.h"
#include "store/home_store.h"
#include "support/workstation_profiles.h"
#include "desktop_test_support.h"
#include "ui/desktop_app.h"
#include "ui/main_window.h"
#include "ui/qt_ui_services.h"
#include "ui/settings_dialog.h"

namespace vantrel::ui {
namespace {

const std::string kSettings = "admin\r\nsecret\r\n25\r\n0\r\n0\r\n0\r\nNAME\r\n0\r\nroot\\cimv2\r\n";
const std::string kTable = "WS-7\r\n10.213.9.7\r\nWS-7\r\nTrue\r\n\r\n\r\nFalse\r\n";

struct DesktopChangeCommand : ::testing::Test {
    test::TempFolder home;
    test::TempFolder io;
    test::MessageRecordingUi ui;

    void SetUp() override {
        test::writeBytes(home.path() / "vantrel.ini", kSettings);
        test::writeBytes(home.path() / "lg.ini", kTable);
    }
    static SettingsDialog& inventoryPage(DesktopSession& session) {
        session.main().menuAction(MenuCommand::Settings, PopupMenu::Configure)->trigger();
        SettingsDialog& dialog = *session.main().settingsDialog();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        QTest::mouseClick(dialog.tab(SettingsPage::Inventory), Qt::LeftButton);
        return dialog;
    }
    // The files the logging command wrote, one a run, in name order.
    std::vector<std::filesystem::path> runs() {
        std::vector<std::filesystem::path> files;
        for (const auto& entry : std::filesystem::directory_iterator(io.path() / "runs")) files.push_back(entry.path());
        std::sort(files.begin(), files.end());
        return files;
    }
};

TEST_F(DesktopChangeCommand, TheInventoryPageKeepsTheCommandForTheNextStart) {
    const std::string command = "mail -s \"Hardware changed\" admin@example.org";
    DesktopSession session(home.path(), ui);
    ASSERT_TRUE(session.start());
    SettingsDialog& dialog = inventoryPage(session);
    EXPECT_EQ(dialog.changeCommandField()->text(), "");
    auto set = [&](const std::string& typed) {
        // As the user types it: by keys, over what the field held.
        dialog.changeCommandField()->selectAll();
        QTest::keyClick(dialog.changeCommandField(), Qt::Key_Delete);
        QTest::keyClicks(dialog.changeCommandField(), QString::fromStdString(typed));
        ui.messages.clear();
        QTest::mouseClick(dialog.findChild<QPushButton*>("setChangeCommandButton"), Qt::LeftButton);
        return ui.messages.size() == 1 ? ui.messages[0] : std::string("(no single message)");
    };
    EXPECT_EQ(set("  " + command + " ").rfind("From the next scan on, the command runs", 0), 0u);
    EXPECT_EQ(dialog.changeCommandField()->text().toStdString(), command);
    EXPECT_EQ(test::readBytes(home.path() / "change-command.ini"), command + "\r\n");
    if (const char* shots = std::getenv("VANTREL_UI_SHOTS"))
        dialog.grab().save(QString(shots) + "/settings-change-command.png");
    EXPECT_EQ(set(""), "No command runs when a node's hardware changed.");
    EXPECT_EQ(changeCommandSetting(ProgramFolder(home.path())), "");
    set(command);
    session.main().close();

    // The next start shows what was set.
    DesktopSession next(home.path(), ui);
    EXPECT_EQ(next.main().settingsDialog()->changeCommandField()->text().toStdString(), command);
}

// One node scanned again and again while the setting changes: a working
// command runs for each change only, never for an identical rescan; a
// failing one is told once (a new command once more), and every scan and
// the report are still there.
TEST_F(DesktopChangeCommand, EveryChangeRunsTheCommandAndAFailureIsToldOnce) {
    std::filesystem::create_directory(io.path() / "runs");
    const auto changed = test::writeChangedWorkstation(io.path());
    const auto original = test::workstationProfile();
    const std::string logging = "cat > \"$(mktemp '" + (io.path() / "runs").string() + "/change.XXXXXX')\"";
    const struct {
        std::string command;
        std::filesystem::path profile;
        std::size_t runs;  // of the logging command, so far
        std::vector<std::string> told;  // so far
    } steps[] = {
        {logging, original, 0, {}},  // the first scan: nothing to compare with
        {logging, original, 0, {}},
        {logging, changed, 1, {}},
        {logging, changed, 1, {}},
        {logging, original, 2, {}},
        {"", changed, 2, {}},
        {"cat > /dev/null; exit 3", original, 2, {"exited with 3 for WS-7"}},
        {"cat > /dev/null; exit 3", changed, 2, {"exited with 3 for WS-7"}},
        {"/nonexistent/notify-admin", original, 2, {"exited with 3 for WS-7", "exited with 127 for WS-7"}},
        {"/nonexistent/notify-admin", changed, 2, {"exited with 3 for WS-7", "exited with 127 for WS-7"}},
    };
    DesktopSession session(home.path(), ui);
    ASSERT_TRUE(session.start());
    int step = 0;
    std::string firstRun;  // what the command got for the service visit
    for (const auto& s : steps) {
        SCOPED_TRACE("step " + std::to_string(++step) + ": " + s.command);
        saveChangeCommandSetting(ProgramFolder(home.path()), s.command);
        test::scanNodeFromProfile(session, 1, s.profile);
        EXPECT_EQ(runs().size(), s.runs);
        if (s.runs == 1 && firstRun.empty()) firstRun = test::readBytes(runs().at(0));
        ASSERT_EQ(ui.messages.size(), s.told.size());
        for (std::size_t i = 0; i < s.told.size(); ++i) {
            EXPECT_NE(ui.messages[i].find(s.told[i]), std::string::npos) << ui.messages[i];
            EXPECT_NE(ui.messages[i].find("the scan and its report are kept"), std::string::npos) << ui.messages[i];
        }
    }
    session.main().close();
    EXPECT_EQ(openHomeStore(ProgramFolder(home.path()))->listScans("WS-7").size(), std::size(steps));
    EXPECT_NE(test::readBytes(home.path() / "WS-7" / "report").find("Example HD"), std::string::npos);

    auto json = nlohmann::json::parse(firstRun);
    EXPECT_EQ(json["node"], "WS-7");
    ASSERT_EQ(json["changes"].size(), 3u);
    EXPECT_EQ(json["changes"][1]["category"], "Memory");
    EXPECT_EQ(json["changes"][1]["removed"][0]["key"], "serial M-0002");
}

}  // namespace
}  // namespace vantrel::ui
