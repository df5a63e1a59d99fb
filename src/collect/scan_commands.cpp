#include "collect/scan_commands.h"

#include "collect/collection_run.h"
#include "collect/connection.h"
#include "collect/hardware_tree.h"
#include "collect/report_loader.h"
#include "collect/scan_failure.h"
#include "core/local_node.h"
#include "core/network_tree.h"
#include "core/node_registry.h"

namespace vantrel {

namespace {

// The user interface a worker's copy of the state sees: nothing to show, no
// events to let run (the window's own thread is free anyway).
class WorkerUi : public UiServices {
public:
    MsgAnswer messageBox(const std::string&, const std::string&, MsgIcon, MsgButtons buttons) override {
        return buttons == MsgButtons::YesNo ? MsgAnswer::No : MsgAnswer::Ok;
    }
    void doEvents() override {}
    void endProgram() override {}
    int logicalDpiX() override { return 96; }
    void popupMenu(PopupMenu) override {}
};

// Hands what the collection reports to the window's thread, in order.
class PostingListener : public ScanListener {
public:
    PostingListener(OrderedJobRunner::Channel& channel, ScanListener& shown) : channel_(channel), shown_(shown) {}
    void categoryStarted(int step, int steps) override {
        channel_.post([&l = shown_, step, steps] { l.categoryStarted(step, steps); });
    }
    void statusChanged(const std::string& text) override {
        channel_.post([&l = shown_, text] { l.statusChanged(text); });
    }
    void connectionRefused() override {
        channel_.post([&l = shown_] { l.connectionRefused(); });
    }

private:
    OrderedJobRunner::Channel& channel_;
    ScanListener& shown_;
};

// The name, display name and address go in as the node's scan starts; its
// status, enabled mark and last result when it ends.
void appendGridRow(ProgramState& state, const NodeRecord& node) {
    state.windows.scanDialog.appendNodeRow(node.name, node.displayName, node.address, {}, {}, {});
}

void finishGridRow(ProgramState& state, const NodeRecord& node) {
    GridControl& grid = state.windows.scanDialog.nodeGrid;
    const int row = grid.rows() - 1;
    grid.setCell(row, kGridStatusColumn, std::string(node.scanStatus.text()));
    grid.setCell(row, kGridStatusColumn + 1, std::string(node.enabled.text()));
    grid.setCell(row, kGridResultColumn, node.lastResult);
}

void startScanGrid(ProgramState& state) {
    state.windows.scanDialog.resetNodeGrid();
    state.windows.scanDialog.statusText.clear();
}

// A node elsewhere is reached at its address; without one there is nobody
// to ask (an empty server would be this computer).
bool hasNoAddress(const ProgramState& state, const NodeRecord& node) {
    return node.address.empty() && !isLocalNode(node, state.domain.nodes.localAddress);
}

}  // namespace

struct ScanCommands::NodeScanResult {
    NodeScanEnd end = NodeScanEnd::NotContacted;
    FileValue<ScanStatus> status;  // the node's status afterwards
    std::string lastResult;        // and its last result
    bool accessDenied = false;
    bool refusedLogin = false;
};

// One node to collect, with everything the worker needs and nothing it shares.
struct ScanCommands::NodeScan {
    int node = 0;            // its number in the node table; 0: this computer, not in the table
    NodeRecord record;       // the node as the scan started
    std::shared_ptr<const DomainState> domain;  // what the program knew as the scan started
    CurrentLogin login;
    bool testConnection = true;
    bool collect = true;     // false: listed only (not enabled)
    bool noAddress = false;  // not contacted: nobody to ask
    bool listInGrid = false;
    bool show = false;       // show it when collected
    bool buildingStatus = false;  // say "Building system for " before showing
};

ScanCommands::ScanCommands(ProgramState& state, HardwareSession& session, std::function<void()> wakeUp)
    : state_(state), session_(session), listener_(&state.scanPresenter), runner_(std::move(wakeUp)) {}

ScanCommands::~ScanCommands() = default;

bool ScanCommands::refuseIfBusy() {
    if (!busy()) return false;
    setStatus(kScanBusyText);
    state_.windows.scanDialog.visible = true;
    return true;
}

OrderedJobRunner::Job ScanCommands::collectJob(std::shared_ptr<const NodeScan> scan) {
    WorkerSession worker{session_.provider, session_.recorder, session_.remoteSource};
    ProgramFolder folder = state_.folder;
    ScanListener* shown = listener_;
    return [this, scan, worker, folder, shown](OrderedJobRunner::Channel& channel) {
        ProgramState& state = state_;
        if (scan->listInGrid) channel.post([&state, scan] { appendGridRow(state, scan->record); });
        PostingListener listener(channel, *shown);
        NodeScanResult result;
        result.status = scan->record.scanStatus;
        result.lastResult = scan->record.lastResult;
        if (scan->noAddress) {
            // Its status and its old report stay as they are.
            result.end = NodeScanEnd::NoAddress;
            result.lastResult = noAddressText(scan->record.name);
            listener.statusChanged(result.lastResult);
        } else if (scan->collect) {
            result = collectNode(*scan, folder, worker, listener);
        }
        channel.post([this, scan, result] { applyResult(*scan, result); });
    };
}

ScanCommands::NodeScanResult ScanCommands::collectNode(const NodeScan& scan, const ProgramFolder& folder,
                                                       const WorkerSession& session, ScanListener& listener) {
    WorkerUi ui;
    ProgramState copy(folder, ui);
    copy.domain = *scan.domain;
    NodeTable& nodes = copy.domain.nodes;
    nodes.currentNode = scan.node != 0 ? scan.node : nodes.append(scan.record);
    copy.domain.currentLogin = scan.login;
    copy.domain.accessDeniedFlag = false;
    HardwareSession work;
    work.provider = session.provider;
    work.recorder = session.recorder;
    work.remoteSource = session.remoteSource;
    work.listener = &listener;
    NodeScanResult result;
    if (scan.testConnection) TestConnection(copy, work);
    result.accessDenied = copy.domain.accessDeniedFlag;
    result.refusedLogin = work.refusedLogin;
    NodeRecord& node = nodes.node(nodes.currentNode);
    if (result.accessDenied) {
        result.end = NodeScanEnd::Refused;
    } else {
        try {
            const bool written = CollectHardware(copy, work);
            result.end = written ? NodeScanEnd::Collected : NodeScanEnd::NotWritten;
            node.lastResult = written ? kScannedResult : "Unable to write the hardware report";
        } catch (const WmiError& e) {
            result.end = NodeScanEnd::Failed;
            result.refusedLogin = e.code() == wbem::ErrorCode::AccessDenied;
            node.lastResult = "Hardware data collection failed: " + failureText(e.code(), e.what());
            listener.statusChanged("Hardware data collection failed for " + nodeTag(scan.record) + ": " +
                                   failureText(e.code(), e.what()));
        } catch (const std::exception& e) {
            result.end = NodeScanEnd::Failed;
            node.lastResult = "Hardware data collection failed: " + failureText(wbem::ErrorCode::Failed, e.what());
            listener.statusChanged("Hardware data collection failed for " + nodeTag(scan.record));
        }
    }
    result.status = node.scanStatus;
    result.lastResult = node.lastResult;
    return result;
}

// Window thread: what a node's scan changed, in node order.
void ScanCommands::applyResult(const NodeScan& scan, const NodeScanResult& result) {
    NodeTable& nodes = state_.domain.nodes;
    NodeRecord* node = nodes.isNode(scan.node) ? &nodes.node(scan.node) : nullptr;
    const bool tried = scan.collect || scan.noAddress;
    if (tried && node) {
        node->scanStatus = result.status;
        node->lastResult = result.lastResult;
        updateNodeToolTip(state_, scan.node);
    }
    if (scan.collect && !scan.noAddress) {
        state_.domain.accessDeniedFlag = result.accessDenied;
        if (scan.testConnection && !result.accessDenied) state_.domain.scanRanFlag = true;
    }
    if (tried) outcomes_.push_back({scan.record.name, result.end, result.refusedLogin, result.lastResult});
    if (scan.listInGrid) {
        NodeRecord shownRecord = node ? *node : scan.record;
        if (!node) shownRecord.lastResult = result.lastResult;
        finishGridRow(state_, shownRecord);
    }
    if (!scan.show) return;
    if (result.end == NodeScanEnd::Collected) showScannedNode(scan);
    else if (result.end != NodeScanEnd::NotContacted && result.end != NodeScanEnd::NoAddress) showFailedScan();
}

// Nothing of the node shown before stays on screen: the bare model, an
// empty hardware tree and an empty bar, the dialog open with the reason.
void ScanCommands::showFailedScan() {
    state_.windows.main.hardwareTree.clear();
    if (session_.resetModel) session_.resetModel();
    if (session_.renderView) session_.renderView();
    listener_->scanFailed();
}

void ScanCommands::prepareConnection(const NodeScan& scan) {
    if (!scan.collect || !scan.testConnection || scan.login.server.empty() || !session_.prepareConnection) return;
    session_.prepareConnection(scan.login.server, state_.domain.connections.forNode(scan.record.name));
}

void ScanCommands::showScannedNode(const NodeScan& scan) {
    const std::string tag = nodeTag(scan.record);
    if (scan.node != 0 && state_.domain.nodes.currentNode != scan.node) {
        // Another node was selected while this one was collected: the node
        // shown becomes the current one again, labels included.
        state_.domain.nodes.currentNode = scan.node;
        MainWindowState& main = state_.windows.main;
        main.currentNodeDisplayName = scan.record.displayName;
        main.currentNodeAddress = scan.record.address;
        main.currentNodeName = scan.record.name;
    }
    if (session_.resetModel) session_.resetModel();
    if (scan.buildingStatus) setStatus("Building system for " + tag);
    state_.ui->doEvents();
    if (scan.node != 0) {
        buildHardwareTree(state_);
        state_.ui->doEvents();
        LoadReport(state_, session_);
    } else {
        buildHardwareTree(state_, scan.record);
        state_.ui->doEvents();
        if (auto file = state_.folder.reportFile(scan.record.name))
            loadReportFile(*file, session_.report, session_.builders);
    }
    if (session_.renderView) session_.renderView();
    setStatus("System built for " + tag);
    state_.windows.scanDialog.visible = false;
}

void ScanCommands::scanAllNodes() {
    if (refuseIfBusy()) return;
    outcomes_.clear();
    state_.domain.accessDeniedFlag = false;
    startScanGrid(state_);
    state_.ui->doEvents();
    state_.windows.scanDialog.visible = true;
    state_.ui->doEvents();

    auto domain = std::make_shared<const DomainState>(state_.domain);
    std::vector<OrderedJobRunner::Job> jobs;
    for (int i = 1; i <= state_.domain.nodes.nodeCount(); ++i) {
        auto scan = std::make_shared<NodeScan>();
        scan->node = i;
        scan->record = state_.domain.nodes.node(i);
        scan->domain = domain;
        scan->listInGrid = true;
        // Nodes marked "False" or "Jump" are listed, not contacted.
        const bool enabled = scan->record.enabled == NodeEnabled::Shown;
        scan->noAddress = enabled && hasNoAddress(state_, scan->record);
        scan->collect = enabled && !scan->noAddress;
        scan->login = isLocalNode(scan->record, state_.domain.nodes.localAddress) ? CurrentLogin{}
                                                                                  : loginForNode(state_, i);
        prepareConnection(*scan);
        jobs.push_back(collectJob(std::move(scan)));
    }
    runner_.start(std::move(jobs), state_.domain.settings.parallelScans, [this](bool stopped) {
        if (!stopped) setStatus("Scan Complete");
    });
}

void ScanCommands::scanSelectedNode() {
    const NodeTable& nodes = state_.domain.nodes;
    if (nodes.nodeCount() == 0 || !nodes.isNode(nodes.currentNode)) return;
    if (refuseIfBusy()) return;
    // This computer's own node is collected as "Scan Local PC" collects it.
    if (isLocalNode(nodes.node(nodes.currentNode), nodes.localAddress)) {
        scanLocalComputer();
        return;
    }
    outcomes_.clear();
    state_.domain.accessDeniedFlag = false;
    state_.windows.scanDialog.visible = true;

    auto scan = std::make_shared<NodeScan>();
    scan->node = nodes.currentNode;
    scan->record = nodes.node(nodes.currentNode);
    scan->domain = std::make_shared<const DomainState>(state_.domain);
    scan->login = loginForNode(state_, nodes.currentNode);
    scan->noAddress = hasNoAddress(state_, scan->record);
    scan->collect = !scan->noAddress;
    // Without an address nothing is scanned, so what is shown stays.
    scan->show = !scan->noAddress;
    scan->buildingStatus = true;
    if (!scan->noAddress) {
        state_.domain.currentLogin = scan->login;
        state_.windows.main.hardwareTree.clear();
    }
    prepareConnection(*scan);
    runner_.start({collectJob(std::move(scan))}, 1, {});
}

void ScanCommands::scanCurrentNode() {
    if (state_.domain.nodes.nodeCount() == 0) return;
    scanSelectedNode();
}

NodeRecord ScanCommands::localRecord() const {
    const NodeTable& nodes = state_.domain.nodes;
    if (nodes.isNode(nodes.localNode)) return nodes.node(nodes.localNode);
    NodeRecord self;
    self.name = localHostName();
    self.address = nodes.localAddress;
    self.displayName = self.name;
    self.enabled = NodeEnabled::Shown;
    self.scanStatus = ScanStatus::NotScanned;
    return self;
}

void ScanCommands::scanLocalComputer() {
    if (refuseIfBusy()) return;
    outcomes_.clear();
    const NodeTable& nodes = state_.domain.nodes;
    auto scan = std::make_shared<NodeScan>();
    // The selected node when it is this computer, else the local node.
    const int selected = nodes.currentNode;
    scan->node = nodes.isNode(selected) && isLocalNode(nodes.node(selected), nodes.localAddress) ? selected
                 : nodes.isNode(nodes.localNode)                                                  ? nodes.localNode
                                                                                                  : 0;
    scan->record = scan->node != 0 ? nodes.node(scan->node) : localRecord();
    scan->domain = std::make_shared<const DomainState>(state_.domain);
    scan->testConnection = false;
    scan->show = true;
    state_.domain.currentLogin = CurrentLogin{};
    state_.windows.scanDialog.visible = true;
    state_.windows.main.hardwareTree.clear();
    runner_.start({collectJob(std::move(scan))}, 1, {});
}

void ScanCommands::listNodesInDialog() {
    if (state_.domain.nodes.nodeCount() == 0) return;
    if (refuseIfBusy()) return;
    state_.windows.scanDialog.visible = true;
    listNodes(state_);
}

void scanDialogOk(ProgramState& state) {
    DomainState& domain = state.domain;
    ScanDialogState& dialog = state.windows.scanDialog;
    if (domain.accessDeniedFlag) {
        dialog.visible = false;
        return;
    }
    if (domain.scanRanFlag) {
        domain.scanRanFlag = false;
        dialog.visible = false;
        return;
    }
    if (domain.networkScanDone || domain.newNodesFound) {
        state.windows.main.networkTree.clear();
        buildNetworkTreeFromScan(state);
        saveNodeTable(state);
        state.ui->messageBox("Restart program to make network changes... ", kMessageTitle, MsgIcon::Question,
                             MsgButtons::Ok);
        state.ended = true;
        state.ui->endProgram();
        return;
    }
    dialog.visible = false;
}

void scanDialogCancel(ProgramState& state) { state.windows.scanDialog.visible = false; }

void scanDialogCloseRequest(ProgramState& state) { scanDialogOk(state); }

}  // namespace vantrel
