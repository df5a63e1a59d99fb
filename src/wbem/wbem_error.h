#pragma once
// Errors of the management interface. The code tells the caller what kind of
// failure it was; the text is for people.

#include <stdexcept>
#include <string>

namespace vantrel::wbem {

enum class ErrorCode {
    Failed,             // anything without a more precise code
    AccessDenied,       // wrong or missing credentials
    InvalidNamespace,   // the namespace does not exist
    InvalidQuery,       // the query text is not a statement we understand
    InvalidClass,       // the class does not exist in the namespace
    NotFound,           // the row has no such property
    InvalidProfile,     // a profile file cannot be used
    ConnectionFailed,   // the computer cannot be reached or its answer cannot be used
};

class WbemError : public std::runtime_error {
public:
    WbemError(ErrorCode code, const std::string& what) : std::runtime_error(what), code_(code) {}
    ErrorCode code() const { return code_; }

private:
    ErrorCode code_;
};

}  // namespace vantrel::wbem
