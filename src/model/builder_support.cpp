#include "model/builder_support.h"

#include <algorithm>

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

bool isIntegratedGraphics(std::string_view lowered) {
    auto has = [&](std::string_view part) { return lowered.find(part) != std::string_view::npos; };
    if (has("uhd graphics") || has("hd graphics") || has("iris") || has("basic display") || has("basic render"))
        return true;
    // The paravirtual displays of virtual machines sit on their boards too.
    if (has("virtio") || has("qxl") || has("vmware svga") || has("bochs") || has("cirrus")) return true;
    // "AMD Radeon(TM) Graphics", "Radeon Vega 8 Graphics": a model number marks a card ("Radeon RX 7600").
    if (has("radeon") && has("graphics")) return has("vega") || !std::any_of(lowered.begin(), lowered.end(), [](char c) {
                                                      return c >= '0' && c <= '9';
                                                  });
    return false;
}

}  // namespace vantrel::model
