#pragma once
// The embedded inventory store: one SQLite file in write-ahead-log mode,
// which several programs may write at once (each waits its turn on the busy
// timeout). Report texts and answers are kept once per distinct content, so
// a scan of an unchanged node adds only its row.

#include <filesystem>
#include <mutex>

#include "store/inventory_store.h"
#include "store/sqlite/sqlite_database.h"

namespace vantrel {

class SqliteInventoryStore final : public InventoryStore {
public:
    // Opens the file, creating it and its tables when missing. Throws
    // StoreError for a file that cannot be opened, is not a database, or
    // was made by a later version of the program.
    explicit SqliteInventoryStore(const std::filesystem::path& file);

    RecordedScan recordScan(const CollectedScan& scan) override;
    std::vector<ScanInfo> listScans(std::string_view node) override;
    std::optional<StoredScan> loadScan(std::string_view node, int number) override;
    std::vector<std::string> nodes() override;
    std::vector<NodeLastScan> lastScans() override;

    // Records the reports, once in the store's life: false (and nothing
    // recorded) when they were taken in before, by this or another program.
    bool importReportsOnce(const std::vector<CollectedScan>& reports);

    // A value of the store's own (such as whether old reports were taken
    // in); empty when unset.
    std::string setting(std::string_view key);
    void setSetting(std::string_view key, std::string_view value);
    // How many distinct report texts and answers are kept.
    std::int64_t contentCount();

private:
    void createTables();
    RecordedScan recordLocked(const CollectedScan& scan, const std::string& answers);
    std::int64_t keepContent(std::string_view body);
    std::string contentBody(std::int64_t id);

    std::mutex mutex_;  // one connection, shared by the collecting threads
    sqlite::Database db_;
};

}  // namespace vantrel
