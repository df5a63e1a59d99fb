#include "providers/wsman/request_envelopes.h"

#include "providers/wsman/wsman_uris.h"
#include "providers/wsman/xml_text.h"

namespace vantrel::wsman {

namespace {

std::string envelope(const RequestHeader& header, std::string_view action, std::string_view body) {
    const auto timeoutMs = header.operationTimeout.count();
    std::string timeout = "PT" + std::to_string(timeoutMs / 1000) + "." + std::to_string(1000 + timeoutMs % 1000).substr(1) + "S";
    std::string out;
    out.reserve(1024 + body.size());
    out += "<s:Envelope xmlns:s=\"";
    out += kSoapNs;
    out += "\" xmlns:a=\"";
    out += kAddressingNs;
    out += "\" xmlns:n=\"";
    out += kEnumerationNs;
    out += "\" xmlns:w=\"";
    out += kWsmanNs;
    out += "\"><s:Header><a:To>" + xmlEscape(header.to) + "</a:To>";
    out += "<w:ResourceURI s:mustUnderstand=\"true\">" + xmlEscape(header.resourceUri) + "</w:ResourceURI>";
    out += "<a:ReplyTo><a:Address s:mustUnderstand=\"true\">";
    out += kAnonymousAddress;
    out += "</a:Address></a:ReplyTo><a:Action s:mustUnderstand=\"true\">";
    out += action;
    out += "</a:Action><w:MaxEnvelopeSize s:mustUnderstand=\"true\">" + std::to_string(header.maxEnvelopeSize) +
           "</w:MaxEnvelopeSize>";
    out += "<a:MessageID>" + newUuid() + "</a:MessageID>";
    out += "<w:Locale xml:lang=\"en-US\" s:mustUnderstand=\"false\"/>";
    out += "<w:OperationTimeout>" + timeout + "</w:OperationTimeout></s:Header><s:Body>";
    out += body;
    out += "</s:Body></s:Envelope>";
    return out;
}

}  // namespace

std::string wmiResourceUri(std::string_view nameSpace) {
    std::string uri = kWmiResourcePrefix;
    for (char c : nameSpace) uri += c == '\\' ? '/' : c;
    return uri + "/*";
}

std::string identifyRequest() {
    std::string out = "<s:Envelope xmlns:s=\"";
    out += kSoapNs;
    out += "\" xmlns:wsmid=\"";
    out += kIdentityNs;
    out += "\"><s:Header/><s:Body><wsmid:Identify/></s:Body></s:Envelope>";
    return out;
}

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
