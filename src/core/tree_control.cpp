#include "core/tree_control.h"

namespace vantrel {

void TreeControl::clear() {
    items_.clear();
    byKey_.clear();
    selected_.reset();
    notify(TreeChange::Cleared, -1);
}

int TreeControl::insert(std::string key, std::string text, ImageKey image, int parent) {
    if (byKey_.find(std::string_view(key)) != byKey_.end()) throw TreeError("Key is not unique in collection: " + key);
    const int index = itemCount();
    items_.push_back(TreeItem{key, std::move(text), image, {}, false, parent, {}});
    byKey_.emplace(std::move(key), index);
    if (parent >= 0) items_[static_cast<std::size_t>(parent)].children.push_back(index);
    notify(TreeChange::Added, index);
    return index;
}

int TreeControl::addRoot(std::string key, std::string text, ImageKey image) {
    return insert(std::move(key), std::move(text), image, -1);
}

int TreeControl::add(std::string_view relativeKey, TreeRelationship relationship, std::string key, std::string text,
                     ImageKey image) {
    if (relationship != TreeRelationship::Child)
        throw TreeError("Unsupported relationship " + std::to_string(static_cast<int>(relationship)));
    const int parent = at(relativeKey);
    return insert(std::move(key), std::move(text), image, parent);
}

std::optional<int> TreeControl::find(std::string_view key) const {
    auto it = byKey_.find(key);
    if (it == byKey_.end()) return std::nullopt;
    return it->second;
}

int TreeControl::at(std::string_view key) const {
    auto index = find(key);
    if (!index) throw TreeError("Element not found: " + std::string(key));
    return *index;
}

std::vector<int> TreeControl::roots() const {
    std::vector<int> out;
    for (int i = 0; i < itemCount(); ++i)
        if (items_[static_cast<std::size_t>(i)].parent < 0) out.push_back(i);
    return out;
}

void TreeControl::setText(int index, std::string text) {
    items_.at(static_cast<std::size_t>(index)).text = std::move(text);
    notify(TreeChange::ItemChanged, index);
}

void TreeControl::setImage(int index, ImageKey image) {
    items_.at(static_cast<std::size_t>(index)).image = image;
    notify(TreeChange::ItemChanged, index);
}

void TreeControl::setTag(int index, std::string tag) {
    items_.at(static_cast<std::size_t>(index)).tag = std::move(tag);
    notify(TreeChange::ItemChanged, index);
}

void TreeControl::setToolTip(int index, std::string toolTip) {
    items_.at(static_cast<std::size_t>(index)).toolTip = std::move(toolTip);
    notify(TreeChange::ItemChanged, index);
}

void TreeControl::setChecked(int index, bool checked) {
    items_.at(static_cast<std::size_t>(index)).checked = checked;
    notify(TreeChange::ItemChanged, index);
}

void TreeControl::select(std::optional<int> index) {
    if (index && (*index < 0 || *index >= itemCount())) throw TreeError("No such item");
    selected_ = index;
    notify(TreeChange::Selection, index.value_or(-1));
}

void TreeControl::setVisible(bool visible) {
    visible_ = visible;
    notify(TreeChange::Visibility, -1);
}

void TreeControl::redraw() {
    ++redrawCount_;
    notify(TreeChange::Redraw, -1);
}

void TreeControl::setLabelEditAutomatic(bool automatic) {
    labelEditAutomatic_ = automatic;
    notify(TreeChange::LabelEditing, -1);
}

void TreeControl::notify(TreeChange change, int index) const {
    if (listener_) listener_(change, index);
}

}  // namespace vantrel
