#include "store/shared_store_recorder.h"

#include <utility>

#include "store/postgres/pg_connection.h"
#include "store/store_error.h"

namespace vantrel {

std::filesystem::path scanQueueFile(const ProgramFolder& folder) { return folder.root() / "pending-scans.db"; }

SharedStoreRecorder::SharedStoreRecorder(ProgramFolder folder, std::string target,
                                         std::function<void(const std::string&)> notice,
                                         std::function<void(const HardwareChange&)> changed)
    : folder_(std::move(folder)), target_(std::move(target)), notice_(std::move(notice)), changed_(std::move(changed)) {
    std::lock_guard lock(mutex_);
    try {
        deliverQueue();
    } catch (const std::exception& e) {
        store_.reset();
        try {
            const std::int64_t count = ScanQueue(scanQueueFile(folder_)).size();
            toldOutage_ = count > 0;
            if (count > 0)
                tell("The shared inventory store cannot be reached (" + std::string(e.what()) + "); " +
                     std::to_string(count) + " scans wait in this computer's queue");
        } catch (const std::exception& local) {
            tell("The scan queue cannot be read (" + std::string(local.what()) + ")");
        }
    }
}

void SharedStoreRecorder::tell(const std::string& text) noexcept {
    try {
        if (notice_) notice_(text);
    } catch (...) {
    }
}

void SharedStoreRecorder::deliverQueue() {
    if (!store_) store_ = std::make_unique<PostgresInventoryStore>(target_);
    ScanQueue queue(scanQueueFile(folder_));
    if (queue.size() == 0) return;
    const std::int64_t delivered = queue.deliver(*store_);
    if (delivered > 0)
        tell(std::to_string(delivered) + " waiting scans were delivered to " + store_->shownTarget());
}

std::int64_t SharedStoreRecorder::waiting() noexcept {
    std::lock_guard lock(mutex_);
    try {
        return ScanQueue(scanQueueFile(folder_)).size();
    } catch (...) {
        return -1;
    }
}

void SharedStoreRecorder::record(const CollectedScan& scan) noexcept {
    std::optional<HardwareChange> change;
    {
        std::lock_guard lock(mutex_);
        try {
            deliverQueue();
            change = hardwareChange(scan, store_->recordScan(scan));
            toldOutage_ = false;
        } catch (const std::exception& e) {
            // A store that failed may have lost its connection: connect afresh next time.
            store_.reset();
            try {
                ScanQueue queue(scanQueueFile(folder_));
                queue.push(scan);
                if (!std::exchange(toldOutage_, true))
                    tell("The shared inventory store cannot be reached (" + std::string(e.what()) + "); " +
                         std::to_string(queue.size()) + " scans wait in this computer's queue");
            } catch (const std::exception& local) {
                tell("The scan history is not kept (" + std::string(local.what()) +
                     "); the reports are written as before");
            }
            return;
        }
    }
    if (change) announceChange(*change, changed_);
}

}  // namespace vantrel
