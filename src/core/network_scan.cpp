#include "core/network_scan.h"

#include <chrono>
#include <future>

#include "core/network_error_text.h"
#include "core/network_tree.h"

namespace vantrel {

namespace {

constexpr const char* kListingStatus = "Getting list of nodes on network...";
constexpr const char* kListedStatus = "Network node list completed";

// Runs `work` on another thread and lets window events run until it is
// done: listening to the network and looking names up take seconds, and the
// scan dialog should repaint meanwhile.
template <typename Work>
auto whileEventsRun(ProgramState& state, Work work) {
    auto result = std::async(std::launch::async, std::move(work));
    while (result.wait_for(std::chrono::milliseconds(50)) != std::future_status::ready) state.ui->doEvents();
    return result.get();
}

// Keeps a network command from starting again while it lets events run.
class NetworkCommandGuard {
public:
    explicit NetworkCommandGuard(ProgramState& state) : state_(state), entered_(!state.domain.networkCommandRunning) {
        state_.domain.networkCommandRunning = true;
    }
    ~NetworkCommandGuard() {
        if (entered_) state_.domain.networkCommandRunning = false;
    }
    bool entered() const { return entered_; }

private:
    ProgramState& state_;
    bool entered_;
};

void setStatus(ProgramState& state, const std::string& text) { state.windows.scanDialog.statusText = text; }

void showNetworkError(ProgramState& state, int code) {
    state.ui->beep();
    state.ui->messageBox(networkErrorText(code), kNetworkErrorTitle, MsgIcon::Critical, MsgButtons::Ok);
}

void showFailure(ProgramState& state, const char* text) {
    state.ui->doEvents();
    state.ui->messageBox(text, kMessageTitle, MsgIcon::Exclamation, MsgButtons::Ok);
}

NodeRecord freshNode(const std::string& name) {
    NodeRecord node;
    node.name = name;
    node.displayName = name;
    node.enabled = NodeEnabled::Shown;
    node.scanStatus = ScanStatus::NotScanned;
    return node;
}

// First-scan mode: the list replaces the table from the top, in its order.
void takeAsFirstScan(ProgramState& state, const BrowsedComputer& computer) {
    NodeTable& nodes = state.domain.nodes;
    const int c = ++state.domain.firstScanCount;
    state.windows.main.networkTree.setVisible(true);
    if (c > nodes.nodeCount()) {
        nodes.append(freshNode(computer.name));
        return;
    }
    // The address stays until the resolution that follows.
    NodeRecord& node = nodes.node(c);
    std::string address = std::move(node.address);
    node = freshNode(computer.name);
    node.address = std::move(address);
}

// Re-scan mode: a name not in the table yet (compared exactly) is appended.
void takeAsRescan(ProgramState& state, const BrowsedComputer& computer) {
    state.domain.rescanList.push_back(computer.name);
    NodeTable& nodes = state.domain.nodes;
    for (int i = 1; i <= nodes.nodeCount(); ++i)
        if (nodes.node(i).name == computer.name) return;
    state.domain.newNodesFound = true;
    state.ui->doEvents();
    nodes.append(freshNode(computer.name));
}

void listNamesInGrid(ProgramState& state) {
    GridControl& grid = state.windows.scanDialog.nodeGrid;
    grid.clear();
    // From the header row, so that node i is row i (its address goes there too).
    grid.setRows(1);
    grid.setRow(0);
    if (!state.domain.rescanMode) state.domain.nodes.truncate(state.domain.firstScanCount);
    for (int i = 1; i <= state.domain.nodes.nodeCount(); ++i) {
        state.ui->doEvents();
        grid.setRows(grid.rows() + 1);
        grid.setRow(grid.row() + 1);
        grid.setCol(0);
        grid.setText(state.domain.nodes.node(i).name);
    }
}

}  // namespace

bool enumerateNodes(ProgramState& state) {
    DomainState& domain = state.domain;
    domain.firstScanCount = 0;
    domain.rescanList.clear();
    domain.newNodesFound = false;
    try {
        std::vector<BrowsedComputer> computers;
        try {
            NetworkBrowser* browser = state.networkBrowser;
            if (!browser) throw NetworkListError(1722, "no network browser");
            computers = whileEventsRun(state, [browser] { return browser->listComputers(); });
        } catch (const NetworkListError& e) {
            showNetworkError(state, e.code());
            return false;
        }
        if (computers.empty()) return false;
        domain.browsedComputers = computers;
        setStatus(state, kListingStatus);
        for (const auto& computer : computers) {
            state.ui->doEvents();
            if (domain.rescanMode) takeAsRescan(state, computer);
            else takeAsFirstScan(state, computer);
        }
        state.ui->doEvents();
        listNamesInGrid(state);
        setStatus(state, kListedStatus);
        return true;
    } catch (const std::exception&) {
        showFailure(state, "Unable to retrieve network node list!");
        return false;
    }
}

void resolveAllNodes(ProgramState& state) {
    try {
        NodeTable& nodes = state.domain.nodes;
        std::vector<BrowsedComputer> wanted;
        for (int i = 1; i <= nodes.nodeCount(); ++i) {
            BrowsedComputer computer{nodes.node(i).name, {}};
            for (const auto& seen : state.domain.browsedComputers)
                if (seen.name == computer.name) computer.addresses = seen.addresses;
            wanted.push_back(std::move(computer));
        }
        std::vector<std::string> addresses(wanted.size());
        if (NetworkBrowser* browser = state.networkBrowser; browser && !wanted.empty())
            addresses = whileEventsRun(state, [browser, &wanted] { return browser->resolveAddresses(wanted); });
        addresses.resize(wanted.size());
        // The lookups ran side by side; their texts follow the node order.
        for (int i = 1; i <= nodes.nodeCount(); ++i) {
            setStatus(state, "Resolve IP address for " + nodes.node(i).name);
            const std::string& address = addresses[static_cast<std::size_t>(i - 1)];
            if (address.empty()) setStatus(state, "Can't resolve name.");
            nodes.node(i).address = address;
        }
        setStatus(state, kListedStatus);
        GridControl& grid = state.windows.scanDialog.nodeGrid;
        for (int i = 1; i <= state.domain.firstScanCount && i < grid.rows() && i <= nodes.nodeCount(); ++i)
            grid.setCell(i, 1, nodes.node(i).address);
    } catch (const std::exception&) {
        showFailure(state, "Unable to resolve IP!");
    }
}

void networkScan(ProgramState& state) {
    NetworkCommandGuard guard(state);
    if (!guard.entered()) return;
    state.windows.scanDialog.visible = true;
    enumerateNodes(state);
    state.ui->doEvents();
    resolveAllNodes(state);
    state.domain.networkScanDone = true;
    state.windows.main.rescanEnabled = true;
    state.windows.main.networkScanEnabled = false;
}

void rescan(ProgramState& state) {
    NetworkCommandGuard guard(state);
    if (!guard.entered()) return;
    state.domain.rescanMode = true;
    state.windows.scanDialog.visible = true;
    enumerateNodes(state);
    state.ui->doEvents();
    if (!state.domain.newNodesFound) return;
    resolveAllNodes(state);
    state.ui->doEvents();
    state.windows.main.networkTree.clear();
    buildNetworkTreeFromScan(state);
}

}  // namespace vantrel
