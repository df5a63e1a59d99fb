#include "session/node_history.h"

#include <algorithm>

#include "collect/report_in_memory.h"
#include "collect/show_node.h"
#include "collect/tree_change_marks.h"
#include "model/change_marks.h"
#include "store/change_format.h"
#include "store/placed_changes.h"

namespace vantrel {

NodeHistory::NodeHistory(ProgramState& state, HardwareSession& session, model::VirtualPc& pc, StoreOpener openStore)
    : state_(state), session_(session), pc_(pc), openStore_(std::move(openStore)) {}

std::string NodeHistory::rowText(const ScanInfo& scan) {
    return timeText(scan.time) + "   " + scan.source + "   " + scan.summary;
}

std::string NodeHistory::currentNode() const {
    const NodeTable& nodes = state_.domain.nodes;
    return nodes.isNode(nodes.currentNode) ? nodes.node(nodes.currentNode).name : std::string();
}

void NodeHistory::tell(const std::string& text) {
    state_.ui->messageBox(text, kMessageTitle, MsgIcon::Information, MsgButtons::Ok);
}

std::unique_ptr<InventoryStore> NodeHistory::open() {
    try {
        return openStore_();
    } catch (const std::exception& e) {
        tell(std::string("The scan history cannot be read (") + e.what() + ").");
        return nullptr;
    }
}

std::vector<ScanInfo> NodeHistory::scans() {
    const std::string node = currentNode();
    if (node.empty()) {
        tell("Choose a node first.");
        return {};
    }
    auto store = open();
    if (!store) return {};
    std::vector<ScanInfo> list;
    try {
        list = store->listScans(node);
    } catch (const std::exception& e) {
        tell(std::string("The scan history cannot be read (") + e.what() + ").");
        return {};
    }
    if (list.empty()) tell(node + " has no scans in the history yet.");
    std::reverse(list.begin(), list.end());
    return list;
}

bool NodeHistory::showScan(int number) {
    const std::string node = currentNode();
    auto store = open();
    if (!store) return false;
    try {
        const auto scan = store->loadScan(node, number);
        if (!scan) {
            tell(node + " has no scan " + std::to_string(number) + ".");
            return false;
        }
        show(*scan, nullptr);
    } catch (const std::exception& e) {
        tell(std::string("The scan cannot be shown (") + e.what() + ").");
        return false;
    }
    return true;
}

bool NodeHistory::compareWithPrevious() {
    const std::string node = currentNode();
    if (node.empty()) {
        tell("Choose a node first.");
        return false;
    }
    auto store = open();
    if (!store) return false;
    try {
        const std::vector<ScanInfo> list = store->listScans(node);
        if (list.size() < 2) {
            tell(node + (list.empty() ? " has no scans" : " has one scan only") + ": nothing to compare it with.");
            return false;
        }
        const auto older = store->loadScan(node, list[list.size() - 2].number);
        const auto newer = store->loadScan(node, list.back().number);
        if (!older || !newer) {
            tell("The scan history of " + node + " changed while it was read; try again.");
            return false;
        }
        show(*newer, &*older);
    } catch (const std::exception& e) {
        tell(std::string("The scans cannot be compared (") + e.what() + ").");
        return false;
    }
    return true;
}

void NodeHistory::show(const StoredScan& scan, const StoredScan* older) {
    // The report is read from memory as the node's own file would be; the
    // node's report file stays as the last scan wrote it.
    const ReportInMemory report(scan.content.reportText);
    const auto savedOverride = session_.reportFileOverride;
    session_.reportFileOverride = report.path();
    struct Restore {
        HardwareSession& session;
        std::filesystem::path path;
        ~Restore() { session.reportFileOverride = path; }
    } restore{session_, savedOverride};
    showStoredNode(state_, session_);
    if (!older) return;
    const std::vector<PlacedChange> changes = placeChanges(older->content, scan.content);
    const std::string lastSeen = timeText(older->info.time);
    model::markChanges(pc_, changes, lastSeen);
    markTreeChanges(state_.windows.main.hardwareTree, changes, lastSeen);
    if (session_.renderView) session_.renderView();
}

}  // namespace vantrel
