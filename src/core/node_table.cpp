#include "core/node_table.h"

namespace vantrel {

int NodeTable::append(NodeRecord record) {
    nodes_.push_back(std::move(record));
    return nodeCount();
}

int NodeTable::find(std::string_view name) const {
    for (int i = 1; i <= nodeCount(); ++i)
        if (node(i).name == name) return i;
    return 0;
}

}  // namespace vantrel
