#include "store/postgres/pg_connection.h"

#include <libpq-fe.h>

#include <charconv>

#include "store/store_error.h"

namespace vantrel::pg {

namespace {

// Type oids of the server's catalogue, fixed since its first releases.
constexpr Oid kInt8 = 20;
constexpr Oid kText = 25;
constexpr Oid kBytea = 17;

constexpr const char* kConnectTimeoutSeconds = "10";

struct ConninfoOptions {
    PQconninfoOption* options = nullptr;
    explicit ConninfoOptions(const std::string& target) { options = PQconninfoParse(target.c_str(), nullptr); }
    ~ConninfoOptions() { PQconninfoFree(options); }
    std::string value(std::string_view key) const {
        for (auto* o = options; o && o->keyword; ++o)
            if (key == o->keyword && o->val) return o->val;
        return {};
    }
};

std::string trimmed(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
    return text;
}

}  // namespace

std::string shownTarget(const std::string& target) {
    const ConninfoOptions parsed(target);
    if (!parsed.options) return "the server";
    const std::string user = parsed.value("user");
    const std::string host = parsed.value("host");
    const std::string port = parsed.value("port");
    std::string shown = "postgresql://" + (user.empty() ? "" : user + "@") + (host.empty() ? "localhost" : host);
    if (!port.empty()) shown += ":" + port;
    return shown + "/" + parsed.value("dbname");
}

bool targetHasPassword(const std::string& target) {
    const ConninfoOptions parsed(target);
    return parsed.options && !parsed.value("password").empty();
}

Result::Result(pg_result* result) : result_(result) {}
Result::~Result() { PQclear(result_); }
Result::Result(Result&& other) noexcept : result_(other.result_) { other.result_ = nullptr; }

int Result::rows() const { return PQntuples(result_); }
bool Result::isNull(int row, int column) const { return PQgetisnull(result_, row, column) != 0; }

std::int64_t Result::integer(int row, int column) const {
    const char* text = PQgetvalue(result_, row, column);
    const char* end = text + PQgetlength(result_, row, column);
    std::int64_t value = 0;
    const auto [stop, error] = std::from_chars(text, end, value);
    if (error != std::errc() || stop != end) throw StoreError("the inventory store holds a number that is not one");
    return value;
}

std::string Result::text(int row, int column) const {
    return std::string(PQgetvalue(result_, row, column), static_cast<std::size_t>(PQgetlength(result_, row, column)));
}

std::string Result::bytes(int row, int column) const {
    std::size_t size = 0;
    auto* raw = PQunescapeBytea(reinterpret_cast<const unsigned char*>(PQgetvalue(result_, row, column)), &size);
    if (!raw) throw StoreError("the inventory store holds bytes that cannot be read");
    std::string out(reinterpret_cast<const char*>(raw), size);
    PQfreemem(raw);
    return out;
}

Connection::Connection(const std::string& target) {
    // libpq's own defaults and the environment fill what the target leaves
    // out (TLS when the server offers it, ~/.pgpass for the password), but
    // for the time to wait for a server that does not answer: without one
    // it is the system's, minutes, while a scan or the window waits. The
    // target's own setting comes later and wins.
    const char* keywords[] = {"connect_timeout", "dbname", nullptr};
    const char* values[] = {kConnectTimeoutSeconds, target.c_str(), nullptr};
    conn_ = PQconnectdbParams(keywords, values, 1);
    if (!conn_) throw StoreError("cannot reach " + shownTarget(target) + ": out of memory");
    if (PQstatus(conn_) != CONNECTION_OK) {
        const std::string why = trimmed(PQerrorMessage(conn_));
        PQfinish(conn_);
        conn_ = nullptr;
        throw StoreError("cannot connect to " + shownTarget(target) + ": " + why);
    }
    // The server's notices ("table exists, skipping") are for people at a
    // console, not for our standard error.
    PQsetNoticeProcessor(conn_, [](void*, const char*) {}, nullptr);
    // Our statements say what they mean; a server-wide search path or a
    // user's own objects must not change that.
    exec("SET search_path = public");
}

Connection::~Connection() { PQfinish(conn_); }

bool Connection::broken() const { return PQstatus(conn_) != CONNECTION_OK; }
bool Connection::answers() noexcept {
    if (broken()) return false;
    pg_result* result = PQexec(conn_, "SELECT 1");
    const bool ok = result && PQresultStatus(result) == PGRES_TUPLES_OK;
    PQclear(result);
    return ok;
}

bool Connection::encrypted() const { return PQsslInUse(conn_) != 0; }

void Connection::fail(std::string_view what, pg_result* result) const {
    std::string why = trimmed(result ? PQresultErrorMessage(result) : PQerrorMessage(conn_));
    if (why.empty()) why = trimmed(PQerrorMessage(conn_));
    PQclear(result);
    throw StoreError(std::string(what) + ": " + why);
}

Result Connection::exec(std::string_view sql, const std::vector<Param>& params) {
    std::vector<std::string> numbers(params.size());
    std::vector<Oid> types(params.size(), 0);
    std::vector<const char*> values(params.size(), nullptr);
    std::vector<int> lengths(params.size(), 0);
    std::vector<int> formats(params.size(), 0);
    for (std::size_t i = 0; i < params.size(); ++i) {
        if (const auto* n = std::get_if<std::int64_t>(&params[i])) {
            numbers[i] = std::to_string(*n);
            types[i] = kInt8;
            values[i] = numbers[i].c_str();
        } else if (const auto* t = std::get_if<std::string_view>(&params[i])) {
            // Binary format: the bytes as they are, with their length, so
            // that nothing in them can end the value early.
            types[i] = kText;
            values[i] = t->data() ? t->data() : "";
            lengths[i] = static_cast<int>(t->size());
            formats[i] = 1;
        } else if (const auto* b = std::get_if<Bytes>(&params[i])) {
            types[i] = kBytea;
            values[i] = b->value.data() ? b->value.data() : "";
            lengths[i] = static_cast<int>(b->value.size());
            formats[i] = 1;
        }
    }
    const std::string statement(sql);
    pg_result* result = PQexecParams(conn_, statement.c_str(), static_cast<int>(params.size()), types.data(),
                                     values.data(), lengths.data(), formats.data(), 0);
    const ExecStatusType status = result ? PQresultStatus(result) : PGRES_FATAL_ERROR;
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) fail("the inventory store failed", result);
    return Result(result);
}

void Connection::execScript(std::string_view sql) {
    const std::string script(sql);
    pg_result* result = PQexec(conn_, script.c_str());
    const ExecStatusType status = result ? PQresultStatus(result) : PGRES_FATAL_ERROR;
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) fail("the inventory store failed", result);
    PQclear(result);
}

Transaction::Transaction(Connection& connection) : connection_(connection) { connection_.exec("BEGIN"); }

Transaction::~Transaction() {
    if (done_ || connection_.broken()) return;
    try {
        connection_.exec("ROLLBACK");
    } catch (...) {
    }
}

void Transaction::commit() {
    connection_.exec("COMMIT");
    done_ = true;
}

}  // namespace vantrel::pg
