#include "store/sqlite/sqlite_database.h"

#include <sqlite3.h>

#include "store/store_error.h"

namespace vantrel::sqlite {

Database::Database(const std::filesystem::path& file, Mode mode) {
    const int flags = (mode == Mode::ReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE) |
                      SQLITE_OPEN_NOMUTEX;
    if (sqlite3_open_v2(file.c_str(), &db_, flags, nullptr) != SQLITE_OK) {
        const std::string why = db_ ? sqlite3_errmsg(db_) : "out of memory";
        sqlite3_close(db_);
        db_ = nullptr;
        throw StoreError("cannot open " + file.string() + ": " + why);
    }
    sqlite3_extended_result_codes(db_, 1);
}

Database::~Database() { sqlite3_close_v2(db_); }

void Database::fail(std::string_view what) const {
    throw StoreError(std::string(what) + ": " + sqlite3_errmsg(db_));
}

void Database::exec(std::string_view sql) {
    const std::string text(sql);
    if (sqlite3_exec(db_, text.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) fail("the inventory store failed");
}

Statement Database::prepare(std::string_view sql) { return Statement(*this, sql); }

std::int64_t Database::lastInsertId() const { return sqlite3_last_insert_rowid(db_); }

Statement::Statement(const Database& db, std::string_view sql) : db_(&db) {
    if (sqlite3_prepare_v2(db.handle(), sql.data(), static_cast<int>(sql.size()), &stmt_, nullptr) != SQLITE_OK)
        db.fail("the inventory store cannot be read");
}

Statement::~Statement() { sqlite3_finalize(stmt_); }

Statement::Statement(Statement&& other) noexcept : db_(other.db_), stmt_(other.stmt_) { other.stmt_ = nullptr; }

Statement& Statement::bind(int index, std::int64_t value) {
    if (sqlite3_bind_int64(stmt_, index, value) != SQLITE_OK) db_->fail("the inventory store failed");
    return *this;
}

Statement& Statement::bind(int index, std::string_view text) {
    if (sqlite3_bind_text64(stmt_, index, text.data(), text.size(), SQLITE_TRANSIENT, SQLITE_UTF8) != SQLITE_OK)
        db_->fail("the inventory store failed");
    return *this;
}

Statement& Statement::bindBlob(int index, std::string_view bytes) {
    if (sqlite3_bind_blob64(stmt_, index, bytes.data(), bytes.size(), SQLITE_TRANSIENT) != SQLITE_OK)
        db_->fail("the inventory store failed");
    return *this;
}

Statement& Statement::bindNull(int index) {
    if (sqlite3_bind_null(stmt_, index) != SQLITE_OK) db_->fail("the inventory store failed");
    return *this;
}

bool Statement::step() {
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    db_->fail("the inventory store failed");
}

void Statement::reset() {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

std::int64_t Statement::integer(int column) const { return sqlite3_column_int64(stmt_, column); }

std::string Statement::text(int column) const {
    // Whatever the column holds comes back as bytes; a number as its text.
    const auto* bytes = static_cast<const char*>(sqlite3_column_blob(stmt_, column));
    const int size = sqlite3_column_bytes(stmt_, column);
    return bytes ? std::string(bytes, static_cast<std::size_t>(size)) : std::string();
}

bool Statement::isNull(int column) const { return sqlite3_column_type(stmt_, column) == SQLITE_NULL; }

WriteTransaction::WriteTransaction(Database& db) : db_(db), outermost_(sqlite3_get_autocommit(db.handle()) != 0) {
    if (outermost_) db_.exec("BEGIN IMMEDIATE");
}

WriteTransaction::~WriteTransaction() {
    if (outermost_ && !done_) sqlite3_exec(db_.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

void WriteTransaction::commit() {
    if (outermost_) db_.exec("COMMIT");
    done_ = true;
}

}  // namespace vantrel::sqlite
