#pragma once
// The agent's HTTPS listener: POST /wsman with Basic logins (and Kerberos
// ones through Negotiate where a keytab is given), our own TLS
// listener around cpp-httplib's request handling. Requests are bounded in
// size, connections in number (a fixed pool of workers; further connections
// wait in the kernel's queue) and per address, and slow clients by a
// deadline for each request's headers and body.

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>

#include "agent/kerberos_acceptor.h"
#include "agent/login_guard.h"
#include "agent/wsman_service.h"

namespace vantrel::agent {

struct ServerSettings {
    std::string host = "0.0.0.0";
    int port = 5986;  // 0: any free port
    std::filesystem::path certificate;
    std::filesystem::path key;
    std::size_t maxRequestBytes = 512 * 1024;
    std::size_t maxConnections = 64;
    std::size_t maxConnectionsPerAddress = 0;  // 0: half of maxConnections
    // The TLS handshake, and each request's headers and body, within this.
    std::chrono::seconds requestDeadline{5};
    std::chrono::seconds readTimeout{5};
    std::chrono::seconds writeTimeout{10};
    // A kept-alive connection holds a worker while it waits for its next request.
    std::chrono::seconds keepAliveTimeout{2};
    // Negotiate (Kerberos) logins besides Basic ones; none when null.
    std::shared_ptr<const KerberosAcceptor> kerberos;
};

class AgentServer {
public:
    // Throws AgentError when the certificate cannot be used or the address cannot be bound.
    AgentServer(ServerSettings settings, std::shared_ptr<WsmanService> service, std::shared_ptr<LoginGuard> logins);
    ~AgentServer();

    int port() const;
    // Serves until stop() is called from another thread or a signal handler's helper.
    void run();
    void stop();
    bool isRunning() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// "HOST:PORT", "[v6]:PORT" or ":PORT" / "PORT" for every address. Throws AgentError.
void parseListenAddress(const std::string& text, std::string& host, int& port);

}  // namespace vantrel::agent
