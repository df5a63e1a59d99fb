#pragma once
// The SOAP envelope around every WS-Management message, for the client's
// requests and the agent's answers alike: which namespaces are declared, the
// header, the body.

#include <string>
#include <string_view>

namespace vantrel::wsman {

enum class EnvelopeKind {
    Identify,  // s: and wsmid:, an empty header
    Request,   // s:, a:, n:, w:
    Response,  // as a request, with xml:lang and the xsi: and cim: of the items it carries
};

// "<s:Envelope ...><s:Header>...</s:Header><s:Body>": the caller appends the
// body and then kEnvelopeEnd, so a large page is not copied once more.
// An empty header is written as "<s:Header/>".
std::string openEnvelope(EnvelopeKind kind, std::string_view header, std::size_t bodySize = 0);

inline constexpr std::string_view kEnvelopeEnd = "</s:Body></s:Envelope>";

// A whole envelope.
std::string soapEnvelope(EnvelopeKind kind, std::string_view header, std::string_view body);

// "<a:MessageID>uuid:...</a:MessageID>", new every time.
std::string messageIdElement();

}  // namespace vantrel::wsman
