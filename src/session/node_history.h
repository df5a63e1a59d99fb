#pragma once
// The history of the node the desktop program shows: its scans, any one of
// them shown as its hardware tree and model, and its last scan shown with
// what changed since the scan before marked on both. Without windows: the
// History list and the menu commands only call this.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "collect/hardware_session.h"
#include "core/program_state.h"
#include "model/virtual_pc.h"
#include "store/inventory_store.h"

namespace vantrel {

class NodeHistory {
public:
    // Opens the store when the history is asked for; throws StoreError.
    using StoreOpener = std::function<std::unique_ptr<InventoryStore>()>;

    NodeHistory(ProgramState& state, HardwareSession& session, model::VirtualPc& pc, StoreOpener openStore);

    // The current node's scans, newest first. None, after telling the user
    // why, when it has none or the history cannot be read.
    std::vector<ScanInfo> scans();
    // One line of the History list: date, source, what changed.
    static std::string rowText(const ScanInfo& scan);

    // Shows scan `number` of the current node as a scan shows it: its tree
    // and its model. False, after telling the user why, when it cannot.
    bool showScan(int number);
    // Shows the current node's last scan with the changes since the scan
    // before it marked in the tree and on the model.
    bool compareWithPrevious();

private:
    std::unique_ptr<InventoryStore> open();
    std::string currentNode() const;
    // Shows a stored scan; on the model and tree, the changes since `older` when given.
    void show(const StoredScan& scan, const StoredScan* older);
    void tell(const std::string& text);

    ProgramState& state_;
    HardwareSession& session_;
    model::VirtualPc& pc_;
    StoreOpener openStore_;
};

}  // namespace vantrel
