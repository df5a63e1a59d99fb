#include "core/node_label.h"

namespace vantrel {

std::optional<std::string> nodeLabel(const NodeRecord& node, NodeLabelMode mode, AddressGap gap) {
    switch (mode) {
        case NodeLabelMode::Name: return node.displayName;
        case NodeLabelMode::Ip: return node.address;
        case NodeLabelMode::IpName:
            return node.displayName + (gap == AddressGap::Space ? " (" : "(") + node.address + ")";
        case NodeLabelMode::Other: break;
    }
    return std::nullopt;
}

}  // namespace vantrel
