#include "core/node_table.h"

namespace vantrel {

int NodeTable::append(NodeRecord record) {
    nodes_.push_back(std::move(record));
    return nodeCount();
}

}  // namespace vantrel
