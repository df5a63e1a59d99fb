#pragma once
// What the history commands share: the inventory store (the program
// folder's, or the shared one of --store) and a node named on the command line.

#include <memory>
#include <string>

#include "store/inventory_store.h"

namespace vantrel::cli {

// The store of --store, else the one the folder of --home (or the desktop
// program's default folder) names in its settings, else that folder's own.
// Throws Error (FolderError, StoreError).
std::unique_ptr<InventoryStore> openStoreOfHome(const std::string& home);

// The stored node named `name`: exactly, else the one whose name differs
// only in letter case; empty when there is none (or more than one).
std::string findStoredNode(InventoryStore& store, const std::string& name);

}  // namespace vantrel::cli
