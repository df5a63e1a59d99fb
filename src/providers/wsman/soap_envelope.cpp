#include "providers/wsman/soap_envelope.h"

#include "providers/wsman/wsman_uris.h"
#include "providers/wsman/xml_text.h"

namespace vantrel::wsman {

namespace {

void declare(std::string& out, std::string_view prefix, std::string_view uri) {
    out += " xmlns:";
    out += prefix;
    out += "=\"";
    out += uri;
    out += '"';
}

}  // namespace

std::string openEnvelope(EnvelopeKind kind, std::string_view header, std::size_t bodySize) {
    std::string out;
    out.reserve(640 + header.size() + bodySize + kEnvelopeEnd.size());
    out += "<s:Envelope";
    if (kind == EnvelopeKind::Response) out += " xml:lang=\"en-US\"";
    declare(out, "s", kSoapNs);
    if (kind == EnvelopeKind::Identify) {
        declare(out, "wsmid", kIdentityNs);
    } else {
        declare(out, "a", kAddressingNs);
        declare(out, "n", kEnumerationNs);
        declare(out, "w", kWsmanNs);
    }
    if (kind == EnvelopeKind::Response) {
        declare(out, "xsi", kXsiNs);
        declare(out, "cim", kCimNs);
    }
    out += '>';
    if (header.empty()) {
        out += "<s:Header/>";
    } else {
        out += "<s:Header>";
        out += header;
        out += "</s:Header>";
    }
    out += "<s:Body>";
    return out;
}

std::string soapEnvelope(EnvelopeKind kind, std::string_view header, std::string_view body) {
    std::string out = openEnvelope(kind, header, body.size());
    out += body;
    out += kEnvelopeEnd;
    return out;
}

std::string messageIdElement() { return "<a:MessageID>" + newUuid() + "</a:MessageID>"; }

}  // namespace vantrel::wsman
