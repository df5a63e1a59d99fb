#pragma once
// What the history commands share: the program folder's inventory store and
// a node named on the command line.

#include <memory>
#include <string>

#include "store/sqlite/sqlite_inventory_store.h"

namespace vantrel::cli {

// The store of --home (or the desktop program's default folder). Throws
// Error (FolderError, StoreError).
std::unique_ptr<SqliteInventoryStore> openStoreOfHome(const std::string& home);

// The stored node named `name`: exactly, else the one whose name differs
// only in letter case; empty when there is none (or more than one).
std::string findStoredNode(InventoryStore& store, const std::string& name);

}  // namespace vantrel::cli
