#pragma once
// The collection's family of errors.

#include <string>

#include "core/error.h"
#include "wbem/wbem_error.h"

namespace vantrel {

class CollectError : public Error {
public:
    using Error::Error;
};

// A failed connection or query, passed to the command that started the run.
class WmiError : public CollectError {
public:
    WmiError(wbem::ErrorCode code, const std::string& what) : CollectError(what), code_(code) {}
    wbem::ErrorCode code() const { return code_; }

private:
    wbem::ErrorCode code_;
};

}  // namespace vantrel
