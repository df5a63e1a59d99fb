#include "store/sqlite/sqlite_inventory_store.h"

#include <algorithm>

#include <sqlite3.h>

#include "store/answers_json.h"
#include "store/previous_scan_changes.h"
#include "store/store_error.h"

#include "store/stored_time.h"

namespace vantrel {

namespace {

constexpr int kSchemaVersion = 1;
// Long enough for another program's scan to be recorded, short enough that
// a stuck writer cannot hold a scan up for long.
constexpr int kBusyTimeoutMs = 10000;

std::int64_t contentHash(std::string_view bytes) {
    std::uint64_t h = 1469598103934665603ull;  // FNV-1a: equal bodies are compared anyway
    for (unsigned char c : bytes) h = (h ^ c) * 1099511628211ull;
    return static_cast<std::int64_t>(h);
}

}  // namespace

SqliteInventoryStore::SqliteInventoryStore(const std::filesystem::path& file)
    : db_(file, sqlite::Database::Mode::ReadWrite) {
    db_.exec("PRAGMA busy_timeout = " + std::to_string(kBusyTimeoutMs));
    // With the write-ahead log, NORMAL never corrupts the file; a power cut
    // may cost the last scans' history, whose reports are on disk anyway,
    // and a scan is not held up by a disk flush.
    db_.exec("PRAGMA synchronous = NORMAL");
    createTables();
}

void SqliteInventoryStore::createTables() {
    const std::int64_t found = [&] {
        auto version = db_.prepare("PRAGMA user_version");
        version.step();
        return version.integer(0);
    }();
    if (found > kSchemaVersion)
        throw StoreError("the inventory store was made by a later version of the program (schema " +
                         std::to_string(found) + ")");
    if (found == kSchemaVersion) return;
    // WAL lets the desktop program and the command line read while one writes.
    db_.exec("PRAGMA journal_mode = WAL");
    sqlite::WriteTransaction transaction(db_);
    db_.exec(
        "CREATE TABLE IF NOT EXISTS content (id INTEGER PRIMARY KEY, hash INTEGER NOT NULL, body BLOB NOT NULL);"
        "CREATE INDEX IF NOT EXISTS content_by_hash ON content (hash);"
        "CREATE TABLE IF NOT EXISTS scans (id INTEGER PRIMARY KEY, node TEXT NOT NULL, number INTEGER NOT NULL,"
        " taken_ms INTEGER NOT NULL, source TEXT NOT NULL, address TEXT NOT NULL,"
        " report INTEGER NOT NULL REFERENCES content (id), answers INTEGER REFERENCES content (id),"
        " summary TEXT NOT NULL, UNIQUE (node, number));"
        "CREATE TABLE IF NOT EXISTS settings (key TEXT PRIMARY KEY, value TEXT NOT NULL);"
        "PRAGMA user_version = 1;");
    transaction.commit();
}

std::int64_t SqliteInventoryStore::keepContent(std::string_view body) {
    const std::int64_t hash = contentHash(body);
    auto find = db_.prepare("SELECT id, body FROM content WHERE hash = ?1");
    find.bind(1, hash);
    while (find.step())
        if (find.text(1) == body) return find.integer(0);
    auto insert = db_.prepare("INSERT INTO content (hash, body) VALUES (?1, ?2)");
    insert.bind(1, hash).bindBlob(2, body);
    insert.step();
    return db_.lastInsertId();
}

std::string SqliteInventoryStore::contentBody(std::int64_t id) {
    auto read = db_.prepare("SELECT body FROM content WHERE id = ?1");
    read.bind(1, id);
    if (!read.step()) throw StoreError("the inventory store lacks the content of a scan");
    return read.text(0);
}

RecordedScan SqliteInventoryStore::recordScan(const CollectedScan& scan) {
    const std::string answers = answersToJson(scan.answers);
    std::lock_guard lock(mutex_);
    return recordLocked(scan, answers);
}

bool SqliteInventoryStore::importReportsOnce(const std::vector<CollectedScan>& reports) {
    std::lock_guard lock(mutex_);
    sqlite::WriteTransaction transaction(db_);
    auto claim = db_.prepare("INSERT OR IGNORE INTO settings (key, value) VALUES ('reports imported', 'yes')");
    claim.step();
    if (sqlite3_changes(db_.handle()) == 0) return false;
    for (const auto& report : reports) recordLocked(report, answersToJson(report.answers));
    transaction.commit();
    return true;
}

RecordedScan SqliteInventoryStore::recordLocked(const CollectedScan& scan, const std::string& answers) {
    sqlite::WriteTransaction transaction(db_);
    const std::int64_t reportId = keepContent(scan.reportText);
    // 0: no answers (content ids start at 1).
    const std::int64_t answersId = answers.empty() ? 0 : keepContent(answers);

    RecordedScan recorded;
    recorded.number = 1;
    auto previous = db_.prepare(
        "SELECT number, report, answers, taken_ms, source, summary FROM scans WHERE node = ?1"
        " ORDER BY number DESC LIMIT 1");
    previous.bind(1, scan.node);
    if (previous.step()) {
        recorded.previous = ScanInfo{static_cast<int>(previous.integer(0)), fromMilliseconds(previous.integer(3)),
                                     previous.text(4), previous.text(5)};
        recorded.number = static_cast<int>(std::min<std::int64_t>(previous.integer(0), 0x7ffffffe)) + 1;
        const StoredContentIds before{previous.integer(1), previous.isNull(2) ? 0 : previous.integer(2)};
        recorded.changes = changesSincePrevious(before, {reportId, answersId}, ScanContent{scan.reportText, scan.answers},
                                                [&](std::int64_t id) { return contentBody(id); });
    }
    auto insert = db_.prepare(
        "INSERT INTO scans (node, number, taken_ms, source, address, report, answers, summary)"
        " VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8)");
    insert.bind(1, scan.node).bind(2, recorded.number).bind(3, toMilliseconds(scan.time));
    insert.bind(4, scanSourceText(scan.source)).bind(5, scan.address).bind(6, reportId);
    if (answersId != 0) insert.bind(7, answersId);
    else insert.bindNull(7);
    insert.bind(8, recorded.changes ? changeSummary(*recorded.changes) : std::string("first scan"));
    insert.step();
    transaction.commit();
    return recorded;
}

std::vector<ScanInfo> SqliteInventoryStore::listScans(std::string_view node) {
    std::lock_guard lock(mutex_);
    auto list = db_.prepare("SELECT number, taken_ms, source, summary FROM scans WHERE node = ?1 ORDER BY number");
    list.bind(1, node);
    std::vector<ScanInfo> scans;
    while (list.step())
        scans.push_back({static_cast<int>(list.integer(0)), fromMilliseconds(list.integer(1)), list.text(2), list.text(3)});
    return scans;
}

std::optional<StoredScan> SqliteInventoryStore::loadScan(std::string_view node, int number) {
    std::lock_guard lock(mutex_);
    auto load = db_.prepare(
        "SELECT s.taken_ms, s.source, s.summary, s.address, r.body, a.body FROM scans s"
        " JOIN content r ON r.id = s.report LEFT JOIN content a ON a.id = s.answers"
        " WHERE s.node = ?1 AND s.number = ?2");
    load.bind(1, node).bind(2, number);
    if (!load.step()) return std::nullopt;
    StoredScan scan;
    scan.info = {number, fromMilliseconds(load.integer(0)), load.text(1), load.text(2)};
    scan.node = std::string(node);
    scan.address = load.text(3);
    scan.content.reportText = load.text(4);
    scan.content.answers = answersFromJson(load.text(5));
    return scan;
}

std::vector<std::string> SqliteInventoryStore::nodes() {
    std::lock_guard lock(mutex_);
    auto list = db_.prepare("SELECT DISTINCT node FROM scans ORDER BY node");
    std::vector<std::string> names;
    while (list.step()) names.push_back(list.text(0));
    return names;
}

std::vector<NodeLastScan> SqliteInventoryStore::lastScans() {
    std::lock_guard lock(mutex_);
    auto list = db_.prepare(
        "SELECT node, number, taken_ms, source, summary FROM scans s"
        " WHERE number = (SELECT MAX(number) FROM scans WHERE node = s.node) ORDER BY node");
    std::vector<NodeLastScan> last;
    while (list.step())
        last.push_back({list.text(0), {static_cast<int>(list.integer(1)), fromMilliseconds(list.integer(2)), list.text(3),
                                       list.text(4)}});
    return last;
}

std::string SqliteInventoryStore::setting(std::string_view key) {
    std::lock_guard lock(mutex_);
    auto read = db_.prepare("SELECT value FROM settings WHERE key = ?1");
    read.bind(1, key);
    return read.step() ? read.text(0) : std::string();
}

void SqliteInventoryStore::setSetting(std::string_view key, std::string_view value) {
    std::lock_guard lock(mutex_);
    auto write = db_.prepare("INSERT OR REPLACE INTO settings (key, value) VALUES (?1, ?2)");
    write.bind(1, key).bind(2, value);
    write.step();
}

std::int64_t SqliteInventoryStore::contentCount() {
    std::lock_guard lock(mutex_);
    auto count = db_.prepare("SELECT count(*) FROM content");
    count.step();
    return count.integer(0);
}

}  // namespace vantrel
