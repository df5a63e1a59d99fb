#pragma once
// The scan commands ("Scan all PCs", "Scan selected PC", "Scan Current Node",
// "Scan Local PC", "Scan List") and the scan dialog's buttons.
//
// A collection never runs on the window's thread: each node is collected on a
// worker thread against a copy of what the program knows, and everything the
// scan shows or changes (status texts, progress, grid rows, scan statuses,
// flags) is handed back to the window's thread in node order, so the window
// keeps answering while the dialog fills exactly as a scan of one node after
// the other would fill it. Only one scan runs at a time.

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "collect/hardware_session.h"
#include "core/ordered_job_runner.h"
#include "core/program_state.h"

namespace vantrel {

// The status text of a scan command refused because another scan runs.
inline constexpr const char* kScanBusyText = "A scan is already running";

class ScanCommands {
public:
    // `session` belongs to the window's thread: its builders and show steps
    // run there. Its provider answers the workers too, so it must be safe to
    // use from several threads. `wakeUp` is called from any thread when scan
    // results wait; the window answers with deliver() on its own thread.
    ScanCommands(ProgramState& state, HardwareSession& session, std::function<void()> wakeUp);
    ~ScanCommands();
    ScanCommands(const ScanCommands&) = delete;
    ScanCommands& operator=(const ScanCommands&) = delete;

    // "Scan all PCs": every node whose enabled is "True", up to
    // settings.parallelScans at once; the grid lists every node.
    void scanAllNodes();
    // "Scan selected PC": the current node, shown when collected.
    void scanSelectedNode();
    // "Scan Current Node" of the node popup menu: as "Scan selected PC".
    void scanCurrentNode();
    // "Scan Local PC" (Nodes menu and node popup): this computer, shown when
    // collected. Works without a node table: the report then goes to a folder
    // named after this computer's host name.
    void scanLocalComputer();
    // "Scan List": shows the dialog with the node list.
    void listNodesInDialog();

    // Who shows the scan on the window's thread: status texts, progress and a
    // refused connection arrive there in order. The scan dialog by default.
    void setListener(ScanListener* listener) { listener_ = listener ? listener : &state_.scanPresenter; }

    // While a scan runs, commands that would change the node list under it
    // are refused: the status text says so and true comes back.
    bool refuseIfBusy();

    // A scan has started and its end has not been delivered yet.
    bool busy() const { return runner_.running(); }
    // Window thread: applies what the workers handed back.
    void deliver() { runner_.deliver(); }
    // Window thread: waits for the scan to end, applying results as they come.
    void waitUntilFinished() { runner_.waitUntilFinished(); }
    // Window thread, before the program ends: no further node starts; the
    // nodes being collected finish and their results are applied.
    void stopAndWait() { runner_.stopAndWait(); }

private:
    struct NodeScan;
    // The record "Scan Local PC" stands for: the local node, or this computer.
    NodeRecord localRecord() const;
    void setStatus(const std::string& text) { listener_->statusChanged(text); }
    // Hands the node's connection settings to the provider before its scan starts.
    void prepareConnection(const NodeScan& scan);
    OrderedJobRunner::Job collectJob(std::shared_ptr<const NodeScan> scan);
    void showScannedNode(const NodeScan& scan);

    ProgramState& state_;
    HardwareSession& session_;
    ScanListener* listener_;
    OrderedJobRunner runner_;  // last: its workers stop before the rest goes
};

// The scan dialog's buttons and its close request.
void scanDialogOk(ProgramState& state);
void scanDialogCancel(ProgramState& state);
void scanDialogCloseRequest(ProgramState& state);  // refused; acts as OK

// This computer's host name as a node name; "localhost" when it is unknown or
// cannot be a folder name.
std::string localHostName();

}  // namespace vantrel
