#include "core/network_scan.h"

#include <gtest/gtest.h>

#include <map>

#include "core/network_error_text.h"
#include "support/fake_ui.h"
#include "support/temp_folder.h"

namespace vantrel {
namespace {

using test::FakeUi;
using test::TempFolder;

// A network that lists what the test says and resolves from a table.
class ScriptedNetwork : public NetworkBrowser {
public:
    std::vector<BrowsedComputer> listComputers() override {
        ++listings;
        if (failWith) throw NetworkListError(*failWith, "scripted failure");
        return computers;
    }
    std::vector<std::string> resolveAddresses(const std::vector<BrowsedComputer>& asked) override {
        lastAsked = asked;
        std::vector<std::string> out;
        for (const auto& c : asked) {
            auto it = addresses.find(c.name);
            out.push_back(it != addresses.end() ? it->second : (c.addresses.empty() ? "" : c.addresses.front()));
        }
        return out;
    }

    std::vector<BrowsedComputer> computers;
    std::map<std::string, std::string> addresses;
    std::optional<int> failWith;
    std::vector<BrowsedComputer> lastAsked;
    int listings = 0;
};

struct NetworkScanFixture : ::testing::Test {
    TempFolder dir;
    FakeUi ui;
    ScriptedNetwork network;
    ProgramState state{ProgramFolder(dir.path()), ui};

    void SetUp() override { state.networkBrowser = &network; }

