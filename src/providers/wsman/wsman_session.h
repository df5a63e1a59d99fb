#pragma once
// The WS-Management exchanges over one transport: each request posted, the
// HTTP status checked (401 is access denied) and the answer parsed. A fault
// answer comes back as a Response of kind Fault; the caller decides when it
// becomes an error.

#include <memory>
#include <string>
#include <string_view>

#include "providers/wsman/http_transport.h"
#include "providers/wsman/request_envelopes.h"
#include "providers/wsman/response_parser.h"

namespace vantrel::wsman {

class WsmanSession {
public:
    WsmanSession(std::unique_ptr<HttpTransport> transport, RequestHeader header);

    // Throws WbemError: AccessDenied for a refused login, ConnectionFailed
    // when the server does not answer as WS-Management.
    Response identify();
    Response enumerate(std::string_view wql, unsigned maxElements);
    Response pull(std::string_view context, unsigned maxElements);
    // Best effort: errors are swallowed, the server forgets it in time anyway.
    void release(std::string_view context) noexcept;

    std::unique_ptr<HttpTransport> takeTransport() { return std::move(transport_); }
    HttpTransport& transport() { return *transport_; }
    bool healthy() const { return healthy_; }

private:
    Response exchange(const std::string& request);

    std::unique_ptr<HttpTransport> transport_;
    RequestHeader header_;
    bool healthy_ = true;  // false after a broken exchange; the connection is not reused
};

}  // namespace vantrel::wsman
