#include "agent/tls_server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <csignal>
#include <optional>

#include "agent/bounded_workers.h"
#include "agent/login_guard.h"
#include "agent/users_file.h"

namespace vantrel::agent {

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::size_t kMaxWaiting = 1024;  // connections waiting for their place's turn, in all

// Waits until the socket is ready for `events` or `until` passes.
bool waitFor(int fd, short events, Clock::time_point until) {
    while (true) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now()).count();
        if (left <= 0) return false;
        pollfd p{fd, events, 0};
        const int r = ::poll(&p, 1, static_cast<int>(std::min<long long>(left, INT_MAX)));
        if (r > 0) return true;
        if (r == 0) return false;
        if (errno != EINTR) return false;
    }
}

std::pair<std::string, int> addressOf(const sockaddr_storage& address) {
    char text[INET6_ADDRSTRLEN] = {};
    int port = 0;
    if (address.ss_family == AF_INET) {
        const auto& in = reinterpret_cast<const sockaddr_in&>(address);
        ::inet_ntop(AF_INET, &in.sin_addr, text, sizeof text);
        port = ntohs(in.sin_port);
    } else if (address.ss_family == AF_INET6) {
        const auto& in6 = reinterpret_cast<const sockaddr_in6&>(address);
        ::inet_ntop(AF_INET6, &in6.sin6_addr, text, sizeof text);
        port = ntohs(in6.sin6_port);
    }
    return {text, port};
}

}  // namespace

struct TlsServer::Connection {
    int fd = -1;
    SSL* ssl = nullptr;
    std::string place;
    std::string remoteIp, localIp;
    int remotePort = 0, localPort = 0;
    // Until when the request under way may keep sending; max while it is answered.
    Clock::time_point deadline = Clock::time_point::max();
    std::string login;
};

namespace {

thread_local TlsServer::Connection* servedNow = nullptr;

// One TLS connection as cpp-httplib reads and writes it, within the
// connection's deadline as well as the read and write timeouts.
class TlsStream : public httplib::Stream {
public:
    TlsStream(TlsServer::Connection& c, const ListenerLimits& limits) : c_(c), limits_(limits) {}

    bool is_readable() const override { return SSL_pending(c_.ssl) > 0 || waitFor(c_.fd, POLLIN, readLimit()); }
    bool is_writable() const override { return waitFor(c_.fd, POLLOUT, Clock::now() + limits_.writeTimeout); }

    ssize_t read(char* ptr, size_t size) override {
        const auto until = readLimit();
        while (true) {
            const int r = SSL_read(c_.ssl, ptr, static_cast<int>(std::min<size_t>(size, INT_MAX)));
            if (r > 0) return r;
            if (!waitAfter(SSL_get_error(c_.ssl, r), until)) return -1;
        }
    }
    ssize_t write(const char* ptr, size_t size) override {
        const auto until = Clock::now() + limits_.writeTimeout;
        while (true) {
            const int r = SSL_write(c_.ssl, ptr, static_cast<int>(std::min<size_t>(size, INT_MAX)));
            if (r > 0) return r;
            if (!waitAfter(SSL_get_error(c_.ssl, r), until)) return -1;
        }
    }
    void get_remote_ip_and_port(std::string& ip, int& port) const override {
        ip = c_.remoteIp;
        port = c_.remotePort;
    }
    void get_local_ip_and_port(std::string& ip, int& port) const override {
        ip = c_.localIp;
        port = c_.localPort;
    }
    socket_t socket() const override { return c_.fd; }

private:
    Clock::time_point readLimit() const { return std::min(Clock::now() + limits_.readTimeout, c_.deadline); }
    bool waitAfter(int error, Clock::time_point until) const {
        if (error == SSL_ERROR_WANT_READ) return waitFor(c_.fd, POLLIN, until);
        if (error == SSL_ERROR_WANT_WRITE) return waitFor(c_.fd, POLLOUT, until);
        return false;
    }

    TlsServer::Connection& c_;
    const ListenerLimits& limits_;
};

}  // namespace

