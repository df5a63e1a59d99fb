#include "providers/ssh/ssh_session.h"

#include <libssh/libssh.h>
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

#include "wbem/wbem_error.h"

namespace vantrel::ssh {

namespace {

[[noreturn]] void fail(wbem::ErrorCode code, const std::string& what) { throw wbem::WbemError(code, what); }

std::filesystem::path homeFolder() {
    if (const char* home = std::getenv("HOME"); home && *home) return home;
    if (const passwd* pw = ::getpwuid(::getuid())) return pw->pw_dir;
    return "/";
}

std::string localUserName() {
    if (const passwd* pw = ::getpwuid(::getuid())) return pw->pw_name;
    return "root";
}

}  // namespace

struct SshSession::Handle {
    ssh_session session = nullptr;
    ssh_channel channel = nullptr;
    ~Handle() {
        if (channel) {
            ssh_channel_send_eof(channel);
            ssh_channel_close(channel);
            ssh_channel_free(channel);
        }
        if (session) {
            ssh_disconnect(session);
            ssh_free(session);
        }
    }
};

SshSession::SshSession(SshSettings settings) : SshSession(std::move(settings), true) {}

void SshSession::recordHostKey(SshSettings settings) { SshSession(std::move(settings), false); }

SshSession::SshSession(SshSettings settings, bool logInToo) : settings_(std::move(settings)), handle_(new Handle) {
    if (settings_.user.empty()) settings_.user = localUserName();
    const std::filesystem::path home = homeFolder();
    if (settings_.sshFolder.empty()) settings_.sshFolder = home / ".ssh";
    if (settings_.knownHosts.empty()) settings_.knownHosts = settings_.sshFolder / "known_hosts";

    ssh_session s = handle_->session = ssh_new();
    if (!s) fail(wbem::ErrorCode::ConnectionFailed, "Cannot start an SSH session");
    const long timeoutSeconds = std::max<long>(1, static_cast<long>((settings_.connectTimeout.count() + 999) / 1000));
    const unsigned int port = static_cast<unsigned int>(settings_.port);
    const int no = 0;
    const std::string sshDir = settings_.sshFolder.string();
    const std::string knownHosts = settings_.knownHosts.string();
    ssh_options_set(s, SSH_OPTIONS_HOST, settings_.host.c_str());
    ssh_options_set(s, SSH_OPTIONS_PORT, &port);
    ssh_options_set(s, SSH_OPTIONS_USER, settings_.user.c_str());
    ssh_options_set(s, SSH_OPTIONS_TIMEOUT, &timeoutSeconds);
    // A batch of requests is one small write that waits for its answer:
    // Nagle's algorithm would hold it for the last packet's acknowledgement.
    const int yes = 1;
    ssh_options_set(s, SSH_OPTIONS_NODELAY, &yes);
    // What the program is told, not ~/.ssh/config, decides where it goes.
    ssh_options_set(s, SSH_OPTIONS_PROCESS_CONFIG, &no);
    ssh_options_set(s, SSH_OPTIONS_SSH_DIR, sshDir.c_str());
    ssh_options_set(s, SSH_OPTIONS_KNOWNHOSTS, knownHosts.c_str());
    const std::string where = settings_.host + " port " + std::to_string(settings_.port);
    if (ssh_connect(s) != SSH_OK)
        fail(wbem::ErrorCode::ConnectionFailed,
             "No SSH answer from " + where + ": " + ssh_get_error(s) + " (is the node on, its SSH server running?)");
    verifyHostKey();
    if (logInToo) logIn();
}

SshSession::~SshSession() = default;

void SshSession::verifyHostKey() {
    ssh_session s = handle_->session;
    ssh_key key = nullptr;
    if (ssh_get_server_publickey(s, &key) != SSH_OK)
        fail(wbem::ErrorCode::ConnectionFailed, std::string("The node showed no host key: ") + ssh_get_error(s));
    unsigned char* hash = nullptr;
    std::size_t length = 0;
    std::string fingerprint = "(unknown)";
    if (ssh_get_publickey_hash(key, SSH_PUBLICKEY_HASH_SHA256, &hash, &length) == 0) {
        if (char* text = ssh_get_fingerprint_hash(SSH_PUBLICKEY_HASH_SHA256, hash, length)) {
            fingerprint = text;
            ssh_string_free_char(text);
        }
        ssh_clean_pubkey_hash(&hash);
    }
    const char* type = ssh_key_type_to_char(ssh_key_type(key));
    const std::string keyText = std::string(type ? type : "unknown") + " key " + fingerprint;
    ssh_key_free(key);
    switch (ssh_session_is_known_server(s)) {
        case SSH_KNOWN_HOSTS_OK: return;
        case SSH_KNOWN_HOSTS_CHANGED:
        case SSH_KNOWN_HOSTS_OTHER:
            // Never taken: it is what a machine in the middle would show.
            fail(wbem::ErrorCode::ConnectionFailed,
                 "The host key of " + settings_.host + " has changed (it now shows the " + keyText +
                     "); if the node was reinstalled, remove its old key from " + settings_.knownHosts.string());
        case SSH_KNOWN_HOSTS_UNKNOWN:
        case SSH_KNOWN_HOSTS_NOT_FOUND:
            if (!settings_.acceptNewHostKey && (settings_.acceptFingerprint.empty() || settings_.acceptFingerprint != fingerprint))
                throw UnknownHostKeyError({settings_.host, settings_.port, type ? type : "unknown", fingerprint},
                                          "The host key of " + settings_.host + " is not known (it shows the " + keyText +
                                              "); compare it with the node's own and accept it (--accept-new-host-key)");
            std::filesystem::create_directories(settings_.sshFolder);
            if (ssh_session_update_known_hosts(s) != SSH_OK)
                fail(wbem::ErrorCode::ConnectionFailed,
                     "Cannot record the host key in " + settings_.knownHosts.string() + ": " + ssh_get_error(s));
            return;
        default:
            fail(wbem::ErrorCode::ConnectionFailed,
                 "Cannot check the host key of " + settings_.host + ": " + ssh_get_error(s));
    }
}

void SshSession::logIn() {
    ssh_session s = handle_->session;
    if (ssh_userauth_none(s, nullptr) == SSH_AUTH_SUCCESS) return;
    if (std::getenv("SSH_AUTH_SOCK") && ssh_userauth_agent(s, nullptr) == SSH_AUTH_SUCCESS) return;
    if (!settings_.identity.empty()) {
        ssh_key key = nullptr;
        if (ssh_pki_import_privkey_file(settings_.identity.c_str(), nullptr, nullptr, nullptr, &key) != SSH_OK)
            fail(wbem::ErrorCode::AccessDenied, "Access denied: the key " + settings_.identity.string() +
                                                    " cannot be read (a key with a passphrase needs the SSH agent)");
        const int r = ssh_userauth_publickey(s, nullptr, key);
        ssh_key_free(key);
        if (r == SSH_AUTH_SUCCESS) return;
    }
    if (ssh_userauth_publickey_auto(s, nullptr, nullptr) == SSH_AUTH_SUCCESS) return;
    if (!settings_.password.empty()) {
        if (ssh_userauth_password(s, nullptr, settings_.password.c_str()) == SSH_AUTH_SUCCESS) return;
        // Servers that take passwords only as keyboard-interactive answers.
        int r = ssh_userauth_kbdint(s, nullptr, nullptr);
        for (int round = 0; r == SSH_AUTH_INFO && round < 4; ++round) {
            const int prompts = ssh_userauth_kbdint_getnprompts(s);
            for (int i = 0; i < prompts; ++i) ssh_userauth_kbdint_setanswer(s, static_cast<unsigned>(i), settings_.password.c_str());
            r = ssh_userauth_kbdint(s, nullptr, nullptr);
        }
        if (r == SSH_AUTH_SUCCESS) return;
    }
    fail(wbem::ErrorCode::AccessDenied, "Access denied: " + settings_.host + " took none of the logins of " +
                                            settings_.user + " (SSH agent, keys" +
                                            (settings_.password.empty() ? "" : ", password") + ")");
}

void SshSession::start(const std::string& command) {
    ssh_session s = handle_->session;
    ssh_channel channel = handle_->channel = ssh_channel_new(s);
    if (!channel) fail(wbem::ErrorCode::ConnectionFailed, std::string("Cannot open an SSH channel: ") + ssh_get_error(s));
    if (ssh_channel_open_session(channel) != SSH_OK || ssh_channel_request_exec(channel, command.c_str()) != SSH_OK)
        fail(wbem::ErrorCode::ConnectionFailed, std::string("The node refused the command: ") + ssh_get_error(s));
}

std::string SshSession::exchange(std::string_view input, const Completeness& complete) {
    ssh_session s = handle_->session;
    ssh_channel channel = handle_->channel;
    if (!channel) fail(wbem::ErrorCode::ConnectionFailed, "No command runs on the node");
    const auto deadline = std::chrono::steady_clock::now() + settings_.commandTimeout;
    ++exchanges_;
    for (std::size_t at = 0; at < input.size();) {
        const auto chunk = static_cast<uint32_t>(std::min<std::size_t>(input.size() - at, 32768));
        const int wrote = ssh_channel_write(channel, input.data() + at, chunk);
        if (wrote <= 0)
            fail(wbem::ErrorCode::ConnectionFailed, std::string("The node closed the channel: ") + ssh_get_error(s));
        at += static_cast<std::size_t>(wrote);
    }
    std::string out;
    char buffer[65536];
    while (true) {
        if (const auto length = complete(out)) {
            if (*length != out.size()) fail(wbem::ErrorCode::ConnectionFailed, "The node answered more than was asked");
            return out;
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            fail(wbem::ErrorCode::ConnectionFailed, "The node did not finish answering within " +
                                                        std::to_string(settings_.commandTimeout.count() / 1000) + " s");
        const int got = ssh_channel_read_timeout(channel, buffer, sizeof buffer, 0,
                                                 static_cast<int>(std::min<long long>(left.count(), 50)));
        if (got == SSH_ERROR)
            fail(wbem::ErrorCode::ConnectionFailed, std::string("The SSH connection broke: ") + ssh_get_error(s));
        if (got > 0) {
            if (out.size() + static_cast<std::size_t>(got) > settings_.maxAnswerBytes)
                fail(wbem::ErrorCode::ConnectionFailed,
                     "The node's answer is larger than " + std::to_string(settings_.maxAnswerBytes >> 20) + " MiB");
            out.append(buffer, static_cast<std::size_t>(got));
        } else if (ssh_channel_is_eof(channel) || ssh_channel_is_closed(channel)) {
            fail(wbem::ErrorCode::ConnectionFailed, "The node ended the command before it answered everything");
        }
    }
}

}  // namespace vantrel::ssh
