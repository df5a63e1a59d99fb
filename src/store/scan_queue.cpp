#include "store/scan_queue.h"

#include <optional>

#include "store/answers_json.h"
#include "store/store_error.h"

namespace vantrel {

namespace {

constexpr int kBusyTimeoutMs = 10000;

std::optional<ScanSource> sourceFromNumber(std::int64_t number) {
    for (ScanSource s : {ScanSource::Local, ScanSource::Remote, ScanSource::Profile, ScanSource::ImportedReport,
                         ScanSource::Ssh})
        if (static_cast<std::int64_t>(s) == number) return s;
    return std::nullopt;
}

}  // namespace

ScanQueue::ScanQueue(const std::filesystem::path& file) : db_(file, sqlite::Database::Mode::ReadWrite) {
    db_.exec("PRAGMA busy_timeout = " + std::to_string(kBusyTimeoutMs));
    // A queued scan may be the only copy of its answers: wait for the disk.
    db_.exec("PRAGMA synchronous = FULL");
    db_.exec(
        "CREATE TABLE IF NOT EXISTS waiting (id INTEGER PRIMARY KEY AUTOINCREMENT, node BLOB NOT NULL,"
        " address BLOB NOT NULL, source INTEGER NOT NULL, taken_ms INTEGER NOT NULL, report BLOB NOT NULL,"
        " answers BLOB NOT NULL)");
}

void ScanQueue::push(const CollectedScan& scan) {
    auto insert = db_.prepare(
        "INSERT INTO waiting (node, address, source, taken_ms, report, answers) VALUES (?1, ?2, ?3, ?4, ?5, ?6)");
    insert.bindBlob(1, scan.node).bindBlob(2, scan.address).bind(3, static_cast<std::int64_t>(scan.source));
    insert.bind(4, std::chrono::duration_cast<std::chrono::milliseconds>(scan.time.time_since_epoch()).count());
    insert.bindBlob(5, scan.reportText).bindBlob(6, answersToJson(scan.answers));
    insert.step();
}

std::int64_t ScanQueue::size() {
    auto count = db_.prepare("SELECT count(*) FROM waiting");
    count.step();
    return count.integer(0);
}

std::int64_t ScanQueue::deliver(InventoryStore& store) {
    std::int64_t delivered = 0;
    for (;;) {
        // Held while the scan goes over, so that two programs of this
        // folder never send the same scan.
        sqlite::WriteTransaction transaction(db_);
        auto next = db_.prepare(
            "SELECT id, node, address, source, taken_ms, report, answers FROM waiting ORDER BY id LIMIT 1");
        if (!next.step()) return delivered;
        const std::int64_t id = next.integer(0);
        CollectedScan scan;
        scan.node = next.text(1);
        scan.address = next.text(2);
        scan.time = std::chrono::system_clock::time_point(
            std::chrono::duration_cast<std::chrono::system_clock::duration>(std::chrono::milliseconds(next.integer(4))));
        scan.reportText = next.text(5);
        const std::string answers = next.text(6);
        const std::int64_t sourceNumber = next.integer(3);
        next.reset();
        // Answers that cannot be read back cost the scan its identities, not its report.
        try {
            scan.answers = answersFromJson(answers);
        } catch (const StoreError&) {
        }
        // A source we do not know is no row of ours: it would block every scan behind it.
        if (const auto source = sourceFromNumber(sourceNumber)) {
            scan.source = *source;
            store.recordScan(scan);
            ++delivered;
        }
        auto done = db_.prepare("DELETE FROM waiting WHERE id = ?1");
        done.bind(1, id);
        done.step();
        transaction.commit();
    }
}

}  // namespace vantrel
