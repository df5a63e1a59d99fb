#include "providers/wsman/request_envelopes.h"

#include "providers/wsman/soap_envelope.h"
#include "providers/wsman/wsman_uris.h"
#include "providers/wsman/xml_text.h"

namespace vantrel::wsman {

namespace {

std::string envelope(const RequestHeader& header, std::string_view action, std::string_view body) {
    const auto timeoutMs = header.operationTimeout.count();
    std::string timeout = "PT" + std::to_string(timeoutMs / 1000) + "." + std::to_string(1000 + timeoutMs % 1000).substr(1) + "S";
    std::string head = "<a:To>" + xmlEscape(header.to) + "</a:To>";
    head += "<w:ResourceURI s:mustUnderstand=\"true\">" + xmlEscape(header.resourceUri) + "</w:ResourceURI>";
    head += "<a:ReplyTo><a:Address s:mustUnderstand=\"true\">";
    head += kAnonymousAddress;
    head += "</a:Address></a:ReplyTo><a:Action s:mustUnderstand=\"true\">";
    head += action;
    head += "</a:Action><w:MaxEnvelopeSize s:mustUnderstand=\"true\">" + std::to_string(header.maxEnvelopeSize) +
            "</w:MaxEnvelopeSize>";
    head += messageIdElement();
    head += "<w:Locale xml:lang=\"en-US\" s:mustUnderstand=\"false\"/>";
    head += "<w:OperationTimeout>" + timeout + "</w:OperationTimeout>";
    return soapEnvelope(EnvelopeKind::Request, head, body);
}

}  // namespace

std::string wmiResourceUri(std::string_view nameSpace) {
    std::string uri = kWmiResourcePrefix;
    for (char c : nameSpace) uri += c == '\\' ? '/' : c;
    return uri + "/*";
}

std::string identifyRequest() { return soapEnvelope(EnvelopeKind::Identify, "", "<wsmid:Identify/>"); }

std::string enumerateRequest(const RequestHeader& header, std::string_view wql, unsigned maxElements) {
    std::string body = "<n:Enumerate><w:OptimizeEnumeration/><w:MaxElements>" + std::to_string(maxElements) +
                       "</w:MaxElements><w:Filter Dialect=\"";
    body += kWqlDialect;
    body += "\">" + xmlEscape(wql) + "</w:Filter></n:Enumerate>";
    return envelope(header, kEnumerateAction, body);
}

std::string pullRequest(const RequestHeader& header, std::string_view context, unsigned maxElements) {
    const std::string body = "<n:Pull><n:EnumerationContext>" + xmlEscape(context) +
                             "</n:EnumerationContext><n:MaxElements>" + std::to_string(maxElements) +
                             "</n:MaxElements></n:Pull>";
    return envelope(header, kPullAction, body);
}

std::string releaseRequest(const RequestHeader& header, std::string_view context) {
    const std::string body =
        "<n:Release><n:EnumerationContext>" + xmlEscape(context) + "</n:EnumerationContext></n:Release>";
    return envelope(header, kReleaseAction, body);
}

}  // namespace vantrel::wsman
