#pragma once
// The one exception type of the program. Operations that fail "to the caller"
// throw it; the command that owns the user-facing message catches it.

#include <stdexcept>
#include <string>

namespace vantrel {

class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace vantrel
