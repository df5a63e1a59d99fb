// vantrel-cli scan [--home DIR] (--all | --node NAME | --local) [--parallel N]
// [--profile FILE] [--on-change COMMAND]: "Scan all PCs", "Scan selected PC" or
// "Scan Local PC" on the program folder's node table, through the desktop
// program's scan commands (connection settings, logins, statuses, reports,
// parallel nodes). Every collection is kept in the inventory store (the
// folder's, or the shared one of --store, queued in the folder while its
// server cannot be reached);
// COMMAND runs once per node whose hardware changed, with the change as JSON
// on its standard input. One line per node tried: its name and its last result.
// Exit status: 0 every node tried was scanned, 2 a node refused the login, 1 otherwise.

#include <iostream>
#include <mutex>

#include "app/cli_command.h"
#include "app/cli_command_table.h"
#include "app/cli_connection.h"
#include "app/cli_global_options.h"
#include "app/cli_home.h"
#include "app/cli_options.h"
#include "collect/scan_commands.h"
#include "providers/profile/profile_provider.h"
#include "session/scan_providers.h"
#include "store/change_command.h"
#include "app/cli_store.h"
#include "store/home_store.h"
#include "store/shared_store_recorder.h"
#include "store/store_choice.h"

namespace vantrel::cli {
namespace {

const std::string kUsage(commandUsage("scan"));

enum class Target { None, All, Node, Local };

int usage() {
    std::cerr << "usage: vantrel-cli " << kUsage << "   (1 <= N <= 64)\n";
    return 1;
}

int fail(const std::string& reason) {
    std::cerr << "vantrel-cli scan: " << printable(reason) << "\n";
    return 1;
}

// The node named `name`: exactly, else the one node whose name differs only in letter case.
int findNode(const NodeTable& nodes, const std::string& name) {
    if (const int exact = nodes.find(name); exact != 0) return exact;
    int found = 0;
    auto lower = [](std::string s) {
        for (char& c : s) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        return s;
    };
    for (int i = 1; i <= nodes.nodeCount(); ++i) {
        if (lower(nodes.node(i).name) != lower(name)) continue;
        if (found != 0) return 0;  // ambiguous
        found = i;
    }
    return found;
}

int exitStatus(const std::vector<NodeScanOutcome>& outcomes) {
    int status = 0;
    for (const auto& o : outcomes) {
        if (o.refusedLogin) return kAccessDeniedStatus;
        if (o.end != NodeScanEnd::Collected) status = 1;
    }
    return status;
}

// Changes heard from the collecting threads, for the command after the scan.
class ChangeList {
public:
    void add(const HardwareChange& change) {
        std::lock_guard lock(mutex_);
        changes_.push_back(change);
    }
    std::vector<HardwareChange> taken() {
        std::lock_guard lock(mutex_);
        return std::move(changes_);
    }

private:
    std::mutex mutex_;
    std::vector<HardwareChange> changes_;
};

// A command that fails is the user's business; it costs no scan.
void runChangeCommands(const std::string& command, const std::vector<HardwareChange>& changes) {
    for (const auto& change : changes)
        if (const auto failure = runCommandForChange(command, change))
            std::cerr << "vantrel-cli scan: the change command for " << printable(change.header.node) << ' '
                      << *failure << "\n";
}

int runScan(const std::vector<std::string>& args, const std::string& globalHome) {
    std::string home = globalHome;
    Target target = Target::None;
    std::string nodeName;
    std::optional<int> parallel;
    std::optional<std::string> profile;
    std::optional<std::string> onChange;
    OptionReader options(args);
    while (options.next()) {
        const std::string o = options.option();
        Target chosen = Target::None;
        if (o == "--all") chosen = Target::All;
        else if (o == "--local") chosen = Target::Local;
        if (chosen != Target::None) {
            if (target != Target::None) return usage();
            target = chosen;
            continue;
        }
        const auto value = options.value();
        if (!value) return usage();
        if (o == "--home") home = *value;
        else if (o == "--profile") profile = *value;
        else if (o == "--on-change") onChange = *value;
        else if (o == "--parallel" && (parallel = parseNumber(*value, kMinParallelScans, kMaxParallelScans))) continue;
        else if (o == "--node" && target == Target::None) {
            target = Target::Node;
            nodeName = *value;
        } else {
            return usage();
        }
    }
    if (target == Target::None) return usage();

    HardwareSession hardware;
    try {
        if (profile) {
            hardware.provider = std::make_shared<wbem::ProfileProvider>(
                std::make_shared<wbem::Profile>(wbem::loadProfile(*profile)));
            hardware.remoteSource = ScanSource::Profile;
        } else {
            session::attachScanProviders(hardware);
        }
    } catch (const std::exception& e) {
        return fail(e.what());
    }

    std::vector<NodeScanOutcome> outcomes;
    ChangeList changes;
    try {
        CliHome folder("scan", home);
        folder.lock();
        folder.load();
        if (!folder.tableUsable()) return fail("the file \"lg.ini\" could not be read and will not be changed");
        ProgramState& state = folder.state();
        hardware.recorder = makeScanRecorder(
            state.folder, storeTarget(state.folder, chosenStore()),
            [](const std::string& why) { std::cerr << "vantrel-cli scan: " << printable(why) << "\n"; },
            [&changes](const HardwareChange& change) { changes.add(change); });
        if (parallel) state.domain.settings.parallelScans = *parallel;
        ScanCommands scans(state, hardware, {});
        switch (target) {
            case Target::All: scans.scanAllNodes(); break;
            case Target::Local: scans.scanLocalComputer(); break;
            case Target::Node: {
                const int node = findNode(state.domain.nodes, nodeName);
                if (node == 0) return fail("the node table has no node named " + nodeName);
                state.domain.nodes.currentNode = node;
                scans.scanSelectedNode();
                break;
            }
            case Target::None: break;
        }
        scans.waitUntilFinished();
        outcomes = scans.outcomes();
        if (const auto shared = std::dynamic_pointer_cast<SharedStoreRecorder>(hardware.recorder)) {
            if (const std::int64_t waiting = shared->waiting(); waiting > 0)
                std::cerr << "vantrel-cli scan: " << waiting << " scans wait for the shared inventory store\n";
        }
        if (!folder.save()) return fail("cannot write \"lg.ini\" in " + state.folder.root().string());
    } catch (const std::exception& e) {
        return fail(e.what());
    }
    for (const auto& o : outcomes) std::cout << printable(o.name) << '\t' << printable(o.result) << '\n';
    if (onChange) runChangeCommands(*onChange, changes.taken());
    return exitStatus(outcomes);
}

const CliCommandRegistration kRegistration{CliCommand{"scan", runScan}};

}  // namespace
}  // namespace vantrel::cli
