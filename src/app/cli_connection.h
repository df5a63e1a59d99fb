#pragma once
// The connection options that every vantrel-cli command reaching another
// computer takes: --server HOST[:PORT] --user U --password P [--trust CERT.pem]
// [--negotiate | --negotiate-http | --insecure-http], and the WS-Management provider they
// make.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "providers/wsman/wsman_provider.h"
#include "wbem/wbem_error.h"

namespace vantrel::cli {

inline constexpr const char* kConnectionUsage =
    "--server HOST[:PORT] [--trust CERT.pem] [--negotiate | --negotiate-http | --insecure-http] [--user U] [--password P]\n"
    "          | --ssh [USER@]HOST[:PORT] [--identity KEY] [--accept-new-host-key] [--password P]";

// Exit status of a refused login, the same for every command.
inline constexpr int kAccessDeniedStatus = 2;

enum class OptionTaken {
    NotMine,       // not a connection option: the command's own, or unknown
    Taken,         // taken (with its value); the index is past it
    MissingValue,  // a connection option at the end, without its value
};

class ConnectionOptions {
public:
    // Offers args[i]; on Taken, i is moved to the option's last argument.
    OptionTaken take(const std::vector<std::string>& args, std::size_t& i);

    bool given(const std::string& option) const;
    // A non-empty --server: the node is another computer.
    bool remote() const { return !server.empty(); }
    // Why the options cannot be used together, or nothing.
    std::optional<std::string> conflict() const;

    wsman::NodeConnectionSettings settings() const;
    // A provider that reaches the server with these settings: WS-Management, or SSH.
    std::shared_ptr<wbem::Provider> makeProvider() const;

    std::string server;
    std::string user;
    std::string password;
    std::string trustFile;
    bool insecureHttp = false;
    bool negotiateHttp = false;   // HTTP with Negotiate, sealed
    bool negotiateHttps = false;  // HTTPS with Negotiate
    bool ssh = false;             // --ssh: `server` is [user@]host[:port] of a Linux node
    std::string identity;
    bool acceptNewHostKey = false;

private:
    std::vector<std::string> given_;
};

// Why a connection to `server` as `user` failed, as the commands print it:
// "access denied to <user> at <server>[: <cause>]" for a refused login (or
// no cause), otherwise "the connection to <server> failed: <cause>", the
// cause saying what happened.
std::string connectionFailureReason(const std::string& user, const std::string& server,
                                    const std::optional<wbem::WbemError>& cause);

}  // namespace vantrel::cli
