#include "collect/scan_commands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <map>
#include <mutex>
#include <thread>

#include "collect/catalogue.h"
#include "collect/hardware_tree.h"
#include "support/fake_ui.h"
#include "support/slow_provider.h"
#include "support/collect_fixture.h"

namespace vantrel {
namespace {

using namespace std::chrono_literals;
using test::TempFolder;

const std::filesystem::path kProfile = std::filesystem::path(VANTREL_COLLECT_TEST_DATA) / "office_pc.json";

// A node table, the profile computer (login admin/secret) behind every
// address, and a listener that records what the scan shows, in order.
struct ScanFixture : ::testing::Test, ScanListener {
    TempFolder home;
    test::FakeUi ui;
    ProgramState state{ProgramFolder(home.path()), ui};
    HardwareSession session;
    std::unique_ptr<ScanCommands> scans;
    std::vector<std::string> statuses;
    std::vector<int> widths;
    int refusals = 0;

    void SetUp() override {
        state.domain.settings.defaultUser = "admin";
        state.domain.settings.defaultPassword = "secret";
        state.domain.settings.nodeLabelMode = NodeLabelMode::Name;
        state.domain.nodes.localAddress = "10.0.0.99";
        session.provider = test::profileProviderFromFile(kProfile);
        makeScans();
    }
    void makeScans() {
        scans = std::make_unique<ScanCommands>(state, session, std::function<void()>{});
        scans->setListener(this);
    }

    void categoryStarted(int step, int steps) override {
        state.scanPresenter.categoryStarted(step, steps);
        widths.push_back(state.windows.scanDialog.progressWidth);
    }
    void statusChanged(const std::string& text) override {
        state.scanPresenter.statusChanged(text);
        statuses.push_back(text);
    }
    void connectionRefused() override {
        state.scanPresenter.connectionRefused();
        ++refusals;
    }
    void scanFailed() override { state.scanPresenter.scanFailed(); }

