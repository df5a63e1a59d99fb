#pragma once
// An agent on a free loopback port for tests: its own temporary folder with a
// users file (admin / secret) and a self-signed certificate, serving the
// given provider on a thread of its own.

#include <unistd.h>

#include <filesystem>
#include <memory>
#include <thread>

#include "agent/agent_server.h"
#include "agent/self_signed_cert.h"
#include "agent/users_file.h"
#include "core/version.h"

namespace vantrel::agent::test {

class TemporaryFolder {
public:
    TemporaryFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "vantrel-agent-test-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data());
    }
    ~TemporaryFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

// The hash of "secret" is made once: Argon2id is slow on purpose.
inline const UserHashes& testUsers() {
    static const UserHashes users{{"admin", hashPassword("secret")}};
    return users;
}

class TestAgent {
public:
    explicit TestAgent(std::shared_ptr<wbem::Provider> provider, ServerSettings settings = {},
                       LoginPolicy policy = {}) {
        const CertificateFiles files = ensureSelfSignedCertificate(folder_.path() / "state");
        certificate_ = files.certificate;
        if (settings.host == ServerSettings().host) settings.host = "127.0.0.1";
        settings.port = 0;
        settings.certificate = files.certificate;
        settings.key = files.key;
        auto service = std::make_shared<WsmanService>(std::move(provider), "vantrel-agent test");
        server_ = std::make_unique<AgentServer>(settings, service, std::make_shared<LoginGuard>(testUsers(), policy));
        thread_ = std::thread([this] { server_->run(); });
        while (!server_->isRunning()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ~TestAgent() {
        server_->stop();
        thread_.join();
    }

    std::string address() const { return "127.0.0.1:" + std::to_string(server_->port()); }
    int port() const { return server_->port(); }
    const std::filesystem::path& certificate() const { return certificate_; }
    const std::filesystem::path& folder() const { return folder_.path(); }

private:
    TemporaryFolder folder_;
    std::filesystem::path certificate_;
    std::unique_ptr<AgentServer> server_;
    std::thread thread_;
};

}  // namespace vantrel::agent::test
