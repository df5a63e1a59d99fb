#include "providers/ssh/ssh_provider.h"

#include <charconv>

#include "providers/linux/linux_provider.h"
#include "providers/ssh/remote_files.h"
#include "wbem/table_services.h"
#include "wbem/wbem_error.h"

namespace vantrel::ssh {

namespace {

// Each batch asks what the readers reached with the last one (a folder's
// entries, then their files and links...); the chain is never this deep.
constexpr int kMaxBatches = 12;
constexpr std::chrono::seconds kReuseFor{30};

// The script in single quotes for the node's shell.
std::string shellCommand(const char* script) {
    std::string out = "sh -c '";
    for (const char* c = script; *c; ++c) out += *c == '\'' ? std::string("'\\''") : std::string(1, *c);
    return out + "'";
}

class SnapshotSource : public wbem::TableSource {
public:
    SnapshotSource(std::shared_ptr<RemoteFiles> files, std::shared_ptr<const linuxhost::HardwareNames> names)
        : root_(std::move(files)), names_(std::move(names)) {}
    std::shared_ptr<const wbem::Table> table(const wbem::WqlSelect& select) override {
        return linuxhost::readLinuxClass(root_, names_, select.className);
    }

private:
    linuxhost::SourceRoot root_;
    std::shared_ptr<const linuxhost::HardwareNames> names_;
};

}  // namespace

SshTarget parseSshTarget(const std::string& server) {
    SshTarget t;
    std::string rest = server;
    if (const auto at = rest.rfind('@'); at != std::string::npos) {
        t.user = rest.substr(0, at);
        rest = rest.substr(at + 1);
    }
    std::string portText;
    if (!rest.empty() && rest.front() == '[') {
        const auto close = rest.find(']');
        if (close == std::string::npos) throw wbem::WbemError(wbem::ErrorCode::ConnectionFailed, "No closing ] in " + server);
        t.host = rest.substr(1, close - 1);
        if (close + 1 < rest.size()) {
            if (rest[close + 1] != ':') throw wbem::WbemError(wbem::ErrorCode::ConnectionFailed, "Bad address " + server);
            portText = rest.substr(close + 2);
        }
    } else if (const auto colon = rest.find(':'); colon != std::string::npos && rest.find(':', colon + 1) == std::string::npos) {
        t.host = rest.substr(0, colon);
        portText = rest.substr(colon + 1);
    } else {
        t.host = rest;
    }
    if (!portText.empty()) {
        const auto [end, error] = std::from_chars(portText.data(), portText.data() + portText.size(), t.port);
        if (error != std::errc() || end != portText.data() + portText.size() || t.port < 1 || t.port > 65535)
            throw wbem::WbemError(wbem::ErrorCode::ConnectionFailed, "Bad port in " + server);
    }
    const bool plain = !t.host.empty() && t.host.find_first_of(" \t\r\n/'\"\\") == std::string::npos &&
                       t.user.find_first_of(" \t\r\n:/") == std::string::npos;
    if (!plain) throw wbem::WbemError(wbem::ErrorCode::ConnectionFailed, "Not an SSH address: " + server);
    return t;
}

SshProvider::SshProvider(SshNodeSettings defaults, std::shared_ptr<const linuxhost::HardwareNames> names)
    : defaults_(std::move(defaults)), names_(std::move(names)) {}

void SshProvider::setNodeSettings(const std::string& server, SshNodeSettings settings) {
    std::lock_guard lock(mutex_);
    perNode_[server] = std::move(settings);
}

SshNodeSettings SshProvider::settingsFor(const std::string& server) const {
    std::lock_guard lock(mutex_);
    const auto it = perNode_.find(server);
    return it != perNode_.end() ? it->second : defaults_;
}

SshSettings SshProvider::sessionSettings(const SshTarget& target, const wbem::ConnectRequest& request) const {
    const SshNodeSettings node = settingsFor(request.server);
    SshSettings settings;
    settings.host = target.host;
    settings.port = target.port;
    settings.user = !target.user.empty() ? target.user : request.user;
    settings.password = request.password;
    settings.identity = node.identity;
    settings.acceptNewHostKey = node.acceptNewHostKey;
    settings.knownHosts = node.knownHosts;
    settings.sshFolder = node.sshFolder;
    settings.connectTimeout = node.connectTimeout;
    settings.commandTimeout = node.commandTimeout;
    return settings;
}

void SshProvider::setHostKeyListener(std::function<void(const std::string&, const HostKey&)> listener) {
    std::lock_guard lock(mutex_);
    hostKeyListener_ = std::move(listener);
}

void SshProvider::recordHostKey(const std::string& server, const std::string& fingerprint) {
    const SshTarget target = parseSshTarget(server);
    SshSettings settings = sessionSettings(target, {server, "root\\cimv2", {}, {}});
    settings.acceptNewHostKey = false;
    settings.acceptFingerprint = fingerprint;
    SshSession::recordHostKey(std::move(settings));
}

std::unique_ptr<wbem::Services> SshProvider::connect(const wbem::ConnectRequest& request) {
    if (!wbem::sameNamespace(request.nameSpace, "root\\cimv2"))
        throw wbem::WbemError(wbem::ErrorCode::InvalidNamespace, "Invalid namespace: " + request.nameSpace);
    const SshTarget target = parseSshTarget(request.server);
    const std::string key = request.server + '\n' + request.user + '\n' + request.password;
    {
        std::lock_guard lock(mutex_);
        if (last_.files && last_.key == key && std::chrono::steady_clock::now() - last_.at < kReuseFor)
            return std::make_unique<wbem::TableServices>(std::make_shared<SnapshotSource>(last_.files, names_));
    }
    std::optional<SshSession> connected;
    try {
        connected.emplace(sessionSettings(target, request));
    } catch (const UnknownHostKeyError& e) {
        std::function<void(const std::string&, const HostKey&)> listener;
        {
            std::lock_guard lock(mutex_);
            listener = hostKeyListener_;
        }
        if (listener) listener(request.server, e.key());
        throw;
    }
    SshSession& session = *connected;

    auto files = std::make_shared<RemoteFiles>();
    const linuxhost::SourceRoot root(files);
    session.start(shellCommand(kFetchScript));
    for (int batch = 0; batch < kMaxBatches; ++batch) {
        for (const auto name : linuxhost::linuxClassNames()) linuxhost::readLinuxClass(root, names_, name);
        const auto misses = files->takeMisses();
        if (misses.empty()) break;
        files->merge(misses, session.exchange(requestLines(misses), answerLength));
    }
    {
        std::lock_guard lock(mutex_);
        lastRoundTrips_ = session.exchanges();
        last_ = {key, std::chrono::steady_clock::now(), files};
    }
    return std::make_unique<wbem::TableServices>(std::make_shared<SnapshotSource>(files, names_));
}

}  // namespace vantrel::ssh
