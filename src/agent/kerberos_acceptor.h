#pragma once
// The agent's Negotiate login: a Kerberos ticket for the agent's service,
// checked with the service's keytab, from a principal on the agent's list.
// Kerberos only (NTLM would need the users' passwords here): one token in,
// one token back, so every login is decided by a single request.

#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <string_view>

namespace vantrel::agent {

struct KerberosLogin {
    bool accepted = false;
    std::string principal;   // "alice@EXAMPLE.COM" when the ticket was good
    std::string replyToken;  // for the client's check of the service (mutual authentication)
    std::string why;         // for the log, when refused
};

class KerberosAcceptor {
public:
    // keytab: the service's keys (HTTP/host@REALM); replayCache: a file of
    // the state folder that remembers the tickets seen, so none is taken twice.
    // Throws AgentError when the keytab cannot be used.
    KerberosAcceptor(const std::filesystem::path& keytab, const std::filesystem::path& replayCache,
                     std::set<std::string> principals);
    ~KerberosAcceptor();
    KerberosAcceptor(const KerberosAcceptor&) = delete;
    KerberosAcceptor& operator=(const KerberosAcceptor&) = delete;

    KerberosLogin accept(std::string_view token) const;

private:
    struct Credentials;
    std::unique_ptr<Credentials> credentials_;
    std::set<std::string> principals_;
};

// The principals of a list file: one a line; blank lines and "#" comments
// are left out. Throws AgentError when the file cannot be read or a line
// is no principal (user@REALM).
std::set<std::string> loadPrincipals(const std::filesystem::path& file);

}  // namespace vantrel::agent