TlsServer::TlsServer(const std::filesystem::path& certificate, const std::filesystem::path& key,
                     ListenerLimits limits)
    : limits_(limits) {
    // A client that goes away while we write must not end the program.
    struct sigaction current {};
    if (::sigaction(SIGPIPE, nullptr, &current) == 0 && current.sa_handler == SIG_DFL) std::signal(SIGPIPE, SIG_IGN);
    if (limits_.maxPerAddress == 0) limits_.maxPerAddress = std::max<std::size_t>(1, limits_.maxConnections / 2);
    ctx_ = SSL_CTX_new(TLS_server_method());
    if (!ctx_) throw AgentError("Cannot start TLS");
    SSL_CTX_set_min_proto_version(ctx_, TLS1_2_VERSION);
    SSL_CTX_set_options(ctx_, SSL_OP_NO_COMPRESSION | SSL_OP_NO_RENEGOTIATION | SSL_OP_CIPHER_SERVER_PREFERENCE);
    if (SSL_CTX_use_certificate_chain_file(ctx_, certificate.c_str()) != 1 ||
        SSL_CTX_use_PrivateKey_file(ctx_, key.c_str(), SSL_FILETYPE_PEM) != 1 || SSL_CTX_check_private_key(ctx_) != 1) {
        SSL_CTX_free(ctx_);
        throw AgentError("Cannot use the certificate " + certificate.string() + " with the key " + key.string());
    }
    if (::pipe2(wakeFds_, O_CLOEXEC | O_NONBLOCK) != 0) {
        SSL_CTX_free(ctx_);
        throw AgentError("Cannot start the listener");
    }
}

TlsServer::~TlsServer() {
    if (listenFd_ >= 0) ::close(listenFd_);
    ::close(wakeFds_[0]);
    ::close(wakeFds_[1]);
    SSL_CTX_free(ctx_);
}

int TlsServer::bindTo(const std::string& host, int port) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_PASSIVE | AI_NUMERICHOST | AI_NUMERICSERV;
    addrinfo* found = nullptr;
    const std::string service = std::to_string(port);
    if (::getaddrinfo(host.c_str(), service.c_str(), &hints, &found) != 0 || !found)
        throw AgentError("Cannot listen on " + host + ": not an address");
    const int fd = ::socket(found->ai_family, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int yes = 1;
    const bool bound = fd >= 0 && ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes) == 0 &&
                       ::bind(fd, found->ai_addr, found->ai_addrlen) == 0 && ::listen(fd, SOMAXCONN) == 0;
    ::freeaddrinfo(found);
    if (!bound) {
        if (fd >= 0) ::close(fd);
        throw AgentError("Cannot listen on " + host + ":" + std::to_string(port));
    }
    sockaddr_storage local{};
    socklen_t length = sizeof local;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&local), &length);
    listenFd_ = fd;
    return addressOf(local).second;
}

void TlsServer::serve() {
    BoundedWorkers workers(limits_.maxConnections);
    serving_ = true;
    while (!stopping_) {
        pollfd fds[2] = {{listenFd_, POLLIN, 0}, {wakeFds_[0], POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0 && errno != EINTR) break;
        if (stopping_ || fds[1].revents) break;
        sockaddr_storage peer{};
        socklen_t length = sizeof peer;
        const int fd = ::accept4(listenFd_, reinterpret_cast<sockaddr*>(&peer), &length, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0) continue;
        auto connection = std::make_shared<Connection>();
        connection->fd = fd;
        std::tie(connection->remoteIp, connection->remotePort) = addressOf(peer);
        sockaddr_storage local{};
        length = sizeof local;
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&local), &length);
        std::tie(connection->localIp, connection->localPort) = addressOf(local);
        connection->place = loginPlaceOf(connection->remoteIp);
        const int on = 1;
        ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
        {
            std::lock_guard lock(mutex_);
            // One address cannot take every worker: beyond its share its
            // connections wait, costing a socket each and no thread.
            if (perPlace_[connection->place] >= limits_.maxPerAddress) {
                if (waitingCount_ >= kMaxWaiting) {
                    ::close(fd);
                } else {
                    waiting_[connection->place].push_back(connection);
                    ++waitingCount_;
                }
                continue;
            }
            ++perPlace_[connection->place];
            open_.insert(fd);
        }
        workers.enqueue([this, connection] {
            // The worker goes on with the connections its place has waiting.
            for (auto next = connection; next; next = release(*next)) serveConnection(*next);
        });
    }
    stopping_ = true;
    workers.shutdown();
    {
        std::lock_guard lock(mutex_);
        for (auto& [place, queue] : waiting_)
            for (const auto& c : queue) ::close(c->fd);
        waiting_.clear();
        waitingCount_ = 0;
    }
    serving_ = false;
}

