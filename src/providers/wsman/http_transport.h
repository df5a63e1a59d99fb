#pragma once
// One kept-alive HTTP(S) connection to a node's WS-Management endpoint,
// through libcurl. Certificates are always verified; a certificate or CA
// file given by the user is trusted in addition to nothing else.

#include <chrono>
#include <cstddef>
#include <memory>
#include <string>
#include <vector>
#include <string_view>

namespace vantrel::wsman {

struct TransportSettings {
    std::string url;       // from endpointUrl
    std::string user;
    std::string password;
    std::string trustFile;  // PEM certificate(s) to trust; empty: the system's CAs
    std::chrono::milliseconds connectTimeout{5000};
    std::chrono::milliseconds requestTimeout{30000};
    std::size_t maxResponseBytes = 8u << 20;
    // Plain HTTP with a Negotiate login (Kerberos with the user's ticket, or
    // NTLM) and every message sealed with it, as WinRM's default listener on
    // 5985 wants; `host` names the service (HTTP/host).
    bool sealedNegotiate = false;
    // HTTPS with a Negotiate login (Kerberos or NTLM) on the connection; TLS
    // protects the messages, so they go unsealed.
    bool negotiate = false;
    std::string host;
};

struct HttpAnswer {
    long status = 0;
    std::string body;
    // For a refused login (401): why, when the node offers none of the
    // logins this transport can give; empty when it refused the password.
    std::string refusal;
};

class HttpTransport {
public:
    explicit HttpTransport(TransportSettings settings);
    ~HttpTransport();
    HttpTransport(const HttpTransport&) = delete;
    HttpTransport& operator=(const HttpTransport&) = delete;

    // Throws wbem::WbemError (ConnectionFailed) when no HTTP answer came.
    HttpAnswer post(std::string_view body, bool authenticate);
    const TransportSettings& settings() const { return settings_; }

    // When the server last accepted this login over this transport.
    std::chrono::steady_clock::time_point loginAcceptedAt() const { return loginAcceptedAt_; }
    void noteLoginAccepted() { loginAcceptedAt_ = std::chrono::steady_clock::now(); }

private:
    struct RawAnswer {
        long status = 0;
        std::string body;
        std::string negotiateToken;  // from WWW-Authenticate: Negotiate
        std::vector<std::string> offeredLogins;  // every WWW-Authenticate scheme, lower case
    };
    RawAnswer send(std::string_view body, const std::string& contentType, const std::string& authorization,
                   bool basicLogin);
    HttpAnswer sealedPost(std::string_view body);
    HttpAnswer negotiatedPost(std::string_view body);
    std::string refusalText(const std::vector<std::string>& offered) const;
    void negotiate();

    TransportSettings settings_;
    std::unique_ptr<class SpnegoContext> spnego_;
    std::chrono::steady_clock::time_point loginAcceptedAt_{};
    struct Handle;
    std::unique_ptr<Handle> handle_;
};

}  // namespace vantrel::wsman
