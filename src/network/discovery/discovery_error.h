#pragma once
// Why an enumeration of the network failed. The codes are the ones the
// network error texts are keyed on.

#include <cerrno>
#include <stdexcept>
#include <string>

namespace vantrel::network {

inline constexpr int kErrorAccessDenied = 5;
inline constexpr int kErrorNotAccessible = 1722;  // no usable interface or no socket
inline constexpr int kErrorGeneral = 59;          // anything else ("unexpected network error")

class DiscoveryError : public std::runtime_error {
public:
    DiscoveryError(int code, const std::string& what) : std::runtime_error(what), code_(code) {}
    int code() const { return code_; }

private:
    int code_;
};

// Maps an errno value from socket(), bind() or setsockopt() onto the codes above.
inline int errorCodeFromErrno(int err) {
    switch (err) {
        case EPERM:
        case EACCES:
            return kErrorAccessDenied;
        case EAFNOSUPPORT:
        case EPROTONOSUPPORT:
        case ENODEV:
        case EADDRNOTAVAIL:
        case ENETUNREACH:
        case ENETDOWN:
        case ENFILE:
        case EMFILE:
        case ENOBUFS:
            return kErrorNotAccessible;
        default:
            return kErrorGeneral;
    }
}

}  // namespace vantrel::network
