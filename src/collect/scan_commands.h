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
#include <vector>

#include "collect/hardware_session.h"
#include "core/local_node.h"
#include "core/ordered_job_runner.h"
#include "core/program_state.h"

namespace vantrel {

// The status text of a scan command refused because another scan runs.
inline constexpr const char* kScanBusyText = "A scan is already running";

// How one node's scan ended.
enum class NodeScanEnd {
    NotContacted,  // listed only
    NoAddress,     // not contacted: no address is known for it
    Refused,       // the connection test failed
    Collected,     // the report was written
    NotWritten,    // collected, but the report could not be written
    Failed,        // the collection broke off
};

// What the last scan command did to each node it tried, in node order.
struct NodeScanOutcome {
    std::string name;
    NodeScanEnd end = NodeScanEnd::NotContacted;
    bool refusedLogin = false;  // the node refused the login (not: could not be reached)
    std::string result;         // the node's last result afterwards
};

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

    // The nodes the last scan command tried, as far as their ends were delivered.
    const std::vector<NodeScanOutcome>& outcomes() const { return outcomes_; }

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
    struct NodeScanResult;
    // The record "Scan Local PC" stands for: the local node, or this computer.
    NodeRecord localRecord() const;
    void setStatus(const std::string& text) { listener_->statusChanged(text); }
    // Hands the node's connection settings to the provider before its scan starts.
    void prepareConnection(const NodeScan& scan);
    OrderedJobRunner::Job collectJob(std::shared_ptr<const NodeScan> scan);
    // Worker thread: the connection test and the collection run of one node.
    // What a worker takes of the window's session.
    struct WorkerSession {
        std::shared_ptr<wbem::Provider> provider;
        std::shared_ptr<ScanRecorder> recorder;
        ScanSource remoteSource;
    };
    static NodeScanResult collectNode(const NodeScan& scan, const ProgramFolder& folder, const WorkerSession& session,
                                      ScanListener& listener);
    void applyResult(const NodeScan& scan, const NodeScanResult& result);
    void showScannedNode(const NodeScan& scan);
    void showFailedScan();

    ProgramState& state_;
    HardwareSession& session_;
    ScanListener* listener_;
    std::vector<NodeScanOutcome> outcomes_;
    OrderedJobRunner runner_;  // last: its workers stop before the rest goes
};

// The scan dialog's buttons and its close request.
void scanDialogOk(ProgramState& state);
void scanDialogCancel(ProgramState& state);
void scanDialogCloseRequest(ProgramState& state);  // refused; acts as OK

}  // namespace vantrel
