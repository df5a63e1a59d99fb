#include "providers/wsman/wsman_session.h"

#include "wbem/wbem_error.h"

namespace vantrel::wsman {

WsmanSession::WsmanSession(std::unique_ptr<HttpTransport> transport, RequestHeader header)
    : transport_(std::move(transport)), header_(std::move(header)) {}

Response WsmanSession::exchange(const std::string& request) {
    using wbem::ErrorCode;
    using wbem::WbemError;
    healthy_ = false;
    HttpAnswer answer = transport_->post(request, true);
    if (answer.status == 401)
        throw WbemError(ErrorCode::AccessDenied, answer.refusal.empty() ? "Access denied" : "Access denied: " + answer.refusal);
    // Faults come with 400 or 500; anything else without a SOAP body is not
    // a WS-Management service.
    if (answer.status != 200 && answer.status != 400 && answer.status != 500)
        throw WbemError(ErrorCode::ConnectionFailed, transport_->settings().url + " answered with HTTP status " +
                                                         std::to_string(answer.status));
    Response response = parseResponse(answer.body);
    if (answer.status != 200 && response.kind != ResponseKind::Fault)
        throw WbemError(ErrorCode::ConnectionFailed, transport_->settings().url + " answered with HTTP status " +
                                                         std::to_string(answer.status));
    healthy_ = true;
    return response;
}

Response WsmanSession::identify() {
    Response r = exchange(identifyRequest());
    if (r.kind == ResponseKind::Identify || r.kind == ResponseKind::Fault) return r;
    throw wbem::WbemError(wbem::ErrorCode::ConnectionFailed,
                          transport_->settings().url + " does not answer Identify as WS-Management does");
}

Response WsmanSession::enumerate(std::string_view wql, unsigned maxElements) {
    return exchange(enumerateRequest(header_, wql, maxElements));
}

Response WsmanSession::pull(std::string_view context, unsigned maxElements) {
    return exchange(pullRequest(header_, context, maxElements));
}

void WsmanSession::release(std::string_view context) noexcept {
    try {
        exchange(releaseRequest(header_, context));
    } catch (...) {
        healthy_ = false;
    }
}

}  // namespace vantrel::wsman
