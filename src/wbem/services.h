#pragma once
// The calls the program makes on the management interface: a locator per
// connection, ConnectServer giving a services object, ExecQuery giving a row
// set, rows read property by property. Providers (a profile, this computer,
// a remote node) plug in behind the locator.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "wbem/value.h"

namespace vantrel::wbem {

// One row of a query result.
class Row {
public:
    virtual ~Row() = default;
    // The named property (case-insensitive). Absent when the row has no value
    // for it; throws WbemError (NotFound) when the query did not select it.
    virtual Value property(std::string_view name) const = 0;
    // The properties the row can be asked for, in its order: the selected
    // ones, or every property of the row for "Select *".
    virtual std::vector<std::string> propertyNames() const { return {}; }
};

// The rows of one query, enumerated once in the order delivered. Errors of the
// query itself (bad statement, unknown class) surface here, not earlier.
class RowSet {
public:
    virtual ~RowSet() = default;
    // The next row, or nullptr after the last. Throws WbemError on failure.
    virtual std::unique_ptr<Row> next() = 0;
};

class Services {
public:
    virtual ~Services() = default;
    virtual std::unique_ptr<RowSet> ExecQuery(std::string_view wql) = 0;
};

struct ConnectRequest {
    std::string server;  // empty: this computer
    std::string nameSpace;
    std::string user;
    std::string password;
};

// What answers for the computers the program talks to.
class Provider {
public:
    virtual ~Provider() = default;
    // Throws WbemError when the connection is refused.
    virtual std::unique_ptr<Services> connect(const ConnectRequest& request) = 0;
};

// Made anew for every connection, as the program has always done.
class Locator {
public:
    explicit Locator(std::shared_ptr<Provider> provider);
    // Throws WbemError when the connection fails.
    std::unique_ptr<Services> ConnectServer(const std::string& server, const std::string& nameSpace,
                                            const std::string& user, const std::string& password);

private:
    std::shared_ptr<Provider> provider_;
};

// Namespace names compare without regard to case, with "/" standing for "\".
bool sameNamespace(std::string_view a, std::string_view b);

}  // namespace vantrel::wbem
