#include "store/home_store.h"

#include <syslog.h>

#include "store/report_import.h"
#include "store/store_error.h"

namespace vantrel {

std::filesystem::path inventoryFile(const ProgramFolder& folder) { return folder.root() / "inventory.db"; }

std::unique_ptr<SqliteInventoryStore> openHomeStore(const ProgramFolder& folder) {
    auto store = std::make_unique<SqliteInventoryStore>(inventoryFile(folder));
    if (store->setting("reports imported").empty()) store->importReportsOnce(reportsOnDisk(folder));
    return store;
}

std::optional<HardwareChange> hardwareChange(const CollectedScan& scan, const RecordedScan& recorded) {
    if (!recorded.changes || recorded.changes->empty()) return std::nullopt;
    ScanInfo newer{recorded.number, scan.time, std::string(scanSourceText(scan.source)), {}};
    const ScanInfo older = recorded.previous.value_or(ScanInfo{});
    newer.summary = changeSummary(*recorded.changes);
    return HardwareChange{{scan.node, scan.address, older, newer}, *recorded.changes};
}

void announceChange(const HardwareChange& change, const std::function<void(const HardwareChange&)>& changed) noexcept {
    // The system log keeps every change, whether or not anyone listens.
    syslog(LOG_NOTICE, "vantrel: hardware of %s changed: %s", change.header.node.c_str(),
           change.header.newer.summary.c_str());
    try {
        if (changed) changed(change);
    } catch (...) {
    }
}

HomeStoreRecorder::HomeStoreRecorder(ProgramFolder folder, std::function<void(const std::string&)> notice,
                                     std::function<void(const HardwareChange&)> changed)
    : folder_(std::move(folder)), notice_(std::move(notice)), changed_(std::move(changed)) {
    // At once, so that the reports on disk are taken in before a scan replaces them.
    std::lock_guard lock(mutex_);
    try {
        store_ = openHomeStore(folder_);
    } catch (const std::exception& e) {
        fail(e.what());
    }
}

void HomeStoreRecorder::fail(const std::string& why) noexcept {
    if (told_) return;
    told_ = true;
    try {
        if (notice_) notice_("The scan history is not kept (" + why + "); the reports are written as before");
    } catch (...) {
    }
}

void HomeStoreRecorder::record(const CollectedScan& scan) noexcept {
    std::optional<HardwareChange> change;
    {
        std::lock_guard lock(mutex_);
        try {
            if (!store_) store_ = openHomeStore(folder_);
            change = hardwareChange(scan, store_->recordScan(scan));
        } catch (const std::exception& e) {
            // A store that failed once may be in any state: open it again next time.
            store_.reset();
            fail(e.what());
            return;
        }
    }
    if (change) announceChange(*change, changed_);
}

}  // namespace vantrel