    int addNode(const std::string& name, const std::string& address, NodeEnabled enabled = NodeEnabled::Shown,
                const std::string& user = "", const std::string& password = "") {
        NodeRecord node;
        node.name = name;
        node.displayName = name;
        node.address = address;
        node.enabled = enabled;
        node.loginUser = user;
        node.loginPassword = password;
        node.scanStatus = ScanStatus::NotScanned;
        return state.domain.nodes.append(node);
    }
    std::filesystem::path reportOf(const std::string& name) { return home.path() / name / "report"; }
    std::vector<std::string> gridRow(int row) {
        std::vector<std::string> cells;
        for (int c = 0; c < kGridColumns; ++c) cells.push_back(state.windows.scanDialog.nodeGrid.cell(row, c));
        return cells;
    }
    int count(const std::string& prefix) {
        return static_cast<int>(std::count_if(statuses.begin(), statuses.end(),
                                              [&](const std::string& s) { return s.rfind(prefix, 0) == 0; }));
    }
};

TEST_F(ScanFixture, ScanAllGoesOnAfterARefusedNodeAndListsEveryNode) {
    addNode("PC-1", "10.0.0.1");
    addNode("PC-2", "10.0.0.2", NodeEnabled::Shown, "guest", "wrong");  // switched off, as far as we can tell
    addNode("PC-3", "10.0.0.3");
    const int jump = addNode("PC-4", "10.0.0.4", NodeEnabled::Jump);
    state.domain.nodes.node(jump).scanStatus = ScanStatus::Scanned;
    addNode("PC-5", "10.0.0.5", NodeEnabled::Hidden);

    scans->scanAllNodes();
    EXPECT_TRUE(scans->busy());
    EXPECT_TRUE(state.windows.scanDialog.visible);
    scans->waitUntilFinished();

    GridControl& grid = state.windows.scanDialog.nodeGrid;
    ASSERT_EQ(grid.rows(), 6);
    using Row = std::vector<std::string>;
    EXPECT_EQ(gridRow(0), (Row{"Name", "Node", "IP", "Scanned", "Enabled", "Last result"}));
    EXPECT_EQ(gridRow(1), (Row{"PC-1", "PC-1", "10.0.0.1", "Scanned", "True", "Scanned"}));
    EXPECT_EQ(gridRow(2), (Row{"PC-2", "PC-2", "10.0.0.2", "Access denied", "True", "Access denied"}));
    EXPECT_EQ(gridRow(3), (Row{"PC-3", "PC-3", "10.0.0.3", "Scanned", "True", "Scanned"}));
    EXPECT_EQ(gridRow(4), (Row{"PC-4", "PC-4", "10.0.0.4", "Scanned", "Jump", ""}));
    EXPECT_EQ(gridRow(5), (Row{"PC-5", "PC-5", "10.0.0.5", "False", "False", ""}));
    EXPECT_EQ(state.windows.scanDialog.statusText, "Scan Complete");
    EXPECT_TRUE(state.windows.scanDialog.visible);
    EXPECT_TRUE(std::filesystem::exists(reportOf("PC-1")));
    EXPECT_FALSE(std::filesystem::exists(reportOf("PC-2")));
    EXPECT_TRUE(std::filesystem::exists(reportOf("PC-3")));
    EXPECT_FALSE(std::filesystem::exists(reportOf("PC-4")));
    EXPECT_TRUE(state.domain.scanRanFlag);
    EXPECT_EQ(refusals, 1);
    // The node with its own login was contacted with it, and nodes not shown never at all.
    EXPECT_EQ(count("Access denied to guest10.0.0.2"), 1);
    EXPECT_EQ(count("Connecting to WMI 10.0.0.4"), 0);
    EXPECT_EQ(count("Connecting to WMI 10.0.0.5"), 0);
    // The hardware tree and the current node are left alone.
    EXPECT_EQ(state.windows.main.hardwareTree.itemCount(), 0);
    EXPECT_EQ(state.domain.nodes.currentNode, 0);
}

TEST_F(ScanFixture, ParallelScanShowsExactlyWhatOneAtATimeShows) {
    // Later nodes answer faster, so the workers finish out of order.
    for (int i = 1; i <= 12; ++i) addNode("PC-" + std::to_string(i), "10.0.0." + std::to_string(i));
    state.domain.nodes.node(5).loginUser = "nobody";
    auto shown = [&](int parallel) {
        statuses.clear();
        widths.clear();
        state.domain.settings.parallelScans = parallel;
        session.provider = std::make_shared<test::SlowProvider>(test::profileProviderFromFile(kProfile), 3ms);
        scans->scanAllNodes();
        scans->waitUntilFinished();
        std::vector<std::string> rows;
        for (int r = 0; r < state.windows.scanDialog.nodeGrid.rows(); ++r)
            for (const std::string& cell : gridRow(r)) rows.push_back(cell);
        return std::make_tuple(statuses, widths, rows);
    };
    const auto oneAtATime = shown(1);
    const auto eightAtATime = shown(8);
    EXPECT_EQ(std::get<0>(eightAtATime), std::get<0>(oneAtATime));
    EXPECT_EQ(std::get<1>(eightAtATime), std::get<1>(oneAtATime));
    EXPECT_EQ(std::get<2>(eightAtATime), std::get<2>(oneAtATime));
    EXPECT_EQ(std::get<0>(oneAtATime).front(), "Connecting to WMI 10.0.0.1");
    EXPECT_EQ(std::get<0>(oneAtATime).back(), "Scan Complete");
}

TEST_F(ScanFixture, ScanSelectedRunsTheWholeRoadAndShowsTheNode) {
    addNode("PC-1", "10.0.0.1");
    state.domain.nodes.currentNode = addNode("LAB-07", "10.0.0.7", NodeEnabled::Shown, "admin", "secret");
    scans->scanSelectedNode();
    EXPECT_TRUE(state.windows.scanDialog.visible);
    scans->waitUntilFinished();

    ASSERT_GE(statuses.size(), 5U);
    EXPECT_EQ(statuses[0], "Connecting to WMI admin10.0.0.7");
    EXPECT_EQ(statuses[1], "Connected to admin10.0.0.7");
    EXPECT_EQ(statuses[statuses.size() - 3], "Hardware data collected for admin10.0.0.7");
    EXPECT_EQ(statuses[statuses.size() - 2], "Building system for admin10.0.0.7");
    EXPECT_EQ(statuses.back(), "System built for admin10.0.0.7");
    EXPECT_EQ(count("Collecting "), static_cast<int>(kCategoryCount));
    ASSERT_EQ(widths.size(), kCategoryCount);
    EXPECT_EQ(widths.front(), 250);
    EXPECT_EQ(widths.back(), 8460);
    EXPECT_FALSE(state.windows.scanDialog.visible);
    EXPECT_TRUE(state.domain.scanRanFlag);
    EXPECT_EQ(state.domain.nodes.node(2).scanStatus, ScanStatus::Scanned);
    EXPECT_EQ(test::readBytes(reportOf("LAB-07")),
              test::readBytes(std::filesystem::path(VANTREL_COLLECT_TEST_DATA) / "office_pc.report"));
    const TreeControl& tree = state.windows.main.hardwareTree;
    ASSERT_GT(tree.itemCount(), 1);
    EXPECT_EQ(tree.item(tree.at(kHardwareRootKey)).text, "LAB-07");
}

TEST_F(ScanFixture, TheScannedNodeIsShownEvenWhenAnotherWasSelectedMeanwhile) {
    state.domain.nodes.currentNode = addNode("PC-1", "10.0.0.1");
    addNode("PC-2", "10.0.0.2");
    scans->scanSelectedNode();
    state.domain.nodes.currentNode = 2;  // the user clicks another node while PC-1 is collected
    state.windows.main.currentNodeName = "PC-2";
    scans->waitUntilFinished();
    EXPECT_EQ(state.domain.nodes.currentNode, 1);
    EXPECT_EQ(state.windows.main.currentNodeName, "PC-1");
    EXPECT_EQ(state.windows.main.hardwareTree.item(state.windows.main.hardwareTree.at(kHardwareRootKey)).text, "PC-1");
}

TEST_F(ScanFixture, ScanSelectedStopsOnARefusedNodeWithTheDialogOpen) {
    state.domain.settings.defaultPassword = "not the password";
    state.domain.nodes.currentNode = addNode("PC-1", "10.0.0.1");
    state.windows.main.hardwareTree.addRoot("1 node", "old", ImageKey::Computer);
    scans->scanSelectedNode();
    scans->waitUntilFinished();
    EXPECT_EQ(statuses, (std::vector<std::string>{"Connecting to WMI 10.0.0.1", "Access denied to 10.0.0.1"}));
    EXPECT_TRUE(state.windows.scanDialog.visible);
    EXPECT_TRUE(state.domain.accessDeniedFlag);
    EXPECT_FALSE(state.domain.scanRanFlag);
    EXPECT_EQ(state.domain.nodes.node(1).scanStatus, ScanStatus::AccessDenied);
    EXPECT_EQ(state.windows.main.hardwareTree.itemCount(), 0);
}

TEST_F(ScanFixture, ScanSelectedWithoutACurrentNodeDoesNothing) {
    scans->scanSelectedNode();  // empty table
    scans->scanCurrentNode();
    addNode("PC-1", "10.0.0.1");
    scans->scanSelectedNode();  // the root selected
    EXPECT_FALSE(scans->busy());
    EXPECT_FALSE(state.windows.scanDialog.visible);
    EXPECT_TRUE(statuses.empty());
}

TEST_F(ScanFixture, ThisComputersOwnNodeIsCollectedLocallyByEveryCommand) {
    // A login this computer would refuse: the local node never uses one.
    state.domain.settings.defaultPassword = "wrong";
    const int local = addNode("HOME-PC", "10.0.0.99");
    state.domain.nodes.localNode = local;
    state.domain.nodes.currentNode = local;
    scans->scanSelectedNode();
    scans->waitUntilFinished();
    EXPECT_EQ(state.domain.nodes.node(local).scanStatus, ScanStatus::Scanned);
    EXPECT_EQ(state.domain.nodes.node(local).lastResult, "Scanned");
    EXPECT_EQ(state.domain.currentLogin.server, "");
    EXPECT_EQ(count("Connecting to WMI"), 0);
    EXPECT_TRUE(std::filesystem::exists(reportOf("HOME-PC")));
    std::filesystem::remove(reportOf("HOME-PC"));
    scans->scanAllNodes();
    scans->waitUntilFinished();
    EXPECT_EQ(state.domain.nodes.node(local).scanStatus, ScanStatus::Scanned);
    EXPECT_TRUE(std::filesystem::exists(reportOf("HOME-PC")));
}

TEST_F(ScanFixture, ANodeWithoutAnAddressIsNeitherScannedNorTakenForThisComputer) {
    addNode("PC-1", "10.0.0.1");
    const int ghost = addNode("GHOST", "");
    state.domain.nodes.node(ghost).scanStatus = ScanStatus::Scanned;
    std::filesystem::create_directory(home.path() / "GHOST");
    test::writeBytes(reportOf("GHOST"), "its own old report");
    addNode("PC-3", "10.0.0.3");
    const std::string why = "No address for GHOST: run Re-Scan or check the name";

    scans->scanAllNodes();
    scans->waitUntilFinished();
    EXPECT_EQ(count(why), 1);
    EXPECT_EQ(count("Connecting to WMI GHOST"), 0);
    EXPECT_EQ(test::readBytes(reportOf("GHOST")), "its own old report");
    EXPECT_EQ(state.domain.nodes.node(ghost).scanStatus, ScanStatus::Scanned);
    EXPECT_EQ(state.domain.nodes.node(ghost).lastResult, why);
    EXPECT_EQ(gridRow(2), (std::vector<std::string>{"GHOST", "GHOST", "", "Scanned", "True", why}));
    EXPECT_EQ(gridRow(3)[kGridResultColumn], "Scanned");  // the scan went on with the next node
    ASSERT_EQ(scans->outcomes().size(), 3u);
    EXPECT_EQ(scans->outcomes()[1].end, NodeScanEnd::NoAddress);

    // "Scan selected PC" says the same and leaves the node shown before on screen.
    state.windows.main.hardwareTree.addRoot("1 node", "shown before", ImageKey::Computer);
    state.domain.nodes.currentNode = ghost;
    scans->scanSelectedNode();
    scans->waitUntilFinished();
    EXPECT_EQ(state.windows.scanDialog.statusText, why);
    EXPECT_EQ(state.windows.main.hardwareTree.itemCount(), 1);
    EXPECT_EQ(test::readBytes(reportOf("GHOST")), "its own old report");
}

// The profile computer everywhere but at one address, where nobody answers.
class UnreachableAt : public wbem::Provider {
public:
    UnreachableAt(std::shared_ptr<wbem::Provider> inner, std::string server) : inner_(std::move(inner)), server_(server) {}
    std::unique_ptr<wbem::Services> connect(const wbem::ConnectRequest& request) override {
        if (request.server == server_)
            throw wbem::WbemError(wbem::ErrorCode::ConnectionFailed,
                                  "Cannot connect to https://" + server_ + ":5986/wsman: Connection refused");
        return inner_->connect(request);
    }

private:
    std::shared_ptr<wbem::Provider> inner_;
    std::string server_;
};

TEST_F(ScanFixture, AFailedScanSaysWhyAndLeavesNothingOfTheNodeShownBefore) {
    const std::string cause = "Cannot connect to https://10.0.0.2:5986/wsman: Connection refused";
    session.provider = std::make_shared<UnreachableAt>(session.provider, "10.0.0.2");
    int resets = 0, renders = 0;
    session.resetModel = [&] { ++resets; };
    session.renderView = [&] { ++renders; };
    addNode("PC-1", "10.0.0.1");
    const int off = addNode("PC-2", "10.0.0.2");
    state.windows.main.networkTree.addRoot("1 node", "Network", ImageKey::Network);
    state.windows.main.networkTree.add("1 node", TreeRelationship::Child, "Node1 2", "PC-2", ImageKey::Computer);

    // PC-1 is on show, then PC-2 is scanned and does not answer.
    state.domain.nodes.currentNode = 1;
    scans->scanSelectedNode();
    scans->waitUntilFinished();
    ASSERT_GT(state.windows.main.hardwareTree.itemCount(), 1);
    state.domain.nodes.currentNode = off;
    scans->scanSelectedNode();
    scans->waitUntilFinished();
    EXPECT_EQ(statuses.back(), "Connection to 10.0.0.2 failed: " + cause);
    EXPECT_EQ(state.windows.scanDialog.statusText, "Connection to 10.0.0.2 failed: " + cause);
    EXPECT_TRUE(state.windows.scanDialog.visible);
    EXPECT_EQ(state.windows.main.hardwareTree.itemCount(), 0);
    EXPECT_EQ(state.windows.scanDialog.progressWidth, 0);
    EXPECT_EQ(resets, 2);   // once to show PC-1, once to show nothing of it
    EXPECT_EQ(renders, 2);
    EXPECT_EQ(state.domain.nodes.node(off).scanStatus, ScanStatus::AccessDenied);
    EXPECT_EQ(state.domain.nodes.node(off).lastResult, cause);
    const TreeControl& tree = state.windows.main.networkTree;
    EXPECT_EQ(tree.item(tree.at("Node1 2")).toolTip, "Last result: " + cause);
    ASSERT_EQ(scans->outcomes().size(), 1u);
    EXPECT_EQ(scans->outcomes()[0].end, NodeScanEnd::Refused);
    EXPECT_FALSE(scans->outcomes()[0].refusedLogin);

    // The Scan List names the cause beside the status.
    scans->listNodesInDialog();
    EXPECT_EQ(gridRow(2), (std::vector<std::string>{"PC-2", "PC-2", "10.0.0.2", "Access denied", "True", cause}));
}

TEST_F(ScanFixture, ScanLocalPcWithoutANodeTableShowsThisComputer) {
    scans->scanLocalComputer();
    scans->waitUntilFinished();
    const std::string host = localHostName();
    EXPECT_TRUE(std::filesystem::exists(reportOf(host)));
    EXPECT_EQ(count("Connecting to WMI"), 0);
    EXPECT_EQ(statuses.back(), "System built for 10.0.0.99");
    EXPECT_FALSE(state.windows.scanDialog.visible);
    EXPECT_EQ(state.domain.nodes.nodeCount(), 0);
    // The dialog's grid was never filled: it shows its bare header row.
    EXPECT_EQ(state.windows.scanDialog.nodeGrid.rows(), 1);
    EXPECT_EQ(gridRow(0), (std::vector<std::string>{"Name", "Node", "IP", "Scanned", "Enabled", "Last result"}));
    const TreeControl& tree = state.windows.main.hardwareTree;
    ASSERT_GT(tree.itemCount(), 1);
    EXPECT_EQ(tree.item(tree.at(kHardwareRootKey)).text, host);
}

TEST_F(ScanFixture, ScanLocalPcUsesTheLocalNodeWithEmptyLogin) {
    addNode("PC-1", "10.0.0.1");
    const int local = addNode("HOME-PC", "10.0.0.99", NodeEnabled::Shown, "admin", "wrong");
    state.domain.nodes.localNode = local;
    scans->scanLocalComputer();
    scans->waitUntilFinished();
    EXPECT_EQ(state.domain.currentLogin.server, "");
    EXPECT_EQ(state.domain.currentLogin.user, "");
    EXPECT_EQ(state.domain.nodes.currentNode, local);
    EXPECT_EQ(state.domain.nodes.node(local).scanStatus, ScanStatus::Scanned);
    EXPECT_TRUE(std::filesystem::exists(reportOf("HOME-PC")));
    EXPECT_FALSE(state.domain.scanRanFlag);
}

TEST_F(ScanFixture, ASecondScanIsRefusedWhileOneRuns) {
    for (int i = 1; i <= 3; ++i) addNode("PC-" + std::to_string(i), "10.0.0." + std::to_string(i));
    state.domain.nodes.currentNode = 1;
    session.provider = std::make_shared<test::SlowProvider>(test::profileProviderFromFile(kProfile), 30ms,
                                                            "Select Name From Win32_ComputerSystem");
    state.domain.settings.parallelScans = 1;
    scans->scanAllNodes();
    for (auto command : {&ScanCommands::scanSelectedNode, &ScanCommands::scanLocalComputer,
                         &ScanCommands::scanAllNodes, &ScanCommands::listNodesInDialog}) {
        (scans.get()->*command)();
        EXPECT_EQ(state.windows.scanDialog.statusText, kScanBusyText);
    }
    scans->waitUntilFinished();
    EXPECT_EQ(state.windows.scanDialog.nodeGrid.rows(), 4);
    EXPECT_EQ(state.windows.scanDialog.statusText, "Scan Complete");
    EXPECT_FALSE(std::filesystem::exists(reportOf(localHostName())));
}

TEST_F(ScanFixture, StoppingEndsAtANodeBoundaryAndLeavesWholeReports) {
    for (int i = 1; i <= 10; ++i) addNode("PC-" + std::to_string(i), "10.0.0." + std::to_string(i));
    session.provider = std::make_shared<test::SlowProvider>(test::profileProviderFromFile(kProfile), 40ms,
                                                            "Select Name From Win32_ComputerSystem");
    state.domain.settings.parallelScans = 2;
    scans->scanAllNodes();
    std::this_thread::sleep_for(60ms);
    scans->stopAndWait();
    EXPECT_FALSE(scans->busy());
    EXPECT_NE(state.windows.scanDialog.statusText, "Scan Complete");
    const std::string whole = test::readBytes(std::filesystem::path(VANTREL_COLLECT_TEST_DATA) / "office_pc.report");
    int scanned = 0;
    for (int i = 1; i <= 10; ++i) {
        const std::string name = "PC-" + std::to_string(i);
        const bool done = state.domain.nodes.node(i).scanStatus == ScanStatus::Scanned;
        scanned += done;
        EXPECT_EQ(std::filesystem::exists(reportOf(name)), done) << name;
        if (done) {
            EXPECT_EQ(test::readBytes(reportOf(name)), whole) << name;
        }
        // Nothing half-written is left beside the reports.
        if (std::filesystem::exists(home.path() / name)) {
            for (const auto& entry : std::filesystem::directory_iterator(home.path() / name)) {
                EXPECT_EQ(entry.path().filename(), "report");
            }
        }
    }
    EXPECT_GE(scanned, 1);
    EXPECT_LT(scanned, 10);
    // Scanned nodes are a prefix: nodes start in order.
    for (int i = 2; i <= 10; ++i)
        if (state.domain.nodes.node(i).scanStatus == ScanStatus::Scanned) {
            EXPECT_EQ(state.domain.nodes.node(i - 1).scanStatus, ScanStatus::Scanned);
        }
}

TEST_F(ScanFixture, AFailedCollectionKeepsTheOldReportAndScanAllGoesOn) {
    addNode("PC-1", "10.0.0.1");
    addNode("PC-2", "10.0.0.2");
    std::filesystem::create_directories(home.path() / "PC-1");
    test::writeBytes(reportOf("PC-1"), "old report\r\n");
    // Connection 1 is PC-1's test, 2.. its collectors: PC-1 stops answering at the fifth.
    session.provider = std::make_shared<test::FailingProvider>(test::profileProviderFromFile(kProfile), 6,
                                                               test::FailingProvider::Step::Connect);
    state.domain.settings.parallelScans = 1;
    scans->scanAllNodes();
    scans->waitUntilFinished();
    EXPECT_EQ(test::readBytes(reportOf("PC-1")), "old report\r\n");
    EXPECT_EQ(count("Hardware data collection failed for 10.0.0.1"), 1);
    EXPECT_EQ(gridRow(1)[3], "False");
    EXPECT_EQ(gridRow(2)[3], "Scanned");
}

TEST_F(ScanFixture, ScanListShowsTheNodesOnlyWithNodes) {
    scans->listNodesInDialog();
    EXPECT_FALSE(state.windows.scanDialog.visible);
    addNode("PC-1", "10.0.0.1");
    scans->listNodesInDialog();
    EXPECT_TRUE(state.windows.scanDialog.visible);
    EXPECT_EQ(state.windows.scanDialog.nodeGrid.cell(1, 0), "PC-1");
}

struct DialogOkCase {
    const char* name;
    bool accessDenied, scanRan, networkScanDone;
    bool visibleAfter, scanRanAfter, restarts;
};

TEST_F(ScanFixture, DialogOkFollowsTheFlags) {
    const DialogOkCase cases[] = {
        {"denied", true, true, true, false, true, false},
        {"scan ran", false, true, true, false, false, false},
        {"network changed", false, false, true, true, false, true},
        {"nothing", false, false, false, false, false, false},
    };
    addNode("PC-1", "10.0.0.1");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ui.endCalls = 0;
        ui.messages.clear();
        state.windows.scanDialog.visible = true;
        state.domain.accessDeniedFlag = c.accessDenied;
        state.domain.scanRanFlag = c.scanRan;
        state.domain.networkScanDone = c.networkScanDone;
        scanDialogCloseRequest(state);  // the close request acts as OK
        EXPECT_EQ(state.domain.scanRanFlag, c.scanRanAfter);
        EXPECT_EQ(ui.endCalls, c.restarts ? 1 : 0);
        if (c.restarts) {
            ASSERT_EQ(ui.messages.size(), 1U);
            EXPECT_EQ(ui.messages[0].text, "Restart program to make network changes... ");
            EXPECT_EQ(ui.messages[0].icon, MsgIcon::Question);
            EXPECT_EQ(test::readBytes(home.path() / "lg.ini"), "PC-1\r\n10.0.0.1\r\nPC-1\r\nTrue\r\n\r\n\r\nFalse\r\n");
        } else {
            EXPECT_FALSE(state.windows.scanDialog.visible);
        }
    }
    state.windows.scanDialog.visible = true;
    scanDialogCancel(state);
    EXPECT_FALSE(state.windows.scanDialog.visible);
}

TEST_F(ScanFixture, EveryNodeContactedIsFirstGivenItsConnectionSettings) {
    std::vector<std::pair<std::string, NodeConnection>> prepared;
    session.prepareConnection = [&](const std::string& server, const NodeConnection& connection) {
        prepared.emplace_back(server, connection);
    };
    const NodeConnection plain{NodeTransport::PlainHttp, ""};
    const NodeConnection trusted{NodeTransport::Https, "/certs/pc-3.pem"};
    addNode("PC-1", "10.0.0.1");
    addNode("PC-2", "10.0.0.2");
    const int pc3 = addNode("PC-3", "10.0.0.3:5986");
    addNode("PC-4", "10.0.0.4", NodeEnabled::Hidden);
    addNode("SELF", "10.0.0.99");  // this computer: no connection to prepare
    state.domain.connections.set("PC-1", plain);
    state.domain.connections.set("PC-3", trusted);
    state.domain.connections.set("PC-4", plain);
    state.domain.connections.set("SELF", plain);

    scans->scanAllNodes();
    scans->waitUntilFinished();
    using Prepared = std::vector<std::pair<std::string, NodeConnection>>;
    EXPECT_EQ(prepared, (Prepared{{"10.0.0.1", plain}, {"10.0.0.2", NodeConnection{}}, {"10.0.0.3:5986", trusted}}));

    // A change in the Login dialog reaches the next scan of the node.
    prepared.clear();
    state.domain.connections.set("PC-3", plain);
    state.domain.nodes.currentNode = pc3;
    scans->scanSelectedNode();
    scans->waitUntilFinished();
    EXPECT_EQ(prepared, (Prepared{{"10.0.0.3:5986", plain}}));

    prepared.clear();
    scans->scanLocalComputer();
    scans->waitUntilFinished();
    EXPECT_TRUE(prepared.empty());
}

}  // namespace
}  // namespace vantrel