std::shared_ptr<TlsServer::Connection> TlsServer::release(const Connection& c) {
    std::lock_guard lock(mutex_);
    open_.erase(c.fd);
    ::close(c.fd);
    auto queue = waiting_.find(c.place);
    if (queue != waiting_.end() && !stopping_) {
        auto next = queue->second.front();
        queue->second.pop_front();
        if (queue->second.empty()) waiting_.erase(queue);
        --waitingCount_;
        open_.insert(next->fd);
        return next;  // the place keeps its count: the next one takes the slot
    }
    if (--perPlace_[c.place] == 0) perPlace_.erase(c.place);
    return nullptr;
}

void TlsServer::serveConnection(Connection& c) {
    if (stopping_) return;
    c.ssl = SSL_new(ctx_);
    if (!c.ssl || SSL_set_fd(c.ssl, c.fd) != 1) {
        SSL_free(c.ssl);
        return;
    }
    TlsStream stream(c, limits_);
    // The handshake and the first request's headers and body share one deadline.
    c.deadline = Clock::now() + limits_.requestDeadline;
    bool shaken = false;
    while (!stopping_) {
        const int r = SSL_accept(c.ssl);
        if (r == 1) {
            shaken = true;
            break;
        }
        // A silent peer is given up after the read timeout, a slow one at the deadline.
        const auto until = std::min(Clock::now() + limits_.readTimeout, c.deadline);
        const int error = SSL_get_error(c.ssl, r);
        if (error == SSL_ERROR_WANT_READ ? !waitFor(c.fd, POLLIN, until)
            : error == SSL_ERROR_WANT_WRITE ? !waitFor(c.fd, POLLOUT, until)
                                            : true)
            break;
    }
    for (std::size_t left = limits_.keepAliveMaxCount; shaken && left > 0 && !stopping_; --left) {
        if (left != limits_.keepAliveMaxCount) {
            // A kept-alive connection waits for its next request, then has the deadline again.
            if (SSL_pending(c.ssl) == 0 && !waitFor(c.fd, POLLIN, Clock::now() + limits_.keepAliveTimeout)) break;
            c.deadline = Clock::now() + limits_.requestDeadline;
        }
        bool closed = false;
        servedNow = &c;
        const bool answered = process_request(stream, left == 1 || stopping_, closed, [](httplib::Request&) {});
        servedNow = nullptr;
        if (!answered || closed) break;
    }
    if (shaken) SSL_shutdown(c.ssl);  // one try: the socket does not wait for the peer
    SSL_free(c.ssl);
    c.ssl = nullptr;
    ERR_clear_error();
}

void TlsServer::bodyReceived() {
    if (servedNow) servedNow->deadline = Clock::time_point::max();
}

std::string* TlsServer::connectionLogin() { return servedNow ? &servedNow->login : nullptr; }

void TlsServer::shutDown() {
    stopping_ = true;
    [[maybe_unused]] const ssize_t woken = ::write(wakeFds_[1], "x", 1);
    // Every connection ends now: their reads and writes return at once.
    std::lock_guard lock(mutex_);
    for (int fd : open_) ::shutdown(fd, SHUT_RDWR);
}

}  // namespace vantrel::agent