    void list(std::initializer_list<const char*> names) {
        network.computers.clear();
        for (const char* n : names) network.computers.push_back({n, {}});
    }
    std::vector<std::string> nodeNames() const {
        std::vector<std::string> out;
        for (int i = 1; i <= state.domain.nodes.nodeCount(); ++i) out.push_back(state.domain.nodes.node(i).name);
        return out;
    }
    std::vector<std::string> gridColumn(int col) const {
        std::vector<std::string> out;
        const GridControl& grid = state.windows.scanDialog.nodeGrid;
        for (int r = 1; r < grid.rows(); ++r) out.push_back(grid.cell(r, col));
        return out;
    }
    void addKnown(const char* name, const char* address, const char* user) {
        state.domain.nodes.append({name, address, std::string("shown ") + name, NodeEnabled::Jump, user, "pw",
                                   ScanStatus::Scanned});
    }
};

TEST_F(NetworkScanFixture, FirstScanBuildsTheTableInListOrderAndResolvesIt) {
    list({"PC-A", "PC-B", "PC-C"});
    network.addresses = {{"PC-A", "10.0.0.5"}, {"PC-C", "10.0.0.7"}};
    networkScan(state);
    EXPECT_EQ(nodeNames(), (std::vector<std::string>{"PC-A", "PC-B", "PC-C"}));
    for (int i = 1; i <= 3; ++i) {
        const NodeRecord& node = state.domain.nodes.node(i);
        EXPECT_EQ(node.displayName, node.name);
        EXPECT_EQ(node.loginUser, "");
        EXPECT_EQ(node.loginPassword, "");
        EXPECT_EQ(node.enabled.text(), "True");
        EXPECT_EQ(node.scanStatus.text(), "False");
    }
    EXPECT_EQ(state.domain.nodes.node(1).address, "10.0.0.5");
    EXPECT_EQ(state.domain.nodes.node(2).address, "");
    EXPECT_EQ(state.domain.nodes.node(3).address, "10.0.0.7");
    // Under the header row: names under "Name", addresses under "IP".
    EXPECT_EQ(state.windows.scanDialog.nodeGrid.cell(0, 0), "Name");
    EXPECT_EQ(state.windows.scanDialog.nodeGrid.cell(0, 2), "IP");
    EXPECT_EQ(gridColumn(0), (std::vector<std::string>{"PC-A", "PC-B", "PC-C"}));
    EXPECT_EQ(gridColumn(1), (std::vector<std::string>{"PC-A", "PC-B", "PC-C"}));
    EXPECT_EQ(gridColumn(2), (std::vector<std::string>{"10.0.0.5", "", "10.0.0.7"}));
    EXPECT_EQ(state.windows.scanDialog.statusText, "Network node list completed");
    EXPECT_TRUE(state.windows.scanDialog.visible);
    EXPECT_TRUE(state.windows.main.networkTree.visible());
    EXPECT_TRUE(state.domain.networkScanDone);
    EXPECT_TRUE(state.windows.main.rescanEnabled);
    EXPECT_FALSE(state.windows.main.networkScanEnabled);
    EXPECT_TRUE(ui.messages.empty());
}

// A computer that announced SSH (and not our agent) comes in set to SSH; a
// name whose transport was chosen before keeps it, and so do known nodes.
TEST_F(NetworkScanFixture, ComputersThatAnnouncedSshAreOfferedSsh) {
    addKnown("OLD-SSH", "10.0.0.1", "");
    state.domain.connections.set("CHOSEN", NodeConnection{NodeTransport::PlainHttp, {}});
    network.computers = {{"OLD-SSH", {}, true}, {"LINUX", {}, true}, {"WINDOWS", {}, false}, {"CHOSEN", {}, true}};
    rescan(state);
    ASSERT_EQ(nodeNames(), (std::vector<std::string>{"OLD-SSH", "LINUX", "WINDOWS", "CHOSEN"}));
    const std::pair<const char*, NodeTransport> expected[] = {
        {"OLD-SSH", NodeTransport::Https}, {"LINUX", NodeTransport::Ssh},
        {"WINDOWS", NodeTransport::Https}, {"CHOSEN", NodeTransport::PlainHttp}};
    for (const auto& [name, transport] : expected)
        EXPECT_EQ(state.domain.connections.forNode(name).effectiveTransport(), transport) << name;
    EXPECT_FALSE(state.domain.connections.contains("WINDOWS"));
}

TEST_F(NetworkScanFixture, DiscoveredAddressesReachTheResolver) {
    network.computers = {{"PC-A", {"10.0.0.5", "10.0.0.9"}}, {"PC-B", {}}};
    networkScan(state);
    ASSERT_EQ(network.lastAsked.size(), 2u);
    EXPECT_EQ(network.lastAsked[0].addresses, (std::vector<std::string>{"10.0.0.5", "10.0.0.9"}));
    EXPECT_EQ(state.domain.nodes.node(1).address, "10.0.0.5");
}

TEST_F(NetworkScanFixture, NetworkScanOverAKnownTableKeepsEveryRecordAndAddsNewOnesAfter) {
    addKnown("OLD-1", "10.9.0.1", "u1");
    addKnown("OLD-2", "10.9.0.2", "u2");
    addKnown("OLD-3", "10.9.0.3", "u3");
    list({"OLD-2", "PC-A", "PC-B"});
    network.addresses = {{"OLD-1", "10.9.1.1"}, {"PC-A", "10.0.0.5"}};
    const NetworkScanReport report = networkScan(state);
    EXPECT_EQ(nodeNames(), (std::vector<std::string>{"OLD-1", "OLD-2", "OLD-3", "PC-A", "PC-B"}));
    for (int i = 1; i <= 3; ++i) {
        const NodeRecord& node = state.domain.nodes.node(i);
        EXPECT_EQ(node.displayName, "shown " + node.name);
        EXPECT_EQ(node.loginUser, "u" + std::to_string(i));
        EXPECT_EQ(node.loginPassword, "pw");
        EXPECT_EQ(node.enabled, NodeEnabled::Jump);
        EXPECT_EQ(node.scanStatus, ScanStatus::Scanned);
    }
    // A fresh answer replaces the address; no answer keeps the last known one.
    EXPECT_EQ(state.domain.nodes.node(1).address, "10.9.1.1");
    EXPECT_EQ(state.domain.nodes.node(2).address, "10.9.0.2");
    EXPECT_EQ(state.domain.nodes.node(3).address, "10.9.0.3");
    EXPECT_EQ(gridColumn(2), (std::vector<std::string>{"10.9.1.1", "10.9.0.2", "10.9.0.3", "10.0.0.5", ""}));
    EXPECT_TRUE(report.listed);
    EXPECT_EQ(report.added, (std::vector<std::string>{"PC-A", "PC-B"}));
    EXPECT_EQ(report.keptAddress, (std::vector<std::string>{"OLD-2", "OLD-3"}));
    EXPECT_EQ(report.unresolved, (std::vector<std::string>{"PC-B"}));
}

TEST_F(NetworkScanFixture, RescanAppendsUnknownNamesComparedExactly) {
    addKnown("PC-A", "10.0.0.1", "adm");
    addKnown("PC-B", "10.0.0.2", "");
    list({"PC-B", "PC-C", "pc-a"});
    // PC-A is switched off today: its lookup fails.
    network.addresses = {{"PC-B", "10.0.0.2"}, {"PC-C", "10.0.0.3"}, {"pc-a", "10.0.0.4"}};
    rescan(state);
    EXPECT_EQ(nodeNames(), (std::vector<std::string>{"PC-A", "PC-B", "PC-C", "pc-a"}));
    EXPECT_TRUE(state.domain.newNodesFound);
    EXPECT_TRUE(state.domain.rescanMode);
    EXPECT_EQ(state.domain.rescanList, (std::vector<std::string>{"PC-B", "PC-C", "pc-a"}));
    EXPECT_EQ(state.domain.nodes.node(1).loginUser, "adm");
    EXPECT_EQ(state.domain.nodes.node(1).displayName, "shown PC-A");
    EXPECT_EQ(state.domain.nodes.node(1).address, "10.0.0.1");
    EXPECT_EQ(state.domain.nodes.node(1).enabled, NodeEnabled::Jump);
    EXPECT_EQ(state.domain.nodes.node(4).address, "10.0.0.4");
    EXPECT_EQ(state.domain.nodes.node(4).enabled.text(), "True");
    // The tree is rebuilt from the table, one item per node under the root,
    // each with its own label and image.
    const TreeControl& tree = state.windows.main.networkTree;
    EXPECT_EQ(tree.itemCount(), 5);
    EXPECT_EQ(tree.item(tree.at("Node1 1")).text, "shown PC-A(10.0.0.1)");
    EXPECT_EQ(tree.item(tree.at("Node1 1")).image, ImageKey::JumpNode);
    EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "pc-a"));
    EXPECT_EQ(gridColumn(0), (std::vector<std::string>{"PC-A", "PC-B", "PC-C", "pc-a"}));
}

