#pragma once
// Recording into the shared store on a server, without ever losing a scan
// to it: a scan the server cannot take (unreachable, gone mid-write, refusing
// the login) waits in the program folder's queue, and the queue is handed
// over before the next scan once the server is back. The program is told
// once per outage how many scans wait, and when they were delivered.

#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "core/program_folder.h"
#include "store/home_store.h"
#include "store/postgres/postgres_inventory_store.h"
#include "store/scan_queue.h"

namespace vantrel {

std::filesystem::path scanQueueFile(const ProgramFolder& folder);

class SharedStoreRecorder final : public ScanRecorder {
public:
    // Connects at once, delivering what waits; a server that cannot be
    // reached now is tried again with each scan.
    SharedStoreRecorder(ProgramFolder folder, std::string target, std::function<void(const std::string&)> notice,
                        std::function<void(const HardwareChange&)> changed = {});

    void record(const CollectedScan& scan) noexcept override;
    // How many scans wait for the server (-1 when the queue cannot be read).
    std::int64_t waiting() noexcept;

private:
    // Connects when needed and hands over the queue. Throws StoreError.
    void deliverQueue();
    void tell(const std::string& text) noexcept;

    ProgramFolder folder_;
    std::string target_;
    std::function<void(const std::string&)> notice_;
    std::function<void(const HardwareChange&)> changed_;
    std::mutex mutex_;
    std::unique_ptr<PostgresInventoryStore> store_;
    bool toldOutage_ = false;
};

}  // namespace vantrel
