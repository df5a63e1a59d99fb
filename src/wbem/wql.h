#pragma once
// The query statements the program sends: "Select a, b From Class", and
// "Select * From Class" (every property), as generic clients send it.
// Keywords are case-insensitive, spaces around commas optional. Anything else
// is refused with an error naming the column where the statement went wrong.

#include <string>
#include <string_view>
#include <vector>

#include "wbem/ascii.h"

namespace vantrel::wbem {

struct WqlSelect {
    std::vector<std::string> properties;  // in the order of the statement; empty for "*"
    std::string className;
    bool allProperties = false;           // "Select *"
};

// Throws WbemError (InvalidQuery) for any other statement.
WqlSelect parseWql(std::string_view statement);

}  // namespace vantrel::wbem
