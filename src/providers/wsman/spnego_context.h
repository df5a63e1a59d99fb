#pragma once
// The client side of a Negotiate (SPNEGO) login with a user name and
// password, NTLM underneath through MIT GSS-API and gss-ntlmssp, and the
// sealing of messages with the established context, as WinRM's plain-HTTP
// listener on 5985 demands.

#include <memory>
#include <string>
#include <string_view>

namespace vantrel::wsman {

class SpnegoContext {
public:
    // user: "user", "DOMAIN\\user" or "user@domain"; host: the server's name
    // (the service is HTTP@host). Throws WbemError (AccessDenied) when no
    // credentials can be made from them.
    SpnegoContext(const std::string& user, const std::string& password, const std::string& host);
    ~SpnegoContext();
    SpnegoContext(const SpnegoContext&) = delete;
    SpnegoContext& operator=(const SpnegoContext&) = delete;

    // The next token to send for the server's token (empty to start).
    // Throws WbemError (AccessDenied) when the exchange fails.
    std::string step(std::string_view serverToken);
    bool established() const { return established_; }

    // Signature (16 bytes) followed by the sealed message, and back.
    std::string seal(std::string_view message);
    // Throws WbemError (ConnectionFailed) when the signature does not match.
    std::string unseal(std::string_view signatureAndSealed);

private:
    struct Gss;
    std::unique_ptr<Gss> gss_;
    bool established_ = false;
};

}  // namespace vantrel::wsman
