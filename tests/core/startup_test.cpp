#include "core/startup.h"

#include <gtest/gtest.h>

#include "core/network_tree.h"
#include "core/node_registry.h"
#include "core/settings_file.h"
#include "support/fake_ui.h"

namespace vantrel {
namespace {

using test::FakeUi;
using test::TempFolder;

const std::string kSettings = "admin\r\nsecret\r\n25\r\n1.5\r\n-2\r\n255\r\nNAME\r\n0\r\n\r\n";
const std::string kLogins =
    "PC-A\r\n10.0.0.1\r\nPC-A\r\nTrue\r\n\r\n\r\nFalse\r\n"
    "PC-B\r\n10.0.0.2\r\nBoss\r\nTrue\r\nadm\r\npw\r\nScanned\r\n";

struct StartupFixture : ::testing::Test {
    TempFolder dir;
    FakeUi ui;
    ProgramState state{ProgramFolder(dir.path()), ui};

    void prepare(const std::string& settings, const std::string& logins) {
        test::writeBytes(dir.path() / "vantrel.ini", settings);
        test::writeBytes(dir.path() / "lg.ini", logins);
        state.lookupLocalAddress = [] { return std::string("10.0.0.1"); };
    }
};

TEST_F(StartupFixture, LoadsSettingsAndNodesThenWritesThemBackAtExit) {
    prepare(kSettings, kLogins);
    Form_Load(state);
    EXPECT_FLOAT_EQ(state.CameraZ, -10);  // whatever the file held
    EXPECT_FLOAT_EQ(state.CameraY, 1.5);
    EXPECT_EQ(state.WmiNamespace, "root\\cimv2");  // empty line 9
    EXPECT_EQ(state.nodes.nodeCount(), 2);
    EXPECT_EQ(state.nodes.localNode, 1);
    EXPECT_EQ(state.TreeView1.itemCount(), 3);
    EXPECT_TRUE(state.TreeView1.visible());
    EXPECT_FALSE(state.mnunwscanEnabled);
    EXPECT_TRUE(state.mnuRescanEnabled);
    EXPECT_TRUE(state.mainVisible);
    EXPECT_FALSE(state.splash.visible);
    EXPECT_FALSE(state.busyPointer);
    EXPECT_EQ(state.splash.marks, (std::array<bool, 4>{true, true, true, true}));
    EXPECT_TRUE(state.showBase && state.showAxes);
    EXPECT_EQ(ui.endCalls, 0);

    state.CameraX = 0.5F;
    exitProgram(state);
    EXPECT_EQ(ui.endCalls, 1);
    EXPECT_EQ(test::readBytes(dir.path() / "lg.ini"), kLogins);
    EXPECT_EQ(test::readBytes(dir.path() / "vantrel.ini"),
              "admin\r\nsecret\r\n-10 \r\n 1.5 \r\n .5 \r\n 255 \r\nNAME\r\n 0 \r\nroot\\cimv2\r\n");
}

TEST_F(StartupFixture, LargeFontsThreshold) {
    for (const auto& [dpi, compact] : std::vector<std::pair<int, bool>>{{96, false}, {105, false}, {106, true}, {120, true}}) {
        FakeUi caseUi;
        caseUi.dpi = dpi;
        ProgramState s{ProgramFolder(dir.path()), caseUi};
        Form_Load(s);
        EXPECT_EQ(s.compactLayout, compact) << dpi;
    }
}

TEST_F(StartupFixture, WithoutLoginsFileTheTreeIsHiddenAndReScanDisabled) {
    Form_Load(state);
    EXPECT_FALSE(state.TreeView1.visible());
    EXPECT_FALSE(state.mnuRescanEnabled);
    EXPECT_TRUE(state.mnunwscanEnabled);
    EXPECT_EQ(state.nodes.nodeCount(), 0);
    exitProgram(state);
    // An empty table is an empty file; the next start shows the root only.
    EXPECT_EQ(test::readBytes(dir.path() / "lg.ini"), "");
    FakeUi ui2;
    ProgramState next{ProgramFolder(dir.path()), ui2};
    Form_Load(next);
    EXPECT_TRUE(next.TreeView1.visible());
    EXPECT_EQ(next.TreeView1.itemCount(), 1);
    EXPECT_FALSE(next.mnunwscanEnabled);
    EXPECT_TRUE(next.mnuRescanEnabled);
}

// Records the order in which the start-up drives the 3D view.
struct RecordingView : ViewLifecycle {
    std::vector<std::string> calls;
    bool deviceOk = true;
    bool createSimpleDevice() override { calls.push_back("createSimpleDevice"); return deviceOk; }
    void findMediaFolder() override { calls.push_back("findMediaFolder"); }
    void initDevice() override { calls.push_back("initDevice"); }
    void applySceneDefaults() override { calls.push_back("applySceneDefaults"); }
    void assembleModel() override { calls.push_back("assembleModel"); }
    void releaseModel() override { calls.push_back("releaseModel"); }
};

TEST_F(StartupFixture, DrivesThePluggedInViewInOrder) {
    RecordingView view;
    state.view = &view;
    Form_Load(state);
    exitProgram(state);
    EXPECT_EQ(view.calls, (std::vector<std::string>{"createSimpleDevice", "findMediaFolder", "initDevice",
                                                    "applySceneDefaults", "assembleModel", "releaseModel"}));
}

TEST_F(StartupFixture, NoDeviceEndsTheProgramWithoutWritingFiles) {
    RecordingView view;
    view.deviceOk = false;
    state.view = &view;
    Form_Load(state);
    ASSERT_EQ(ui.messages.size(), 1U);
    EXPECT_EQ(ui.messages[0].text, "Unable to initialize 3D device!");
    EXPECT_EQ(ui.messages[0].buttons, MsgButtons::Ok);
    EXPECT_EQ(ui.endCalls, 1);
    EXPECT_TRUE(state.ended);
    exitProgram(state);  // a late close request must not write either
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "lg.ini"));
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "vantrel.ini"));
}

