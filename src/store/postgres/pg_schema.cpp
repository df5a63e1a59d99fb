#include "store/postgres/pg_schema.h"

#include <array>
#include <string>

#include "store/store_error.h"

namespace vantrel::pg {

namespace {

// Steps in order: the step at index i brings version i to version i + 1.
// Names and addresses come from the network and are kept as bytes, so that
// no text the server would refuse can cost a scan; bytes also sort as the
// embedded store sorts them.
constexpr std::array kSteps = {
    "CREATE TABLE nodes (id bigserial PRIMARY KEY, name bytea NOT NULL UNIQUE,"
    " last_number bigint NOT NULL);"
    "CREATE TABLE content (id bigserial PRIMARY KEY, digest bytea NOT NULL UNIQUE, body bytea NOT NULL);"
    "CREATE TABLE scans (node bigint NOT NULL REFERENCES nodes (id), number bigint NOT NULL,"
    " taken_ms bigint NOT NULL, source text NOT NULL, address bytea NOT NULL,"
    " report bigint NOT NULL REFERENCES content (id), answers bigint REFERENCES content (id),"
    " summary bytea NOT NULL, PRIMARY KEY (node, number));",
};

// Any number of our own, the same in every program, so that two programs
// creating the tables at once take turns.
constexpr std::int64_t kMigrationLock = 0x76616e7472656c;

std::int64_t versionFound(Connection& connection) {
    const Result found = connection.exec("SELECT coalesce(max(version), 0) FROM schema_version");
    return found.integer(0, 0);
}

}  // namespace

int latestSchemaVersion() { return static_cast<int>(kSteps.size()); }

void migrateSchema(Connection& connection) {
    for (;;) {
        Transaction transaction(connection);
        connection.exec("SELECT pg_advisory_xact_lock($1)", {kMigrationLock});
        connection.exec("CREATE TABLE IF NOT EXISTS schema_version (version bigint NOT NULL)");
        const std::int64_t version = versionFound(connection);
        if (version > latestSchemaVersion())
            throw StoreError("the inventory store was made by a later version of the program (schema " +
                             std::to_string(version) + ", this program knows " +
                             std::to_string(latestSchemaVersion()) + ")");
        if (version == latestSchemaVersion()) {
            transaction.commit();
            return;
        }
        connection.execScript(kSteps[static_cast<std::size_t>(version)]);
        connection.exec("INSERT INTO schema_version (version) VALUES ($1)", {version + 1});
        transaction.commit();
    }
}

}  // namespace vantrel::pg
