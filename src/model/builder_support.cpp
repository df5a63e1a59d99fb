#include "model/builder_support.h"

namespace vantrel::model {

void addItem(TreeControl& tree, std::string_view category, std::string key, std::string text, ImageKey image) {
    tree.add(category, TreeRelationship::Child, std::move(key), std::move(text), image);
}

void addNotDetected(TreeControl& tree, std::string_view category, std::string_view key) {
    std::string k(key);
    if (k.empty()) k = std::string(category.substr(0, category.find(' '))) + "a node";
    addItem(tree, category, std::move(k), "NON DETECTED", ImageKey::NotDetected);
}

bool containsAt(std::string_view text, std::string_view part, std::size_t from) {
    const auto at = text.find(part);
    return at != std::string_view::npos && at + 1 >= from;
}

}  // namespace vantrel::model
