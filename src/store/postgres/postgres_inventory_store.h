#pragma once
// The shared inventory store on a PostgreSQL server, for a team whose
// scanners and consoles keep one history. Any number of programs may record
// at once: a node's scans are numbered under a lock on that node's row, so
// none is lost or numbered twice. Report texts and answers are kept once per
// distinct content, as in the embedded store.

#include <memory>
#include <mutex>
#include <string>

#include "store/inventory_store.h"
#include "store/postgres/pg_connection.h"

namespace vantrel {

class PostgresInventoryStore final : public InventoryStore {
public:
    // Connects (a libpq URL or connection string: TLS when the server offers
    // it unless sslmode says otherwise, the password from ~/.pgpass or the
    // environment) and creates or migrates the tables. Throws StoreError.
    explicit PostgresInventoryStore(std::string target);

    RecordedScan recordScan(const CollectedScan& scan) override;
    std::vector<ScanInfo> listScans(std::string_view node) override;
    std::optional<StoredScan> loadScan(std::string_view node, int number) override;
    std::vector<std::string> nodes() override;
    std::vector<NodeLastScan> lastScans() override;

    // The target without any password, for messages.
    std::string shownTarget() const;
    bool encrypted();

private:
    // The connection, opened again when the server went away since.
    pg::Connection& connection();
    // Runs `step` on the connection; when the connection turns out to have
    // gone (a server restarted since the last call is only found out by
    // using it), once more on a new one. A step that failed on a dead
    // connection did not commit, so running it again keeps nothing twice
    // (short of the connection dying in the very moment of COMMIT).
    template <typename Step>
    auto retried(Step step);
    RecordedScan recordOnce(const CollectedScan& scan, const std::string& answers);
    std::int64_t keepContent(std::string_view body);
    std::string contentBody(std::int64_t id);

    std::string target_;
    std::mutex mutex_;  // one connection, shared by the collecting threads
    std::unique_ptr<pg::Connection> connection_;
};

}  // namespace vantrel
