#pragma once
// What the program knows, apart from how it is shown: the node table, the
// settings, the logins and the flags of discovery and scanning.

#include <cstdint>
#include <string>
#include <vector>

#include "core/file_value.h"
#include "core/network_browser.h"
#include "core/node_connections.h"
#include "core/node_table.h"

namespace vantrel {

inline constexpr const char* kDefaultNamespace = "root\\cimv2";

// How many nodes "Scan all PCs" collects at once.
inline constexpr int kMinParallelScans = 1;
inline constexpr int kMaxParallelScans = 64;
inline constexpr int kDefaultParallelScans = 8;

// How nodes are labelled in the trees ("IP", "NAME", "IPNAME" in the settings file).
enum class NodeLabelMode { Other, Ip, Name, IpName };
constexpr std::array<Spelling<NodeLabelMode>, 3> spellings(NodeLabelMode) {
    return {{{NodeLabelMode::Ip, "IP"}, {NodeLabelMode::Name, "NAME"}, {NodeLabelMode::IpName, "IPNAME"}}};
}

// The values of the settings file.
struct Settings {
    std::string defaultUser;       // the default login, for nodes without their own
    std::string defaultPassword;
    float cameraX = 0, cameraY = 0, cameraZ = 0;
    std::int32_t backgroundColor = 0;
    // Until a mode is chosen (no settings file yet) nodes show name and address:
    // with no mode the trees could show no node at all.
    FileValue<NodeLabelMode> nodeLabelMode = NodeLabelMode::IpName;
    bool showPasswords = false;    // the Logins dialog shows passwords
    std::string wmiNamespace = kDefaultNamespace;
    int parallelScans = kDefaultParallelScans;  // kept in "scans.ini", not in the nine lines
    // How long the network commands listen for computers to answer.
    int discoveryWindowMs = 3000;
};

// The program's own files that exist but could not be read at start-up. What
// they hold is unknown, so this run never writes them: writing the defaults
// or an empty table over them would lose every setting, node and login.
struct UnreadableFiles {
    bool settings = false;  // "vantrel.ini"
    bool logins = false;    // "lg.ini"
    bool connections = false;  // "connections.ini"
    bool scanSettings = false;  // "scans.ini"
    bool results = false;       // "results.ini"
};

struct DomainState {
    NodeTable nodes;
    Settings settings;
    CurrentLogin currentLogin;
    NodeConnections connections;  // how each node is reached, by node name
    UnreadableFiles unreadableFiles;

    // Discovery and scanning.
    bool rescanMode = false;
    bool newNodesFound = false;
    bool networkScanDone = false;
    bool accessDeniedFlag = false;   // the last connection test was refused
    bool scanRanFlag = false;        // a collection run ran since the scan dialog's last OK
    int firstScanCount = 0;          // computers taken by the last enumeration in first-scan mode
    std::vector<std::string> rescanList;  // every name the last enumeration delivered in re-scan mode
    std::vector<BrowsedComputer> browsedComputers;  // the last listing, with the addresses seen
    bool networkCommandRunning = false;  // a network command is letting events run

    // Model display switches.
    bool showBase = false;
    bool showAxes = false;
};

}  // namespace vantrel
