#include "store/postgres/postgres_inventory_store.h"

#include <algorithm>

#include "store/answers_json.h"
#include "store/previous_scan_changes.h"
#include "store/postgres/pg_schema.h"
#include "store/store_error.h"

#include "store/stored_time.h"

namespace vantrel {

namespace {

int scanNumber(std::int64_t stored) { return static_cast<int>(std::clamp<std::int64_t>(stored, 0, 0x7fffffff)); }

}  // namespace

PostgresInventoryStore::PostgresInventoryStore(std::string target) : target_(std::move(target)) {
    std::lock_guard lock(mutex_);
    connection();
}

std::string PostgresInventoryStore::shownTarget() const { return pg::shownTarget(target_); }

bool PostgresInventoryStore::encrypted() {
    std::lock_guard lock(mutex_);
    return connection().encrypted();
}

pg::Connection& PostgresInventoryStore::connection() {
    if (connection_ && !connection_->broken()) return *connection_;
    connection_.reset();
    auto fresh = std::make_unique<pg::Connection>(target_);
    pg::migrateSchema(*fresh);
    connection_ = std::move(fresh);
    return *connection_;
}

template <typename Step>
auto PostgresInventoryStore::retried(Step step) {
    try {
        return step(connection());
    } catch (const StoreError&) {
        if (!connection_ || connection_->answers()) throw;
        connection_.reset();
    }
    return step(connection());
}

std::int64_t PostgresInventoryStore::keepContent(std::string_view body) {
    pg::Connection& db = *connection_;
    const pg::Bytes bytes{body};
    const pg::Result inserted = db.exec(
        "INSERT INTO content (digest, body) VALUES (sha256($1), $1) ON CONFLICT (digest) DO NOTHING RETURNING id",
        {bytes});
    if (inserted.rows() == 1) return inserted.integer(0, 0);
    // Kept before, or by another program a moment ago: a new statement sees it.
    const pg::Result found = db.exec("SELECT id FROM content WHERE digest = sha256($1)", {bytes});
    if (found.rows() != 1) throw StoreError("the inventory store lost a content as it was written");
    return found.integer(0, 0);
}

std::string PostgresInventoryStore::contentBody(std::int64_t id) {
    const pg::Result read = connection_->exec("SELECT body FROM content WHERE id = $1", {id});
    if (read.rows() != 1) throw StoreError("the inventory store lacks the content of a scan");
    return read.bytes(0, 0);
}

RecordedScan PostgresInventoryStore::recordScan(const CollectedScan& scan) {
    const std::string answers = answersToJson(scan.answers);
    std::lock_guard lock(mutex_);
    return retried([&](pg::Connection&) { return recordOnce(scan, answers); });
}

RecordedScan PostgresInventoryStore::recordOnce(const CollectedScan& scan, const std::string& answers) {
    pg::Connection& db = *connection_;
    pg::Transaction transaction(db);
    // Taking the node's row (new or not) holds every other writer of this
    // node until we commit, so numbers follow the order of recording.
    const pg::Result node = db.exec(
        "INSERT INTO nodes (name, last_number) VALUES ($1, 1) ON CONFLICT (name)"
        " DO UPDATE SET last_number = nodes.last_number + 1 RETURNING id, last_number",
        {pg::Bytes{scan.node}});
    const std::int64_t nodeId = node.integer(0, 0);
    RecordedScan recorded;
    recorded.number = scanNumber(node.integer(0, 1));
    const std::int64_t reportId = keepContent(scan.reportText);
    const std::int64_t answersId = answers.empty() ? 0 : keepContent(answers);

    const pg::Result previous = db.exec(
        "SELECT number, report, answers, taken_ms, source, summary FROM scans WHERE node = $1"
        " ORDER BY number DESC LIMIT 1",
        {nodeId});
    if (previous.rows() == 1) {
        recorded.previous = ScanInfo{scanNumber(previous.integer(0, 0)), fromMilliseconds(previous.integer(0, 3)),
                                     previous.text(0, 4), previous.bytes(0, 5)};
        const StoredContentIds before{previous.integer(0, 1), previous.isNull(0, 2) ? 0 : previous.integer(0, 2)};
        recorded.changes = changesSincePrevious(before, {reportId, answersId}, ScanContent{scan.reportText, scan.answers},
                                                [&](std::int64_t id) { return contentBody(id); });
    }
    const std::string summary = recorded.changes ? changeSummary(*recorded.changes) : std::string("first scan");
    const pg::Param answersParam = answersId != 0 ? pg::Param{answersId} : pg::Param{nullptr};
    db.exec(
        "INSERT INTO scans (node, number, taken_ms, source, address, report, answers, summary)"
        " VALUES ($1, $2, $3, $4, $5, $6, $7, $8)",
        {nodeId, std::int64_t{recorded.number}, toMilliseconds(scan.time), scanSourceText(scan.source),
         pg::Bytes{scan.address}, reportId, answersParam, pg::Bytes{summary}});
    transaction.commit();
    return recorded;
}

std::vector<ScanInfo> PostgresInventoryStore::listScans(std::string_view node) {
    std::lock_guard lock(mutex_);
    const pg::Result list = retried([&](pg::Connection& db) {
        return db.exec(
            "SELECT s.number, s.taken_ms, s.source, s.summary FROM scans s JOIN nodes n ON n.id = s.node"
            " WHERE n.name = $1 ORDER BY s.number",
            {pg::Bytes{node}});
    });
    std::vector<ScanInfo> scans;
    scans.reserve(static_cast<std::size_t>(list.rows()));
    for (int row = 0; row < list.rows(); ++row)
        scans.push_back({scanNumber(list.integer(row, 0)), fromMilliseconds(list.integer(row, 1)), list.text(row, 2),
                         list.bytes(row, 3)});
    return scans;
}

std::optional<StoredScan> PostgresInventoryStore::loadScan(std::string_view node, int number) {
    std::lock_guard lock(mutex_);
    const pg::Result load = retried([&](pg::Connection& db) {
        return db.exec(
            "SELECT s.taken_ms, s.source, s.summary, s.address, r.body, a.body FROM scans s"
            " JOIN nodes n ON n.id = s.node JOIN content r ON r.id = s.report LEFT JOIN content a ON a.id = s.answers"
            " WHERE n.name = $1 AND s.number = $2",
            {pg::Bytes{node}, std::int64_t{number}});
    });
    if (load.rows() != 1) return std::nullopt;
    StoredScan scan;
    scan.info = {number, fromMilliseconds(load.integer(0, 0)), load.text(0, 1), load.bytes(0, 2)};
    scan.node = std::string(node);
    scan.address = load.bytes(0, 3);
    scan.content.reportText = load.bytes(0, 4);
    scan.content.answers = answersFromJson(load.isNull(0, 5) ? std::string() : load.bytes(0, 5));
    return scan;
}

std::vector<std::string> PostgresInventoryStore::nodes() {
    std::lock_guard lock(mutex_);
    const pg::Result list = retried([&](pg::Connection& db) {
        return db.exec(
            "SELECT name FROM nodes n WHERE EXISTS (SELECT 1 FROM scans s WHERE s.node = n.id) ORDER BY name");
    });
    std::vector<std::string> names;
    for (int row = 0; row < list.rows(); ++row) names.push_back(list.bytes(row, 0));
    return names;
}

std::vector<NodeLastScan> PostgresInventoryStore::lastScans() {
    std::lock_guard lock(mutex_);
    const pg::Result list = retried([&](pg::Connection& db) {
        return db.exec(
            "SELECT n.name, s.number, s.taken_ms, s.source, s.summary FROM nodes n JOIN LATERAL"
            " (SELECT number, taken_ms, source, summary FROM scans WHERE node = n.id ORDER BY number DESC LIMIT 1) s"
            " ON true ORDER BY n.name");
    });
    std::vector<NodeLastScan> last;
    last.reserve(static_cast<std::size_t>(list.rows()));
    for (int row = 0; row < list.rows(); ++row)
        last.push_back({list.bytes(row, 0),
                        {scanNumber(list.integer(row, 1)), fromMilliseconds(list.integer(row, 2)), list.text(row, 3),
                         list.bytes(row, 4)}});
    return last;
}

}  // namespace vantrel
