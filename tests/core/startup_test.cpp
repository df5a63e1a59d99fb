#include "core/startup.h"

#include <gtest/gtest.h>

#include "core/network_tree.h"
#include "core/node_registry.h"
#include "core/settings_file.h"
#include "core/start_camera.h"
#include "support/fake_ui.h"
#include "support/temp_folder.h"

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
    runStartup(state);
    // The camera starts in front of the model, whatever the file held.
    EXPECT_FLOAT_EQ(state.domain.settings.cameraX, kStartCamera.x);
    EXPECT_FLOAT_EQ(state.domain.settings.cameraY, kStartCamera.y);
    EXPECT_FLOAT_EQ(state.domain.settings.cameraZ, kStartCamera.z);
    EXPECT_EQ(state.domain.settings.wmiNamespace, "root\\cimv2");  // empty line 9
    EXPECT_EQ(state.domain.nodes.nodeCount(), 2);
    EXPECT_EQ(state.domain.nodes.localNode, 1);
    EXPECT_EQ(state.windows.main.networkTree.itemCount(), 3);
    EXPECT_TRUE(state.windows.main.networkTree.visible());
    EXPECT_FALSE(state.windows.main.networkScanEnabled);
    EXPECT_TRUE(state.windows.main.rescanEnabled);
    EXPECT_TRUE(state.windows.main.visible);
    EXPECT_FALSE(state.windows.splash.visible);
    EXPECT_FALSE(state.windows.main.busyPointer);
    EXPECT_EQ(state.windows.splash.marks, (std::array<bool, 4>{true, true, true, true}));
    EXPECT_TRUE(state.domain.showBase && state.domain.showAxes);
    EXPECT_EQ(ui.endCalls, 0);

    state.domain.settings.cameraX = 0.5F;
    exitProgram(state);
    EXPECT_EQ(ui.endCalls, 1);
    EXPECT_EQ(test::readBytes(dir.path() / "lg.ini"), kLogins);
    EXPECT_EQ(test::readBytes(dir.path() / "vantrel.ini"),
              "admin\r\nsecret\r\n-19 \r\n 10 \r\n .5 \r\n 255 \r\nNAME\r\n 0 \r\nroot\\cimv2\r\n");
}

TEST_F(StartupFixture, LargeFontsThreshold) {
    for (const auto& [dpi, compact] : std::vector<std::pair<int, bool>>{{96, false}, {105, false}, {106, true}, {120, true}}) {
        FakeUi caseUi;
        caseUi.dpi = dpi;
        ProgramState s{ProgramFolder(dir.path()), caseUi};
        runStartup(s);
        EXPECT_EQ(s.windows.main.compactLayout, compact) << dpi;
    }
}

TEST_F(StartupFixture, WithoutLoginsFileTheTreeIsHiddenAndReScanDisabled) {
    runStartup(state);
    EXPECT_FALSE(state.windows.main.networkTree.visible());
    EXPECT_FALSE(state.windows.main.rescanEnabled);
    EXPECT_TRUE(state.windows.main.networkScanEnabled);
    EXPECT_EQ(state.domain.nodes.nodeCount(), 0);
    exitProgram(state);
    // An empty table is an empty file; the next start shows the root only.
    EXPECT_EQ(test::readBytes(dir.path() / "lg.ini"), "");
    FakeUi ui2;
    ProgramState next{ProgramFolder(dir.path()), ui2};
    runStartup(next);
    EXPECT_TRUE(next.windows.main.networkTree.visible());
    EXPECT_EQ(next.windows.main.networkTree.itemCount(), 1);
    EXPECT_FALSE(next.windows.main.networkScanEnabled);
    EXPECT_TRUE(next.windows.main.rescanEnabled);
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
    runStartup(state);
    exitProgram(state);
    EXPECT_EQ(view.calls, (std::vector<std::string>{"createSimpleDevice", "findMediaFolder", "initDevice",
                                                    "applySceneDefaults", "assembleModel", "releaseModel"}));
}

TEST_F(StartupFixture, NoDeviceEndsTheProgramWithoutWritingFiles) {
    RecordingView view;
    view.deviceOk = false;
    state.view = &view;
    runStartup(state);
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
    runStartup(state);
    EXPECT_EQ(test::readBytes(dir.path() / "lg.ini"), before);
    EXPECT_EQ(test::readBytes(dir.path() / "vantrel.ini"), before);
    // Garbage names never become folders at start-up.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2);
}

