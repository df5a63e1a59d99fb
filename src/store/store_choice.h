#pragma once
// Which store keeps the history: the embedded one of the program folder, or
// a shared one on a PostgreSQL server, named by a libpq URL given on the
// command line or kept in the folder's "store.ini" ("target=postgresql://...").
// The node table and logins stay in the folder either way.

#include <functional>
#include <memory>
#include <string>

#include "collect/scan_recorder.h"
#include "core/program_folder.h"
#include "store/home_store.h"
#include "store/inventory_store.h"

namespace vantrel {

// The folder's setting; empty (the embedded store) when there is none.
std::string storeTargetSetting(const ProgramFolder& folder);

// Keeps `target` as the folder's setting (checked first; empty: the
// folder's own store), written whole. Throws StoreError.
void saveStoreTargetSetting(const ProgramFolder& folder, const std::string& target);

// The target when it may be used. Throws StoreError for a target that is
// no PostgreSQL URL or connection string, or that holds a password (it
// belongs in ~/.pgpass or PGPASSWORD, never on a command line or in a file
// others may read).
std::string checkedStoreTarget(const std::string& target);
// `chosen` when given, else the folder's setting, checked; empty for the
// folder's own store.
std::string storeTarget(const ProgramFolder& folder, const std::string& chosen);

// Opens the store `target` names (empty: the folder's own). Throws StoreError.
std::unique_ptr<InventoryStore> openInventoryStore(const ProgramFolder& folder, const std::string& target);

// The recorder of every collection for that store.
std::shared_ptr<ScanRecorder> makeScanRecorder(const ProgramFolder& folder, const std::string& target,
                                               std::function<void(const std::string&)> notice,
                                               std::function<void(const HardwareChange&)> changed = {});

}  // namespace vantrel
