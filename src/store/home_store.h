#pragma once
// The inventory store of a program folder ("inventory.db" beside the node
// folders) as both programs keep it: opened when first needed, the reports
// already on disk taken in on its first start, and every collection recorded
// after its report. A store that cannot be opened or written never stops a
// scan: the program is told once, and the reports go on as before.

#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "collect/scan_recorder.h"
#include "core/program_folder.h"
#include "store/change_format.h"
#include "store/sqlite/sqlite_inventory_store.h"

namespace vantrel {

std::filesystem::path inventoryFile(const ProgramFolder& folder);

// Opens the folder's store and takes in the reports on disk the first time.
// Throws StoreError.
std::unique_ptr<SqliteInventoryStore> openHomeStore(const ProgramFolder& folder);

// A node's hardware changed between its previous scan and this one.
struct HardwareChange {
    ChangeHeader header;
    ScanChanges changes;
};

// The change a recorded scan brought, if any.
std::optional<HardwareChange> hardwareChange(const CollectedScan& scan, const RecordedScan& recorded);
// Logs the change to the system log and tells `changed` (which may be empty); never throws.
void announceChange(const HardwareChange& change, const std::function<void(const HardwareChange&)>& changed) noexcept;

class HomeStoreRecorder final : public ScanRecorder {
public:
    // Opens the store at once. `notice` hears, once, why scans are not
    // kept; `changed` hears every change (from the collecting thread).
    // Both may be empty.
    HomeStoreRecorder(ProgramFolder folder, std::function<void(const std::string&)> notice,
                      std::function<void(const HardwareChange&)> changed = {});

    void record(const CollectedScan& scan) noexcept override;

private:
    void fail(const std::string& why) noexcept;

    ProgramFolder folder_;
    std::function<void(const std::string&)> notice_;
    std::function<void(const HardwareChange&)> changed_;
    std::mutex mutex_;
    std::unique_ptr<SqliteInventoryStore> store_;
    bool told_ = false;
};

}  // namespace vantrel
