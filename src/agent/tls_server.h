#pragma once
// The agent's listener: our own accepting loop and TLS around cpp-httplib's
// request handling, so that a connection is held to deadlines of its own.
// A client must send each request's headers and body within a few seconds
// (one byte every little while does not keep a worker), an address (an IPv6
// /64) holds a bounded share of the connections, and stopping ends every
// connection at once instead of waiting for the slowest client.

#include <atomic>
#include <chrono>
#include <filesystem>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>

#include <httplib.h>

using SSL_CTX = struct ssl_ctx_st;

namespace vantrel::agent {

struct ListenerLimits {
    std::size_t maxConnections = 64;       // served at once; further ones wait in the kernel's queue
    std::size_t maxPerAddress = 0;         // 0: half of maxConnections
    std::chrono::seconds requestDeadline{5};  // the TLS handshake, and each request's headers and body
    std::chrono::seconds readTimeout{5};
    std::chrono::seconds writeTimeout{10};
    std::chrono::seconds keepAliveTimeout{2};
    std::size_t keepAliveMaxCount = 1000;
};

class TlsServer : public httplib::Server {
public:
    // Throws AgentError when the certificate or the key cannot be used.
    TlsServer(const std::filesystem::path& certificate, const std::filesystem::path& key, ListenerLimits limits);
    ~TlsServer() override;
    TlsServer(const TlsServer&) = delete;
    TlsServer& operator=(const TlsServer&) = delete;

    // Listens on host:port (0: a free port); returns the port. Throws AgentError.
    int bindTo(const std::string& host, int port);
    // Accepts and serves until shutDown(); returns when every connection has ended.
    void serve();
    void shutDown();
    bool serving() const { return serving_; }

    // Called by a handler once the request's body is in: answering it may take its time.
    static void bodyReceived();
    // Who logged in on the connection being served (a Negotiate login holds
    // for the connection's later requests); null outside a request.
    static std::string* connectionLogin();

    struct Connection;  // one accepted client

private:
    void serveConnection(Connection& connection);
    // Ends a connection; hands back the next one waiting from the same place, if any.
    std::shared_ptr<Connection> release(const Connection& connection);

    SSL_CTX* ctx_ = nullptr;
    ListenerLimits limits_;
    int listenFd_ = -1;
    int wakeFds_[2] = {-1, -1};
    std::atomic<bool> serving_{false};
    std::atomic<bool> stopping_{false};
    std::mutex mutex_;
    std::set<int> open_;                     // sockets being served
    std::map<std::string, std::size_t> perPlace_;
    // Connections of a place that has its share: they wait their turn here.
    std::map<std::string, std::deque<std::shared_ptr<Connection>>> waiting_;
    std::size_t waitingCount_ = 0;
};

}  // namespace vantrel::agent
