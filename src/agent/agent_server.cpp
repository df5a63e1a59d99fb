#include "agent/agent_server.h"

#include <httplib.h>
#include <sodium.h>

#include <condition_variable>
#include <cstdlib>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace vantrel::agent {

namespace {

// A fixed set of workers. When all are busy and a few connections already
// wait, the accepting thread waits too, so further clients stay in the
// kernel's listen queue instead of costing us threads or memory.
class BoundedWorkers : public httplib::TaskQueue {
public:
    explicit BoundedWorkers(std::size_t workers) : limit_(workers + workers / 2 + 1) {
        for (std::size_t i = 0; i < workers; ++i) threads_.emplace_back([this] { work(); });
    }
    ~BoundedWorkers() override { shutdown(); }

    void enqueue(std::function<void()> fn) override {
        std::unique_lock lock(mutex_);
        spaceFree_.wait(lock, [this] { return stopping_ || queue_.size() + busy_ < limit_; });
        if (stopping_) {
            lock.unlock();
            fn();  // still closes its socket
            return;
        }
        queue_.push_back(std::move(fn));
        workReady_.notify_one();
    }

    void shutdown() override {
        {
            std::lock_guard lock(mutex_);
            if (stopping_) return;
            stopping_ = true;
        }
        workReady_.notify_all();
        spaceFree_.notify_all();
        for (auto& t : threads_) t.join();
    }

private:
    void work() {
        while (true) {
            std::function<void()> fn;
            {
                std::unique_lock lock(mutex_);
                workReady_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
                if (queue_.empty()) return;
                fn = std::move(queue_.front());
                queue_.pop_front();
                ++busy_;
            }
            fn();
            {
                std::lock_guard lock(mutex_);
                --busy_;
            }
            spaceFree_.notify_one();
        }
    }

    std::size_t limit_;
    std::mutex mutex_;
    std::condition_variable workReady_, spaceFree_;
    std::deque<std::function<void()>> queue_;
    std::size_t busy_ = 0;
    bool stopping_ = false;
    std::vector<std::thread> threads_;
};

bool decodeBasic(const std::string& header, std::string& user, std::string& password) {
    static const std::string kScheme = "Basic ";
    if (header.size() <= kScheme.size() || header.compare(0, kScheme.size(), kScheme) != 0) return false;
    const std::string encoded = header.substr(kScheme.size());
    std::string decoded(encoded.size(), '\0');
    std::size_t length = 0;
    if (sodium_base642bin(reinterpret_cast<unsigned char*>(decoded.data()), decoded.size(), encoded.data(),
                          encoded.size(), nullptr, &length, nullptr, sodium_base64_VARIANT_ORIGINAL) != 0)
        return false;
    decoded.resize(length);
    const auto colon = decoded.find(':');
    if (colon == std::string::npos) return false;
    user = decoded.substr(0, colon);
    password = decoded.substr(colon + 1);
    return true;
}

// The login the screening accepted, for the handler of the same request: a
// worker serves one request at a time, from its headers to its answer.
thread_local std::string acceptedUser;

// An answer that ends the connection: the rest of what the client sends is never read.
void refuse(httplib::Response& res, int status) {
    res.status = status;
    res.set_header("Connection", "close");
}

}  // namespace

struct AgentServer::Impl {
    ServerSettings settings;
    std::shared_ptr<WsmanService> service;
    std::shared_ptr<LoginGuard> logins;
    std::unique_ptr<httplib::SSLServer> server;
    int port = 0;
};

namespace {

// True when the request may go on to have its body read.
bool screenRequest(const ServerSettings& settings, LoginGuard& logins, const httplib::Request& req,
                   httplib::Response& res) {
    acceptedUser.clear();
    if (req.path != "/wsman" || req.method != "POST") {
        refuse(res, req.path != "/wsman" ? 404 : 405);
        return false;
    }
    if (req.has_header("Content-Length")) {
        const std::string length = req.get_header_value("Content-Length");
        char* end = nullptr;
        const unsigned long long bytes = std::strtoull(length.c_str(), &end, 10);
        if (length.empty() || *end != '\0' || bytes > settings.maxRequestBytes) {
            refuse(res, 413);
            return false;
        }
    }
    std::string user, password;
    if (!decodeBasic(req.get_header_value("Authorization"), user, password) ||
        !logins.check(req.remote_addr, user, password)) {
        refuse(res, 401);
        res.set_header("WWW-Authenticate", "Basic realm=\"WSMAN\"");
        return false;
    }
    acceptedUser = user;
    return true;
}

}  // namespace