TEST_F(NetworkScanFixture, RescanOfKnownNamesChangesNothing) {
    addKnown("PC-A", "10.0.0.1", "adm");
    list({"PC-A"});
    network.addresses = {{"PC-A", "10.7.7.7"}};
    rescan(state);
    EXPECT_FALSE(state.domain.newNodesFound);
    EXPECT_EQ(state.domain.nodes.nodeCount(), 1);
    EXPECT_EQ(state.domain.nodes.node(1).address, "10.0.0.1");  // not resolved again
    EXPECT_EQ(state.windows.main.networkTree.itemCount(), 0);
}

TEST_F(NetworkScanFixture, ListingFailuresShowTheirNetworkErrorAndChangeNothing) {
    const struct {
        int code;
        const char* text;
    } cases[] = {
        {5, "Access Denied! (please check your network connections)"},
        {1326, " (please check your network connections)"},
        {1722, "Node not accessible! (please check your network connections)"},
        {59, "Please check your network connections"},
    };
    for (const auto& c : cases) {
        FakeUi caseUi;
        ProgramState caseState{ProgramFolder(dir.path()), caseUi};
        caseState.networkBrowser = &network;
        caseState.domain.nodes.append({"PC-A", "10.0.0.1", "PC-A", NodeEnabled::Shown, "", "", ScanStatus::Scanned});
        caseState.windows.scanDialog.statusText = "before";
        network.failWith = c.code;
        rescan(caseState);
        ASSERT_EQ(caseUi.messages.size(), 1u) << c.code;
        EXPECT_EQ(caseUi.messages[0].text, c.text);
        EXPECT_EQ(caseUi.messages[0].title, "Network error");
        EXPECT_EQ(caseUi.messages[0].icon, MsgIcon::Critical);
        EXPECT_EQ(caseUi.beeps, 1);
        EXPECT_EQ(caseState.domain.nodes.nodeCount(), 1);
        EXPECT_EQ(caseState.windows.scanDialog.statusText, "before");
        EXPECT_EQ(networkErrorText(c.code), c.text);
    }
}

TEST_F(NetworkScanFixture, AFailedNetworkScanLeavesTableMenusAndFilesAsTheyWere) {
    addKnown("PC-A", "10.0.0.1", "adm");
    network.addresses = {{"PC-A", ""}};
    for (const bool empty : {false, true}) {
        if (empty) {
            network.failWith.reset();
            list({});
        } else {
            network.failWith = 1722;
        }
        state.windows.main.networkScanEnabled = true;
        state.windows.main.rescanEnabled = false;
        const NetworkScanReport report = networkScan(state);
        EXPECT_FALSE(report.listed);
        EXPECT_TRUE(network.lastAsked.empty()) << "nothing is resolved";
        EXPECT_EQ(state.domain.nodes.node(1).address, "10.0.0.1");
        EXPECT_FALSE(state.domain.networkScanDone);
        EXPECT_TRUE(state.windows.main.networkScanEnabled);
        EXPECT_FALSE(state.windows.main.rescanEnabled);
        EXPECT_NE(state.windows.scanDialog.statusText, "Network node list completed");
    }
    // Neither flag that makes the dialog's OK save the table and ask for a restart.
    EXPECT_FALSE(state.domain.newNodesFound);
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "lg.ini"));
}

TEST_F(NetworkScanFixture, AnEmptyListingIsQuietlyUnsuccessful) {
    addKnown("PC-A", "10.0.0.1", "adm");
    list({});
    NetworkScanReport report;
    EXPECT_FALSE(enumerateNodes(state, report));
    EXPECT_EQ(nodeNames(), (std::vector<std::string>{"PC-A"}));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(state.windows.scanDialog.statusText, "");
}

TEST_F(NetworkScanFixture, WithoutANetworkBrowserTheNodeIsNotAccessible) {
    state.networkBrowser = nullptr;
    networkScan(state);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Node not accessible! (please check your network connections)");
    EXPECT_FALSE(state.domain.networkScanDone);
}

TEST_F(NetworkScanFixture, ACommandDoesNotStartAgainWhileItLetsEventsRun) {
    struct ReenteringUi : FakeUi {
        ProgramState* state = nullptr;
        void doEvents() override {
            FakeUi::doEvents();
            if (state) networkScan(*state);  // the user presses "Scan" again
        }
    } reentering;
    ProgramState reentrant{ProgramFolder(dir.path()), reentering};
    reentrant.networkBrowser = &network;
    reentering.state = &reentrant;
    list({"PC-A"});
    networkScan(reentrant);
    EXPECT_EQ(network.listings, 1);
    EXPECT_EQ(reentrant.domain.nodes.nodeCount(), 1);
}

}  // namespace
}  // namespace vantrel