TEST_F(StartupFixture, BadFilesAreReadWithoutWritingUntilExit) {
    std::string garbage;
    for (int i = 0; i < 5000; ++i) garbage += static_cast<char>((i * 7919) % 256);
    prepare(garbage, garbage);
    const auto before = test::readBytes(dir.path() / "lg.ini");
    Form_Load(state);
    EXPECT_EQ(test::readBytes(dir.path() / "lg.ini"), before);
    EXPECT_EQ(test::readBytes(dir.path() / "vantrel.ini"), before);
    // Garbage names never become folders at start-up.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2);
}

TEST_F(StartupFixture, LoginCommandsActOnTheCurrentNode) {
    prepare(kSettings, kLogins + "PC-C\r\n10.0.0.3\r\nPC-C\r\nTrue\r\n\r\n\r\nFalse\r\n");
    Form_Load(state);
    state.TreeView1.select(state.TreeView1.at("Node1 3"));
    TreeView1_Click(state);

    mnuaddlogin_Click(state);
    EXPECT_TRUE(state.loginDialog.visible);
    const int loginItem = state.loginDialog.tree.at("Node1 3");
    EXPECT_TRUE(state.loginDialog.tree.item(loginItem).checked);
    EXPECT_EQ(state.loginDialog.tree.selected(), loginItem);
    state.loginDialog.Text1 = "typed";
    frmlgin_Command2_Click(state);  // Cancel stores nothing
    EXPECT_FALSE(state.loginDialog.visible);
    EXPECT_EQ(state.nodes.node(3).loginUser, "");

    mnuaddlogin_Click(state);
    EXPECT_EQ(state.loginDialog.Text1, "");
    state.loginDialog.Text1 = "root";
    state.loginDialog.Text2 = "toor";
    frmlgin_Command1_Click(state);
    EXPECT_EQ(state.nodes.node(3).loginUser, "root");
    EXPECT_EQ(state.TreeView1.item(state.TreeView1.at("Node1 3")).image, "pw");
    EXPECT_EQ(loginForNode(state, 3).user, "root");
    EXPECT_EQ(loginForNode(state, 1).user, "admin");  // default login
    EXPECT_EQ(loginForNode(state, 1).server, "10.0.0.1");

    mnureset_Click(state);  // answered No
    EXPECT_EQ(state.nodes.node(3).loginUser, "root");
    ui.answers = {MsgAnswer::Yes};
    mnureset_Click(state);
    EXPECT_EQ(ui.messages.back().text, "Reset Login and Password?");
    EXPECT_EQ(state.nodes.node(3).loginUser, "");
    EXPECT_EQ(state.nodes.node(3).loginPassword, "");
    EXPECT_EQ(state.TreeView1.item(state.TreeView1.at("Node1 3")).image, "pw");  // until the next build
    EXPECT_EQ(loginForNode(state, 3).user, "admin");

    exitProgram(state);
    const std::string saved = test::readBytes(dir.path() / "lg.ini");
    EXPECT_NE(saved.find("PC-C\r\n10.0.0.3\r\nPC-C\r\nTrue\r\n\r\n\r\nFalse\r\n"), std::string::npos);
}

TEST_F(StartupFixture, LoginCommandsWithoutCurrentNodeChangeNothing) {
    prepare(kSettings, kLogins);
    Form_Load(state);
    mnureset_Click(state);
    EXPECT_TRUE(ui.messages.empty());
    state.loginDialog.Text1 = "x";
    mnuaddlogin_Click(state);
    frmlgin_Command1_Click(state);
    EXPECT_EQ(state.nodes.node(1).loginUser, "");
    EXPECT_EQ(state.nodes.node(2).loginUser, "adm");
}

TEST_F(StartupFixture, FreshNetworkLayoutAfterANetworkScan) {
    prepare(kSettings, kLogins);
    Form_Load(state);
    state.nodes.node(2).enabled = "False";
    ASSERT_TRUE(savelg(state));
    EXPECT_EQ(test::readBytes(dir.path() / "lg.ini"),
              "PC-A\r\n10.0.0.1\r\nPC-A\r\nTrue\r\n\r\n\r\nFalse\r\n"
              "PC-B\r\n10.0.0.2\r\nPC-B\r\nTrue\r\nadm\r\npw\r\nScanned\r\n");
}

}  // namespace
}  // namespace vantrel
