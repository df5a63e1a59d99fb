#pragma once
// A thin layer over libpq: one connection, statements run with their values
// as parameters (never pasted into the SQL), results that clear themselves,
// and every failure a StoreError saying what the server or libpq said,
// without the password.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

struct pg_conn;
struct pg_result;

namespace vantrel::pg {

// A parameter: a number, a text (checked as UTF-8 by the server), bytes
// (for bytea columns, sent as they are), or NULL.
struct Bytes {
    std::string_view value;
};
using Param = std::variant<std::int64_t, std::string_view, Bytes, std::nullptr_t>;

class Result {
public:
    explicit Result(pg_result* result);
    ~Result();
    Result(Result&& other) noexcept;
    Result(const Result&) = delete;
    Result& operator=(const Result&) = delete;

    int rows() const;
    bool isNull(int row, int column) const;
    std::int64_t integer(int row, int column) const;  // throws StoreError when the value is not one
    std::string text(int row, int column) const;
    std::string bytes(int row, int column) const;  // a bytea column

private:
    pg_result* result_;
};

class Connection {
public:
    // Connects with a libpq connection string or URL. Throws StoreError:
    // the server unreachable, credentials refused, TLS required but not offered.
    explicit Connection(const std::string& target);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    Result exec(std::string_view sql, const std::vector<Param>& params = {});
    // Several statements of our own, without parameters (schema steps).
    void execScript(std::string_view sql);
    // The connection is known to have gone (server stopped, network gone).
    bool broken() const;
    // Whether the server answers on it now: a server that restarted is
    // not always known as gone until a statement fails, and a statement
    // may fail for other reasons.
    bool answers() noexcept;
    // Whether the session runs over TLS.
    bool encrypted() const;

private:
    [[noreturn]] void fail(std::string_view what, pg_result* result = nullptr) const;
    pg_conn* conn_ = nullptr;
};

// Runs statements in one transaction that rolls back unless committed.
class Transaction {
public:
    explicit Transaction(Connection& connection);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit();

private:
    Connection& connection_;
    bool done_ = false;
};

// The target as it may be shown: a URL or connection string with any
// password left out. Text that libpq cannot read is shown as "the server".
std::string shownTarget(const std::string& target);
// Whether the target holds a password itself (instead of ~/.pgpass or the environment).
bool targetHasPassword(const std::string& target);

}  // namespace vantrel::pg
