#pragma once
// The shared store's tables, created and brought up to date by the program
// itself: a table holds the schema's version, and each step from one version
// to the next runs in its own transaction, so that a store is always at one
// version or the next, never between.

#include "store/postgres/pg_connection.h"

namespace vantrel::pg {

// The version this program writes.
int latestSchemaVersion();

// Brings the store up to the latest version; several programs may do so at
// once. Throws StoreError, also for a store of a later version.
void migrateSchema(Connection& connection);

}  // namespace vantrel::pg
