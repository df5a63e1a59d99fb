#include "core/node_connections.h"

#include <algorithm>

namespace vantrel {

NodeConnection NodeConnections::forNode(const std::string& nodeName) const {
    for (const auto& [name, connection] : records_)
        if (name == nodeName) return connection;
    return {};
}

void NodeConnections::set(const std::string& nodeName, NodeConnection connection) {
    if (connection.isDefault()) {
        remove(nodeName);
        return;
    }
    for (auto& [name, stored] : records_)
        if (name == nodeName) {
            stored = std::move(connection);
            return;
        }
    records_.emplace_back(nodeName, std::move(connection));
}

void NodeConnections::remove(const std::string& nodeName) {
    std::erase_if(records_, [&](const auto& record) { return record.first == nodeName; });
}

bool NodeConnections::contains(const std::string& nodeName) const {
    return std::any_of(records_.begin(), records_.end(), [&](const auto& record) { return record.first == nodeName; });
}

}  // namespace vantrel
