#pragma once
// How the program reaches each node's management service: over HTTPS (the
// default; with Basic or NTLM, or a Negotiate login), over HTTP with a
// Negotiate login that seals every message, or
// over plain HTTP with the password readable on the wire, or a Linux node
// over SSH (port 22, nothing installed on it); and which
// certificate or CA file it trusts for the node. Kept per node name, apart
// from the node table, whose file layout stays as it is.

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "core/file_value.h"

namespace vantrel {

// "HTTPS", "NEGOTIATE-HTTPS", "NEGOTIATE-HTTP", "PLAIN-HTTP", "SSH" in
// "connections.ini". Any other text is kept as written and reaches the node
// as HTTPS would.
enum class NodeTransport { Other, Https, NegotiateHttps, NegotiateHttp, PlainHttp, Ssh };
constexpr std::array<Spelling<NodeTransport>, 5> spellings(NodeTransport) {
    return {{{NodeTransport::Https, "HTTPS"},
             {NodeTransport::NegotiateHttps, "NEGOTIATE-HTTPS"},
             {NodeTransport::NegotiateHttp, "NEGOTIATE-HTTP"},
             {NodeTransport::PlainHttp, "PLAIN-HTTP"},
             {NodeTransport::Ssh, "SSH"}}};
}

struct NodeConnection {
    FileValue<NodeTransport> transport = NodeTransport::Https;
    std::string trustFile;  // certificate or CA file (PEM); empty: the system's trusted authorities

    // How the node is reached: a transport this program does not know is HTTPS.
    NodeTransport effectiveTransport() const {
        return transport == NodeTransport::Other ? NodeTransport::Https : transport.value();
    }
    // What a node without a record gets.
    bool isDefault() const { return transport == NodeTransport::Https && trustFile.empty(); }
    friend bool operator==(const NodeConnection&, const NodeConnection&) = default;
};

// One record per node name, in the order first stored (the file's order).
class NodeConnections {
public:
    // The node's settings; the defaults for a node without a record.
    NodeConnection forNode(const std::string& nodeName) const;
    // Stores the node's settings; the defaults need no record and remove it.
    void set(const std::string& nodeName, NodeConnection connection);
    void remove(const std::string& nodeName);
    void clear() { records_.clear(); }
    bool contains(const std::string& nodeName) const;

    const std::vector<std::pair<std::string, NodeConnection>>& records() const { return records_; }

private:
    std::vector<std::pair<std::string, NodeConnection>> records_;
};

}  // namespace vantrel
