#pragma once
// One SSH connection to a node through libssh: the host key checked against
// the user's known_hosts (and the system's), then the login (the SSH agent,
// the user's keys or the one given, then the password), and commands run
// over an exec channel, each exchange within a deadline and a size limit.

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "wbem/wbem_error.h"

namespace vantrel::ssh {

// A host key as the user judges it.
struct HostKey {
    std::string host;
    int port = 22;
    std::string type;         // "ssh-ed25519"
    std::string fingerprint;  // "SHA256:..." as ssh-keygen -l shows it
};

// The node showed a host key known_hosts does not hold: refused, with the
// key for the user to compare with the node's own.
class UnknownHostKeyError : public wbem::WbemError {
public:
    UnknownHostKeyError(HostKey key, const std::string& what)
        : wbem::WbemError(wbem::ErrorCode::ConnectionFailed, what), key_(std::move(key)) {}
    const HostKey& key() const { return key_; }

private:
    HostKey key_;
};

struct SshSettings {
    std::string host;
    int port = 22;
    std::string user;      // empty: the local user's name
    std::string password;  // the node's password from the logins file, if any
    std::filesystem::path identity;  // a private key to use before the user's own
    bool acceptNewHostKey = false;   // an unknown key is then recorded in known_hosts
    // An unknown key with exactly this fingerprint is recorded in known_hosts:
    // the key the user was shown and accepted, not whatever the node shows next.
    std::string acceptFingerprint;
    // Empty: ~/.ssh/known_hosts and ~/.ssh of the user running the program ($HOME).
    std::filesystem::path knownHosts;
    std::filesystem::path sshFolder;
    std::chrono::milliseconds connectTimeout{5000};
    // No command may take longer than this, nor answer more than maxAnswerBytes.
    std::chrono::milliseconds commandTimeout{60000};
    std::size_t maxAnswerBytes = 64u << 20;
};

class SshSession {
public:
    // Connects and logs in. Throws wbem::WbemError: ConnectionFailed for an
    // unreachable node or a host key that is changed, UnknownHostKeyError for
    // one that is unknown (with its fingerprint), AccessDenied for a refused login.
    explicit SshSession(SshSettings settings);
    // Connects, checks the host key (recording an unknown one that shows
    // settings.acceptFingerprint; a changed key is refused as ever) and
    // leaves without logging in. Throws as the constructor does.
    static void recordHostKey(SshSettings settings);
    ~SshSession();
    SshSession(const SshSession&) = delete;
    SshSession& operator=(const SshSession&) = delete;

    // Starts `command` on a channel of its own, to be talked to in exchanges.
    void start(const std::string& command);
    // Writes `input` to the command and reads its answer until `complete`
    // gives the answer's length. Throws wbem::WbemError (ConnectionFailed)
    // when the channel breaks or ends first, the deadline passes or the
    // answer is too large.
    using Completeness = std::function<std::optional<std::size_t>(std::string_view)>;
    std::string exchange(std::string_view input, const Completeness& complete);
    // Round trips after the login: every exchange.
    int exchanges() const { return exchanges_; }

private:
    SshSession(SshSettings settings, bool logInToo);
    void verifyHostKey();
    void logIn();

    SshSettings settings_;
    struct Handle;
    std::unique_ptr<Handle> handle_;
    int exchanges_ = 0;
};

}  // namespace vantrel::ssh
