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

// A computer the table knows keeps its whole record (display name, login,
// enabled mark, status); a name not in the table yet (compared exactly) is
// appended. The first network scan of an empty table builds it this way too.
void takeComputer(ProgramState& state, const BrowsedComputer& computer, NetworkScanReport& report) {
    DomainState& domain = state.domain;
    if (domain.rescanMode) domain.rescanList.push_back(computer.name);
    else ++domain.firstScanCount;
    state.windows.main.networkTree.setVisible(true);
    if (domain.nodes.find(computer.name) != 0) return;
    domain.newNodesFound = true;
    state.ui->doEvents();
    domain.nodes.append(freshNode(computer.name));
    // Offered over SSH, as it announced; a transport chosen for the name before stays.
    if (computer.offersSsh && !domain.connections.contains(computer.name))
        domain.connections.set(computer.name, NodeConnection{NodeTransport::Ssh, {}});
    report.added.push_back(computer.name);
}

// Row i of the grid is node i, under the header row: name, display name,
// address, status and enabled mark.
void listTableInGrid(ProgramState& state) {
    ScanDialogState& dialog = state.windows.scanDialog;
    dialog.resetNodeGrid();
    for (int i = 1; i <= state.domain.nodes.nodeCount(); ++i) {
        state.ui->doEvents();
        const NodeRecord& node = state.domain.nodes.node(i);
        dialog.appendNodeRow(node.name, node.displayName, node.address, node.scanStatus.text(), node.enabled.text(),
                             node.lastResult);
    }
}

}  // namespace

bool enumerateNodes(ProgramState& state, NetworkScanReport& report) {
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
            takeComputer(state, computer, report);
        }
        state.ui->doEvents();
        listTableInGrid(state);
        setStatus(state, kListedStatus);
        report.listed = true;
        return true;
    } catch (const std::exception&) {
        showFailure(state, "Unable to retrieve network node list!");
        return false;
    }
}

void resolveAllNodes(ProgramState& state, NetworkScanReport& report) {
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
        GridControl& grid = state.windows.scanDialog.nodeGrid;
        for (int i = 1; i <= nodes.nodeCount(); ++i) {
            NodeRecord& node = nodes.node(i);
            setStatus(state, "Resolve IP address for " + node.name);
            const std::string& address = addresses[static_cast<std::size_t>(i - 1)];
            if (address.empty()) {
                // A computer switched off today is still where it was: its
                // last known address stays.
                setStatus(state, "Can't resolve name.");
                (node.address.empty() ? report.unresolved : report.keptAddress).push_back(node.name);
            } else {
                node.address = address;
            }
            if (i < grid.rows()) grid.setCell(i, kGridAddressColumn, node.address);
        }
        setStatus(state, kListedStatus);
    } catch (const std::exception&) {
        showFailure(state, "Unable to resolve IP!");
    }
}

NetworkScanReport networkScan(ProgramState& state) {
    NetworkScanReport report;
    NetworkCommandGuard guard(state);
    if (!guard.entered()) return report;
    state.windows.scanDialog.visible = true;
    // A listing that failed has nothing to resolve or to save, and the
    // command stays available to try again.
    if (!enumerateNodes(state, report)) return report;
    state.ui->doEvents();
    resolveAllNodes(state, report);
    state.domain.networkScanDone = true;
    state.windows.main.rescanEnabled = true;
    state.windows.main.networkScanEnabled = false;
    return report;
}

NetworkScanReport rescan(ProgramState& state) {
    NetworkScanReport report;
    NetworkCommandGuard guard(state);
    if (!guard.entered()) return report;
    state.domain.rescanMode = true;
    state.windows.scanDialog.visible = true;
    enumerateNodes(state, report);
    state.ui->doEvents();
    if (!state.domain.newNodesFound) return report;
    resolveAllNodes(state, report);
    state.ui->doEvents();
    buildNetworkTreeFromScan(state);
    return report;
}

}  // namespace vantrel
