#include "app/cli_store.h"

#include "app/cli_global_options.h"

#include <optional>

#include "collect/text_case.h"
#include "store/store_choice.h"

namespace vantrel::cli {


std::unique_ptr<InventoryStore> openStoreOfHome(const std::string& home) {
    const ProgramFolder folder(chooseProgramFolder(
        home.empty() ? std::nullopt : std::optional<std::filesystem::path>(home), executableFolder()));
    return openInventoryStore(folder, storeTarget(folder, chosenStore()));
}

std::string findStoredNode(InventoryStore& store, const std::string& name) {
    const auto nodes = store.nodes();
    std::string found;
    for (const auto& node : nodes) {
        if (node == name) return node;
        if (lowerCase(node) != lowerCase(name)) continue;
        if (!found.empty()) return {};  // ambiguous
        found = node;
    }
    return found;
}

}  // namespace vantrel::cli
