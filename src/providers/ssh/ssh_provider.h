#pragma once
// A Linux computer read over SSH with nothing installed on it: the same
// class readers as for this computer, over a copy of the node's files that
// is fetched in a few batches (one remote read-only command each).

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "providers/linux/hardware_names.h"
#include "providers/ssh/ssh_session.h"
#include "wbem/services.h"

namespace vantrel::ssh {

// The per-node part of the SSH settings; host, port, user and password
// come from the request ("[user@]host[:port]", the node's login).
struct SshNodeSettings {
    std::filesystem::path identity;
    bool acceptNewHostKey = false;
    std::filesystem::path knownHosts;  // empty: ~/.ssh/known_hosts
    std::filesystem::path sshFolder;   // empty: ~/.ssh
    std::chrono::milliseconds connectTimeout{5000};
    std::chrono::milliseconds commandTimeout{60000};
};

// "[user@]host[:port]", "[user@][v6]:port"; throws wbem::WbemError (ConnectionFailed).
struct SshTarget {
    std::string user, host;
    int port = 22;
};
SshTarget parseSshTarget(const std::string& server);

class SshProvider : public wbem::Provider {
public:
    explicit SshProvider(SshNodeSettings defaults = {},
                         std::shared_ptr<const linuxhost::HardwareNames> names = linuxhost::hardwareDatabaseNames());
    void setNodeSettings(const std::string& server, SshNodeSettings settings);

    // Logs in, fetches the node's files and answers from them (a fetch of
    // the last 30 seconds with the same login is used again); the
    // namespace is root\cimv2. Throws wbem::WbemError as SshSession does.
    std::unique_ptr<wbem::Services> connect(const wbem::ConnectRequest& request) override;

    // Told (from the connecting thread) of every node whose host key was
    // refused as unknown, with the server as the request named it.
    void setHostKeyListener(std::function<void(const std::string& server, const HostKey& key)> listener);
    // Records the unknown host key of `server` in known_hosts when it still
    // shows `fingerprint`. Throws wbem::WbemError as connect does.
    void recordHostKey(const std::string& server, const std::string& fingerprint);

    // How many remote commands (round trips after the login) the last connect took.
    int lastRoundTrips() const { return lastRoundTrips_; }

private:
    SshNodeSettings settingsFor(const std::string& server) const;
    SshSettings sessionSettings(const SshTarget& target, const wbem::ConnectRequest& request) const;

    SshNodeSettings defaults_;
    std::shared_ptr<const linuxhost::HardwareNames> names_;
    mutable std::mutex mutex_;
    std::map<std::string, SshNodeSettings> perNode_;
    int lastRoundTrips_ = 0;
    std::function<void(const std::string&, const HostKey&)> hostKeyListener_;
    // A scan connects several times in a row: what was fetched moments ago
    // with the same login is answered again instead of fetched anew.
    struct Fetched {
        std::string key;  // server, user and password
        std::chrono::steady_clock::time_point at;
        std::shared_ptr<class RemoteFiles> files;
    };
    Fetched last_;
};

}  // namespace vantrel::ssh
