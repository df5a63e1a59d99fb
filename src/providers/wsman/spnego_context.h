#pragma once
// The client side of a Negotiate (SPNEGO) login through MIT GSS-API, and the
// sealing of messages with the established context, as WinRM's plain-HTTP
// listener on 5985 demands. Kerberos when the user holds a ticket (kinit)
// and a service ticket for HTTP/host can be had, as in a Windows domain;
// otherwise NTLM from the user name and password (gss-ntlmssp).

#include <memory>
#include <string>
#include <string_view>

#include "providers/wsman/sealed_message.h"

namespace vantrel::wsman {

class SpnegoContext {
public:
    // user: "user", "DOMAIN\\user" or "user@domain"; host: the server's name
    // (the service is HTTP@host). A ticket is only used when it belongs to
    // `user` (or no user is given), so nobody logs in as someone else by
    // accident. Throws WbemError when no credentials can be made.
    SpnegoContext(const std::string& user, const std::string& password, const std::string& host);
    ~SpnegoContext();
    SpnegoContext(const SpnegoContext&) = delete;
    SpnegoContext& operator=(const SpnegoContext&) = delete;

    // The next token to send for the server's token (empty to start).
    // Throws WbemError (AccessDenied) when the exchange fails.
    std::string step(std::string_view serverToken);
    bool established() const { return established_; }
    bool kerberos() const { return kerberos_; }

    // The mechanism's header and the sealed message, and back.
    SealedParts seal(std::string_view message);
    // Throws WbemError (ConnectionFailed) when the seal does not verify.
    std::string unseal(const SealedParts& parts);

private:
    bool tryKerberos(const std::string& user);
    void useNtlm(const std::string& user, const std::string& password);

    struct Gss;
    std::unique_ptr<Gss> gss_;
    std::string firstToken_;  // Kerberos' first token, made while choosing the mechanism
    bool established_ = false;
    bool kerberos_ = false;
};

}  // namespace vantrel::wsman
