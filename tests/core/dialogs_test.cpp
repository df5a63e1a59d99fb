// The Settings, Logins, Administrator Password, Statistics and About dialogs'
// commands, on the core's state.

#include <gtest/gtest.h>

#include <filesystem>

#include "core/admin_dialogs.h"
#include "core/host_key_dialog.h"
#include "core/logins_dialog.h"
#include "core/settings_dialog.h"
#include "core/scan_settings_file.h"
#include "core/settings_file.h"
#include "core/startup.h"
#include "support/fake_ui.h"
#include "support/temp_folder.h"

namespace vantrel {
namespace {

using test::TempFolder;

struct DialogFixture : ::testing::Test {
    TempFolder home;
    test::FakeUi ui;
    ProgramState state{ProgramFolder(home.path()), ui};

    int addNode(const std::string& name, const std::string& user = "", const std::string& password = "",
                ScanStatus status = ScanStatus::NotScanned, NodeEnabled enabled = NodeEnabled::Shown) {
        NodeRecord node;
        node.name = name;
        node.displayName = name + " desk";
        node.address = "10.0.0." + std::to_string(state.domain.nodes.nodeCount() + 1);
        node.enabled = enabled;
        node.loginUser = user;
        node.loginPassword = password;
        node.scanStatus = status;
        return state.domain.nodes.append(node);
    }
    const SettingsDialogState& settings() const { return state.windows.settingsDialog; }
    std::string boxes() const {
        return std::string(settings().ipLabelChecked ? "1" : "0") + (settings().nameLabelChecked ? "1" : "0") +
               (settings().ipNameLabelChecked ? "1" : "0");
    }
};

TEST_F(DialogFixture, LabelModeBoxesTickOneAndSetItsMode) {
    struct Step {
        LabelModeBox box;
        bool ticked;
        NodeLabelMode mode;
        const char* boxes;
    };
    const Step steps[] = {
        {LabelModeBox::Ip, true, NodeLabelMode::Ip, "100"},
        {LabelModeBox::Name, true, NodeLabelMode::Name, "010"},   // unticks "IP"
        {LabelModeBox::Name, false, NodeLabelMode::Name, "000"},  // the mode stays, no box ticked
        {LabelModeBox::IpName, true, NodeLabelMode::IpName, "001"},
    };
    for (const Step& s : steps) {
        labelModeBoxClicked(state, s.box, s.ticked);
        EXPECT_EQ(state.domain.settings.nodeLabelMode, s.mode);
        EXPECT_EQ(boxes(), s.boxes);
    }
    // The tree is not rebuilt by the dialog.
    EXPECT_EQ(state.windows.main.networkTree.itemCount(), 0);
}

TEST_F(DialogFixture, ClearDeletesOnlyTheReportsThatExist) {
    addNode("PC-1");
    addNode("PC-2");
    addNode("../escape");
    std::filesystem::create_directories(home.path() / "PC-2");
    test::writeBytes(home.path() / "PC-2" / "report", "x");
    test::writeBytes(home.path() / "PC-2" / "keep", "y");
    clearDataCache(state);
    EXPECT_FALSE(std::filesystem::exists(home.path() / "PC-2" / "report"));
    EXPECT_TRUE(std::filesystem::exists(home.path() / "PC-2" / "keep"));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(DialogFixture, ShowMakesEveryNodeShownAndExitWritesIt) {
    addNode("PC-1", "", "", ScanStatus::NotScanned, NodeEnabled::Hidden);
    addNode("PC-2", "", "", ScanStatus::NotScanned, NodeEnabled::Jump);
    showAllNodes(state);
    exitProgram(state);
    const std::string logins = test::readBytes(home.path() / "lg.ini");
    EXPECT_EQ(logins, "PC-1\r\n10.0.0.1\r\nPC-1 desk\r\nTrue\r\n\r\n\r\nFalse\r\n"
                      "PC-2\r\n10.0.0.2\r\nPC-2 desk\r\nTrue\r\n\r\n\r\nFalse\r\n");
}

TEST_F(DialogFixture, SetTakesTheTypedNamespaceAndCancelRestoresTheDefault) {
    state.windows.settingsDialog.namespaceField = "root\\default";
    setWmiLocation(state);
    EXPECT_EQ(state.domain.settings.wmiNamespace, "root\\default");
    cancelWmiLocation(state);
    EXPECT_EQ(state.domain.settings.wmiNamespace, "root\\cimv2");
    EXPECT_EQ(state.windows.settingsDialog.namespaceField, "root\\default");
    state.windows.settingsDialog.namespaceField.clear();
    setWmiLocation(state);
    EXPECT_EQ(state.domain.settings.wmiNamespace, "");
}

TEST_F(DialogFixture, ResetAsksNamingTheFilesAndChangesNothingWhenRefused) {
    addNode("PC-1");
    test::writeBytes(home.path() / "lg.ini", "old");
    test::writeBytes(home.path() / "connections.ini", "old");
    ui.answers.push_back(MsgAnswer::No);
    resetNetwork(state);
    ASSERT_EQ(ui.messages.size(), 1U);
    EXPECT_EQ(ui.messages[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(ui.messages[0].icon, MsgIcon::Question);
    for (const char* file : {"lg.ini", "connections.ini"}) {
        EXPECT_NE(ui.messages[0].text.find((home.path() / file).string()), std::string::npos) << file;
        EXPECT_TRUE(std::filesystem::exists(home.path() / file)) << file;
    }
    EXPECT_EQ(state.domain.nodes.nodeCount(), 1);
    EXPECT_EQ(ui.endCalls, 0);
    EXPECT_FALSE(state.ended);
}

TEST_F(DialogFixture, ResetForgetsTheNetworkAndEndsWithoutSavingOnceConfirmed) {
    addNode("PC-1");
    test::writeBytes(home.path() / "lg.ini", "old");
    test::writeBytes(home.path() / "connections.ini", "old");
    test::writeBytes(home.path() / "vantrel.ini", "settings before\r\n");
    state.domain.settings.defaultUser = "changed";
    ui.answers.push_back(MsgAnswer::Yes);
    resetNetwork(state);
    EXPECT_EQ(state.domain.nodes.nodeCount(), 0);
    EXPECT_FALSE(std::filesystem::exists(home.path() / "lg.ini"));
    EXPECT_FALSE(std::filesystem::exists(home.path() / "connections.ini"));
    ASSERT_EQ(ui.messages.size(), 2U);
    EXPECT_EQ(ui.messages[0].text, resetNetworkQuestion(state.folder));
    EXPECT_EQ(ui.messages[1].text, "Restart program to make network changes... ");
    EXPECT_EQ(ui.messages[1].icon, MsgIcon::Exclamation);
    EXPECT_EQ(ui.endCalls, 1);
    EXPECT_EQ(test::readBytes(home.path() / "vantrel.ini"), "settings before\r\n");
}

TEST_F(DialogFixture, ParallelScansStayWithinOneToSixtyFour) {
    EXPECT_EQ(state.domain.settings.parallelScans, 8);
    for (auto [typed, kept] : {std::pair{0, 1}, {1, 1}, {12, 12}, {64, 64}, {65, 64}, {-3, 1}}) {
        setParallelScans(state, typed);
        EXPECT_EQ(state.domain.settings.parallelScans, kept) << typed;
    }
}

TEST_F(DialogFixture, TheScanSettingIsKeptInItsOwnFileWhenItIsNotTheDefault) {
    const auto file = home.path() / "scans.ini";
    exitProgram(state);
    EXPECT_FALSE(std::filesystem::exists(file));  // the default needs no file
    state.ended = false;
    setParallelScans(state, 16);
    exitProgram(state);
    EXPECT_EQ(test::readBytes(file), "16\r\n");

    for (auto [text, kept] : {std::pair{"12\r\n", 12}, {" 3 \r\n", 3}, {"65\r\n", 8}, {"x\r\n", 8}, {"", 8}}) {
        test::writeBytes(file, text);
        state.domain.settings.parallelScans = 8;
        loadScanSettings(state);
        EXPECT_EQ(state.domain.settings.parallelScans, kept) << text;
    }
}

TEST_F(DialogFixture, SettingsPagesAndOkOnlyChangeWhatIsShown) {
    openSettingsDialog(state);
    EXPECT_TRUE(settings().visible);
    selectSettingsPage(state, SettingsPage::Location);
    settingsDialogOk(state);
    EXPECT_FALSE(settings().visible);
    openSettingsDialog(state);
    EXPECT_EQ(settings().page, SettingsPage::Location);  // shown again as it was left
}

TEST(PasswordCell, StarsPerCharacterUnlessShown) {
    EXPECT_EQ(passwordCell("secret", false), "******");
    EXPECT_EQ(passwordCell("", false), "");
    EXPECT_EQ(passwordCell("Pässwörd", false), "********");
    EXPECT_EQ(passwordCell("secret", true), "secret");
}

TEST_F(DialogFixture, LoginsListsEveryNodeAndUpdatesTheChosenOne) {
    addNode("PC-1");
    addNode("PC-2", "adm", "sixsix");
    addNode("PC-3", "old", "pw");
    openLoginsDialog(state);
    const LoginsDialogState& dialog = state.windows.loginsDialog;
    EXPECT_TRUE(dialog.visible);
    const GridControl& grid = dialog.loginGrid;
    ASSERT_EQ(grid.rows(), 4);
    for (int c = 0; c < 5; ++c) EXPECT_EQ(grid.colWidth(c), 1800);
    EXPECT_EQ(grid.cell(0, 3), "Login");
    EXPECT_EQ(grid.cell(0, 4), "Password");
    EXPECT_EQ(grid.cell(2, 1), "PC-2 desk");
    EXPECT_EQ(grid.cell(2, 4), "******");

    loginsGridMouseDown(state, 3);
    EXPECT_EQ(dialog.userField, "old");
    EXPECT_EQ(dialog.passwordField, "pw");
    EXPECT_EQ(dialog.nameField, "PC-3 desk");
    loginsGridMouseDown(state, 0);  // the header: nothing changes
    EXPECT_EQ(dialog.selectedNode, 3);
    EXPECT_EQ(dialog.nameField, "PC-3 desk");

    state.windows.loginsDialog.userField = "new";
    state.windows.loginsDialog.passwordField = "changed";
    loginsDialogUpdate(state);
    EXPECT_EQ(state.domain.nodes.node(3).loginUser, "new");
    EXPECT_EQ(state.domain.nodes.node(2).loginUser, "adm");
    EXPECT_EQ(grid.cell(3, 3), "new");
    EXPECT_EQ(grid.cell(3, 4), "*******");

    // "Show Passwords" shows at the next Update.
    state.domain.settings.showPasswords = true;
    loginsDialogUpdate(state);
    EXPECT_EQ(grid.cell(2, 4), "sixsix");
    loginsDialogOk(state);
    EXPECT_FALSE(dialog.visible);
}

TEST_F(DialogFixture, LoginsCloseButtonUnloadsSoTheNextOpeningListsNewNodes) {
    addNode("PC-1");
    openLoginsDialog(state);
    loginsDialogCancel(state);
    addNode("PC-2");
    openLoginsDialog(state);
    EXPECT_EQ(state.windows.loginsDialog.loginGrid.rows(), 2);  // hidden: the old listing
    loginsDialogClose(state);
    openLoginsDialog(state);
    EXPECT_EQ(state.windows.loginsDialog.loginGrid.rows(), 3);
}

TEST_F(DialogFixture, LoginsAndStatisticsNeedNodes) {
    openLoginsDialog(state);
    openStatisticsDialog(state);
    EXPECT_FALSE(state.windows.loginsDialog.visible);
    EXPECT_FALSE(state.windows.statisticsDialog.visible);
}

TEST_F(DialogFixture, UpdateWithoutAChosenNodeStoresNothing) {
    addNode("PC-1", "keep", "me");
    openLoginsDialog(state);
    state.windows.loginsDialog.userField = "x";
    loginsDialogUpdate(state);
    EXPECT_EQ(state.domain.nodes.node(1).loginUser, "keep");
}

TEST_F(DialogFixture, AdminPasswordOkStoresCancelKeepsCloseEmpties) {
    openAdminDialog(state);
    state.windows.adminDialog.userField = "root";
    state.windows.adminDialog.passwordField = "toor";
    adminDialogCancel(state);
    EXPECT_EQ(state.domain.settings.defaultUser, "");
    openAdminDialog(state);
    EXPECT_EQ(state.windows.adminDialog.userField, "root");  // the typed texts stay
    adminDialogOk(state);
    EXPECT_EQ(state.domain.settings.defaultUser, "root");
    EXPECT_EQ(state.domain.settings.defaultPassword, "toor");
    EXPECT_FALSE(state.windows.adminDialog.visible);
    adminDialogClose(state);
    openAdminDialog(state);
    EXPECT_EQ(state.windows.adminDialog.userField, "");
    adminDialogOk(state);
    EXPECT_EQ(state.domain.settings.defaultUser, "");
}

TEST_F(DialogFixture, StatisticsCountsWhenItLoads) {
    addNode("PC-1", "", "", ScanStatus::Scanned);
    addNode("PC-2", "", "", ScanStatus::AccessDenied);
    addNode("PC-3", "", "", ScanStatus::Scanned);
    addNode("PC-4");
    addNode("PC-5");
    for (int opening = 0; opening < 2; ++opening) {
        openStatisticsDialog(state);
        EXPECT_TRUE(state.windows.statisticsDialog.visible);
        EXPECT_EQ(state.windows.statisticsDialog.nodeCountText, " 5");
        EXPECT_EQ(state.windows.statisticsDialog.scannedCountText, "2");
        statisticsDialogClose(state);
        EXPECT_FALSE(state.windows.statisticsDialog.visible);
    }
    openStatisticsDialog(state);
    state.domain.nodes.node(4).scanStatus = ScanStatus::Scanned;
    openStatisticsDialog(state);  // still loaded: not counted again
    EXPECT_EQ(state.windows.statisticsDialog.scannedCountText, "2");
}

TEST_F(DialogFixture, AboutOpensAndHides) {
    openAboutDialog(state);
    EXPECT_TRUE(state.windows.aboutDialog.visible);
    aboutDialogClose(state);
    EXPECT_FALSE(state.windows.aboutDialog.visible);
}

// Nodes of one scan showing unknown keys are asked about one after the
// other, each server once; only an accepted question comes back.
TEST_F(DialogFixture, HostKeyQuestionsWaitTheirTurnAndEachServerIsAskedOnce) {
    auto question = [](const char* server) { return HostKeyQuestion{server, server, 22, "ssh-ed25519", "SHA256:x"}; };
    askAboutHostKey(state, question("10.0.0.1"));
    askAboutHostKey(state, question("10.0.0.2"));
    askAboutHostKey(state, question("10.0.0.1"));
    askAboutHostKey(state, question("10.0.0.2"));
    askAboutHostKey(state, question("10.0.0.3"));
    const HostKeyDialogState& dialog = state.windows.hostKeyDialog;
    ASSERT_TRUE(dialog.visible);
    EXPECT_EQ(dialog.question.server, "10.0.0.1");
    EXPECT_EQ(dialog.waiting.size(), 2u);

    EXPECT_FALSE(answerHostKeyQuestion(state, false));
    EXPECT_EQ(dialog.question.server, "10.0.0.2");
    const auto accepted = answerHostKeyQuestion(state, true);
    ASSERT_TRUE(accepted);
    EXPECT_EQ(accepted->server, "10.0.0.2");
    EXPECT_EQ(dialog.question.server, "10.0.0.3");
    EXPECT_FALSE(answerHostKeyQuestion(state, false));
    EXPECT_FALSE(dialog.visible);
    EXPECT_FALSE(answerHostKeyQuestion(state, true));  // nothing shown: nothing to accept
    // Asked again after the answer: a new scan met the key again.
    askAboutHostKey(state, question("10.0.0.1"));
    EXPECT_TRUE(dialog.visible);
}

TEST_F(DialogFixture, TheNodeOfAServerIsFoundByAddressOrName) {
    state.domain.nodes.append({"PC-A", "10.0.0.1", "PC-A", NodeEnabled::Shown, "", "", ScanStatus::NotScanned, ""});
    state.domain.nodes.append({"LINUX", "10.0.0.2:2222", "LINUX", NodeEnabled::Shown, "", "", ScanStatus::NotScanned, ""});
    const std::pair<const char*, int> cases[] = {
        {"10.0.0.1", 1}, {"root@10.0.0.1", 1}, {"10.0.0.2:2222", 2}, {"LINUX", 2}, {"10.0.0.2", 0}, {"", 0}};
    for (const auto& [server, node] : cases) EXPECT_EQ(nodeOfServer(state.domain.nodes, server), node) << server;
}

}  // namespace
}  // namespace vantrel
