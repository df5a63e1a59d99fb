#pragma once
// The node table: every computer the program knows, numbered from 1 in the
// order of the logins file. Nodes are never removed during a run; a deleted
// node stays, hidden.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/file_value.h"

namespace vantrel {

// Whether a node is shown and scanned ("True", "False", "Jump" in the logins file).
enum class NodeEnabled { Other, Shown, Hidden, Jump };
constexpr std::array<Spelling<NodeEnabled>, 3> spellings(NodeEnabled) {
    return {{{NodeEnabled::Shown, "True"}, {NodeEnabled::Hidden, "False"}, {NodeEnabled::Jump, "Jump"}}};
}

// How the node's last scan went ("False", "Scanned", "Access denied").
enum class ScanStatus { Other, NotScanned, Scanned, AccessDenied };
constexpr std::array<Spelling<ScanStatus>, 3> spellings(ScanStatus) {
    return {{{ScanStatus::NotScanned, "False"}, {ScanStatus::Scanned, "Scanned"},
             {ScanStatus::AccessDenied, "Access denied"}}};
}

struct NodeRecord {
    std::string name;           // network name; also the node's folder name
    std::string address;        // dotted IPv4, empty until resolved
    std::string displayName;    // label in the modes "NAME" and "IPNAME"
    FileValue<NodeEnabled> enabled;
    std::string loginUser;      // empty: the default login is used
    std::string loginPassword;
    FileValue<ScanStatus> scanStatus;
    // Why the last scan ended as it did, in plain words ("Scanned", "Access
    // denied", "No answer from ..."). Not a line of "lg.ini": kept in "results.ini".
    std::string lastResult;
};

class NodeTable {
public:
    int nodeCount() const { return static_cast<int>(nodes_.size()); }
    bool isNode(int i) const { return i >= 1 && i <= nodeCount(); }
    // Node i, 1-based; i must satisfy isNode(i).
    NodeRecord& node(int i) { return nodes_.at(static_cast<std::size_t>(i - 1)); }
    const NodeRecord& node(int i) const { return nodes_.at(static_cast<std::size_t>(i - 1)); }
    // Appends a node and returns its number.
    int append(NodeRecord record);
    // Empties the table (only the network reset does this).
    void clear() { nodes_.clear(); }
    // The first node named exactly `name`, or 0.
    int find(std::string_view name) const;

    int currentNode = 0;   // 0: the root or nothing is selected
    int localNode = 0;     // node whose address is localAddress
    std::string localAddress;

private:
    std::vector<NodeRecord> nodes_;
};

// Server, user and password of the next management connection; all three
// empty for this computer.
struct CurrentLogin {
    std::string server;
    std::string user;
    std::string password;
};

}  // namespace vantrel
