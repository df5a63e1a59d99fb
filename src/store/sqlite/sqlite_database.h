#pragma once
// A thin layer over the SQLite C library: a connection and prepared
// statements that finalize themselves, every failure a StoreError naming
// what SQLite said.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace vantrel::sqlite {

class Statement;

class Database {
public:
    enum class Mode { ReadWrite, ReadOnly };
    // Opens (and for ReadWrite creates) the file. Throws StoreError.
    Database(const std::filesystem::path& file, Mode mode);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Runs statements without results. Throws StoreError.
    void exec(std::string_view sql);
    Statement prepare(std::string_view sql);
    std::int64_t lastInsertId() const;
    // Throws StoreError with `what` and SQLite's text for the last failure.
    [[noreturn]] void fail(std::string_view what) const;

    sqlite3* handle() const { return db_; }

private:
    sqlite3* db_ = nullptr;
};

class Statement {
public:
    Statement(const Database& db, std::string_view sql);
    ~Statement();
    Statement(Statement&& other) noexcept;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    // Parameters count from 1, as in SQL.
    Statement& bind(int index, std::int64_t value);
    Statement& bind(int index, std::string_view text);
    Statement& bindBlob(int index, std::string_view bytes);
    Statement& bindNull(int index);
    // True while a row is there to read; false when done. Throws StoreError.
    bool step();
    // Ready to run again with new parameters.
    void reset();

    std::int64_t integer(int column) const;
    std::string text(int column) const;  // also a blob's bytes
    bool isNull(int column) const;

private:
    const Database* db_;
    sqlite3_stmt* stmt_ = nullptr;
};

// A write transaction that rolls back unless committed. Taken at once
// (BEGIN IMMEDIATE), so that two writers wait on the busy timeout instead
// of failing half-way. Inside another one it is part of that one.
class WriteTransaction {
public:
    explicit WriteTransaction(Database& db);
    ~WriteTransaction();
    WriteTransaction(const WriteTransaction&) = delete;
    WriteTransaction& operator=(const WriteTransaction&) = delete;
    void commit();

private:
    Database& db_;
    bool outermost_;
    bool done_ = false;
};

}  // namespace vantrel::sqlite