TEST_F(StartupFixture, LoginCommandsActOnTheCurrentNode) {
    prepare(kSettings, kLogins + "PC-C\r\n10.0.0.3\r\nPC-C\r\nTrue\r\n\r\n\r\nFalse\r\n");
    runStartup(state);
    state.windows.main.networkTree.select(state.windows.main.networkTree.at("Node1 3"));
    networkTreeClicked(state);

    setCurrentNodeLogin(state);
    EXPECT_TRUE(state.windows.loginDialog.visible);
    const int loginItem = state.windows.loginDialog.nodeTree.at("Node1 3");
    EXPECT_TRUE(state.windows.loginDialog.nodeTree.item(loginItem).checked);
    EXPECT_EQ(state.windows.loginDialog.nodeTree.selected(), loginItem);
    state.windows.loginDialog.userField = "typed";
    loginDialogCancel(state);  // Cancel stores nothing
    EXPECT_FALSE(state.windows.loginDialog.visible);
    EXPECT_EQ(state.domain.nodes.node(3).loginUser, "");

    setCurrentNodeLogin(state);
    EXPECT_EQ(state.windows.loginDialog.userField, "");
    state.windows.loginDialog.userField = "root";
    state.windows.loginDialog.passwordField = "toor";
    loginDialogOk(state);
    EXPECT_EQ(state.domain.nodes.node(3).loginUser, "root");
    EXPECT_EQ(state.windows.main.networkTree.item(state.windows.main.networkTree.at("Node1 3")).image,
              ImageKey::ComputerWithLogin);
    EXPECT_EQ(loginForNode(state, 3).user, "root");
    EXPECT_EQ(loginForNode(state, 1).user, "admin");  // default login
    EXPECT_EQ(loginForNode(state, 1).server, "10.0.0.1");

    resetCurrentNodeLogin(state);  // answered No
    EXPECT_EQ(state.domain.nodes.node(3).loginUser, "root");
    ui.answers = {MsgAnswer::Yes};
    resetCurrentNodeLogin(state);
    EXPECT_EQ(ui.messages.back().text, "Reset Login and Password?");
    EXPECT_EQ(state.domain.nodes.node(3).loginUser, "");
    EXPECT_EQ(state.domain.nodes.node(3).loginPassword, "");
    EXPECT_EQ(state.windows.main.networkTree.item(state.windows.main.networkTree.at("Node1 3")).image,
              ImageKey::ComputerWithLogin);  // until the next build
    EXPECT_EQ(loginForNode(state, 3).user, "admin");

    exitProgram(state);
    const std::string saved = test::readBytes(dir.path() / "lg.ini");
    EXPECT_NE(saved.find("PC-C\r\n10.0.0.3\r\nPC-C\r\nTrue\r\n\r\n\r\nFalse\r\n"), std::string::npos);
}

TEST_F(StartupFixture, LoginCommandsWithoutCurrentNodeChangeNothing) {
    prepare(kSettings, kLogins);
    runStartup(state);
    resetCurrentNodeLogin(state);
    EXPECT_TRUE(ui.messages.empty());
    state.windows.loginDialog.userField = "x";
    setCurrentNodeLogin(state);
    loginDialogOk(state);
    EXPECT_EQ(state.domain.nodes.node(1).loginUser, "");
    EXPECT_EQ(state.domain.nodes.node(2).loginUser, "adm");
}

TEST_F(StartupFixture, TableWrittenBeforeARestartKeepsMarksNamesAndResults) {
    prepare(kSettings, kLogins);
    runStartup(state);
    state.domain.nodes.node(2).enabled = NodeEnabled::Hidden;
    state.domain.nodes.node(2).displayName = "Server room";
    state.domain.nodes.node(1).lastResult = "No answer from https://10.0.0.1:5986/wsman in time";
    ASSERT_TRUE(saveNodeTable(state));
    EXPECT_EQ(test::readBytes(dir.path() / "lg.ini"),
              "PC-A\r\n10.0.0.1\r\nPC-A\r\nTrue\r\n\r\n\r\nFalse\r\n"
              "PC-B\r\n10.0.0.2\r\nServer room\r\nFalse\r\nadm\r\npw\r\nScanned\r\n");
    EXPECT_EQ(test::readBytes(dir.path() / "results.ini"),
              "PC-A\r\nNo answer from https://10.0.0.1:5986/wsman in time\r\n");

    // The next start gives the result back, and the node's item says it.
    FakeUi nextUi;
    ProgramState next{ProgramFolder(dir.path()), nextUi};
    runStartup(next);
    EXPECT_EQ(next.domain.nodes.node(1).lastResult, "No answer from https://10.0.0.1:5986/wsman in time");
    EXPECT_EQ(next.domain.nodes.node(2).lastResult, "");
    const TreeControl& tree = next.windows.main.networkTree;
    EXPECT_EQ(tree.item(tree.at(nodeItemKey(1))).toolTip,
              "Last result: No answer from https://10.0.0.1:5986/wsman in time");
}

}  // namespace
}  // namespace vantrel