AgentServer::AgentServer(ServerSettings settings, std::shared_ptr<WsmanService> service,
                         std::shared_ptr<LoginGuard> logins)
    : impl_(new Impl{std::move(settings), std::move(service), std::move(logins), nullptr, 0}) {
    const ServerSettings& s = impl_->settings;
    impl_->server = std::make_unique<httplib::SSLServer>(s.certificate.c_str(), s.key.c_str());
    httplib::SSLServer& server = *impl_->server;
    if (!server.is_valid())
        throw AgentError("Cannot use the certificate " + s.certificate.string() + " with the key " + s.key.string());
    const std::size_t workers = s.maxConnections;
    server.new_task_queue = [workers] { return new BoundedWorkers(workers); };
    server.set_payload_max_length(s.maxRequestBytes);
    server.set_read_timeout(static_cast<time_t>(s.readTimeout.count()));
    server.set_write_timeout(static_cast<time_t>(s.writeTimeout.count()));
    server.set_keep_alive_timeout(static_cast<time_t>(s.keepAliveTimeout.count()));
    server.set_keep_alive_max_count(1000);
    server.set_tcp_nodelay(true);

    Impl* impl = impl_.get();
    // Everything that can be decided from the headers is decided before a
    // byte of the body is read: who asks, and how much they say they send.
    server.set_pre_routing_handler([impl](const httplib::Request& req, httplib::Response& res) {
        return screenRequest(impl->settings, *impl->logins, req, res) ? httplib::Server::HandlerResponse::Unhandled
                                              : httplib::Server::HandlerResponse::Handled;
    });
    server.Post("/wsman",
                [impl](const httplib::Request&, httplib::Response& res, const httplib::ContentReader& read) {
                    // The limit counts the bytes received, chunked or not.
                    std::string body;
                    bool tooLarge = false;
                    read([&](const char* data, std::size_t length) {
                        if (length > impl->settings.maxRequestBytes - body.size()) {
                            tooLarge = true;
                            return false;
                        }
                        body.append(data, length);
                        return true;
                    });
                    if (tooLarge) {
                        refuse(res, 413);
                        return;
                    }
                    AgentReply reply = impl->service->handle(body, acceptedUser);
                    res.status = reply.status;
                    res.set_content(std::move(reply.body), "application/soap+xml;charset=UTF-8");
                });

    if (s.port == 0) {
        impl_->port = server.bind_to_any_port(s.host);
        if (impl_->port <= 0) throw AgentError("Cannot listen on " + s.host);
    } else {
        if (!server.bind_to_port(s.host, s.port))
            throw AgentError("Cannot listen on " + s.host + ":" + std::to_string(s.port));
        impl_->port = s.port;
    }
}

AgentServer::~AgentServer() = default;

int AgentServer::port() const { return impl_->port; }

void AgentServer::run() { impl_->server->listen_after_bind(); }

void AgentServer::stop() { impl_->server->stop(); }

bool AgentServer::isRunning() const { return impl_->server->is_running(); }

void parseListenAddress(const std::string& text, std::string& host, int& port) {
    std::string portText;
    if (!text.empty() && text.front() == '[') {
        const auto close = text.find("]:");
        if (close == std::string::npos) throw AgentError("The listen address \"" + text + "\" has no port");
        host = text.substr(1, close - 1);
        portText = text.substr(close + 2);
    } else if (const auto colon = text.rfind(':'); colon != std::string::npos) {
        host = text.substr(0, colon);
        portText = text.substr(colon + 1);
    } else {
        host.clear();
        portText = text;
    }
    if (host.empty()) host = "0.0.0.0";
    try {
        std::size_t used = 0;
        port = std::stoi(portText, &used);
        if (used != portText.size() || port < 0 || port > 65535) throw std::out_of_range("port");
    } catch (const std::exception&) {
        throw AgentError("The listen address \"" + text + "\" has no valid port");
    }
}

}  // namespace vantrel::agent
