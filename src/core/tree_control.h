#pragma once
// A tree view as the program uses it: items with a unique key, text, image
// key, tag and check box, kept in insertion order under their parent. The Qt
// tree widget shows it through a listener; tests read it directly.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/error.h"
#include "core/image_key.h"

namespace vantrel {

// Where an added item goes, relative to an existing one (the tree view's
// relationship codes; the program uses only Child).
enum class TreeRelationship { First = 0, Last = 1, Next = 2, Previous = 3, Child = 4 };

struct TreeItem {
    std::string key;
    std::string text;
    ImageKey image = ImageKey::None;
    std::string tag;
    bool checked = false;
    int parent = -1;              // index of the parent item, -1 for a root
    std::vector<int> children;    // indices, in the order they were added
    std::string toolTip;          // shown when the pointer rests on the item
};

// What changed, for views that mirror the tree.
enum class TreeChange { Cleared, Added, ItemChanged, Selection, Visibility, LabelEditing, Redraw };

// Lets the key index be searched with a string_view, without a temporary string.
struct TreeKeyHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view key) const noexcept { return std::hash<std::string_view>{}(key); }
};

class TreeControl {
public:
    // Removes every item.
    void clear();
    // Adds a root item; returns its index. Throws TreeError on a duplicate key.
    int addRoot(std::string key, std::string text, ImageKey image);
    // Adds an item related to the item with `relativeKey`; only Child (the
    // relative's last child) is supported. Throws TreeError when no item has that key or the key is taken;
    // nothing is added then.
    int add(std::string_view relativeKey, TreeRelationship relationship, std::string key, std::string text,
            ImageKey image);

    // Index of the item with `key`, if any.
    std::optional<int> find(std::string_view key) const;
    // Like find, but throws TreeError for an unknown key.
    int at(std::string_view key) const;

    const TreeItem& item(int index) const { return items_.at(static_cast<std::size_t>(index)); }
    int itemCount() const { return static_cast<int>(items_.size()); }
    std::vector<int> roots() const;

    void setText(int index, std::string text);
    void setImage(int index, ImageKey image);
    void setTag(int index, std::string tag);
    void setChecked(int index, bool checked);
    void setToolTip(int index, std::string toolTip);

    // The selected item, or nothing.
    std::optional<int> selected() const { return selected_; }
    void select(std::optional<int> index);

    bool visible() const { return visible_; }
    void setVisible(bool visible);
    void redraw();
    int redrawCount() const { return redrawCount_; }

    // Label editing: automatic lets the user edit an item's text in place.
    bool labelEditAutomatic() const { return labelEditAutomatic_; }
    void setLabelEditAutomatic(bool automatic);

    using Listener = std::function<void(TreeChange, int index)>;
    void setListener(Listener listener) { listener_ = std::move(listener); }

private:
    int insert(std::string key, std::string text, ImageKey image, int parent);
    void notify(TreeChange change, int index) const;

    std::vector<TreeItem> items_;
    std::unordered_map<std::string, int, TreeKeyHash, std::equal_to<>> byKey_;
    std::optional<int> selected_;
    bool visible_ = true;
    bool labelEditAutomatic_ = false;
    int redrawCount_ = 0;
    Listener listener_;
};

}  // namespace vantrel
