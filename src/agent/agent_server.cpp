#include "agent/agent_server.h"

#include <httplib.h>
#include <sodium.h>

#include <cctype>
#include <cstdlib>
#include <string>

#include "agent/tls_server.h"
#include "providers/wsman/sealed_message.h"

namespace vantrel::agent {

namespace {

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
// The request itself was a Negotiate login that passed: its empty body gets an empty 200.
thread_local bool negotiatedNow = false;

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
    std::unique_ptr<TlsServer> server;
    int port = 0;
};

namespace {

void askForLogin(const ServerSettings& settings, httplib::Response& res) {
    refuse(res, 401);
    if (settings.kerberos) res.set_header("WWW-Authenticate", "Negotiate");
    res.set_header("WWW-Authenticate", "Basic realm=\"WSMAN\"");
}

// True when the request may go on to have its body read.
bool screenRequest(const ServerSettings& settings, LoginGuard& logins, const httplib::Request& req,
                   httplib::Response& res) {
    acceptedUser.clear();
    negotiatedNow = false;
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
    // WS-Management lets anyone ask who answers: such a request is read
    // without a login, and the service answers it nothing but Identify.
    std::string identify = req.get_header_value("WSMANIDENTIFY");
    for (char& c : identify) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (identify == "unauthenticated" && !req.has_header("Authorization")) return true;
    const std::string authorization = req.get_header_value("Authorization");
    std::string* connectionLogin = TlsServer::connectionLogin();
    static const std::string kNegotiate = "Negotiate ";
    if (settings.kerberos && authorization.compare(0, kNegotiate.size(), kNegotiate) == 0) {
        const KerberosLogin login = settings.kerberos->accept(wsman::base64Decode(authorization.substr(kNegotiate.size())));
        if (!login.accepted) {
            if (connectionLogin) connectionLogin->clear();
            askForLogin(settings, res);
            return false;
        }
        // The login holds for the rest of the connection, as WinRM's does.
        if (connectionLogin) *connectionLogin = login.principal;
        if (!login.replyToken.empty())
            res.set_header("WWW-Authenticate", "Negotiate " + wsman::base64Encode(login.replyToken));
        acceptedUser = login.principal;
        negotiatedNow = true;
        return true;
    }
    if (authorization.empty() && connectionLogin && !connectionLogin->empty()) {
        acceptedUser = *connectionLogin;
        return true;
    }
    std::string user, password;
    if (!decodeBasic(authorization, user, password) || !logins.check(req.remote_addr, user, password)) {
        askForLogin(settings, res);
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
    ListenerLimits limits;
    limits.maxConnections = s.maxConnections;
    limits.maxPerAddress = s.maxConnectionsPerAddress;
    limits.requestDeadline = s.requestDeadline;
    limits.readTimeout = s.readTimeout;
    limits.writeTimeout = s.writeTimeout;
    limits.keepAliveTimeout = s.keepAliveTimeout;
    impl_->server = std::make_unique<TlsServer>(s.certificate, s.key, limits);
    TlsServer& server = *impl_->server;
    server.set_payload_max_length(s.maxRequestBytes);

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
                    TlsServer::bodyReceived();
                    if (negotiatedNow && body.empty()) {
                        res.status = 200;  // a login alone, as the client's Negotiate exchange sends it
                        return;
                    }
                    AgentReply reply = impl->service->handle(body, acceptedUser);
                    if (reply.status == 401) {
                        askForLogin(impl->settings, res);
                        return;
                    }
                    res.status = reply.status;
                    res.set_content(std::move(reply.body), "application/soap+xml;charset=UTF-8");
                });

    impl_->port = server.bindTo(s.host, s.port);
}

AgentServer::~AgentServer() = default;

int AgentServer::port() const { return impl_->port; }

void AgentServer::run() { impl_->server->serve(); }

void AgentServer::stop() { impl_->server->shutDown(); }

bool AgentServer::isRunning() const { return impl_->server->serving(); }

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
