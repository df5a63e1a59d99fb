#include "agent/wsman_service.h"

#include <pugixml.hpp>

#include <algorithm>
#include <charconv>
#include <optional>

#include "providers/wsman/soap_envelope.h"
#include "providers/wsman/wsman_uris.h"
#include "providers/wsman/xml_names.h"
#include "providers/wsman/xml_text.h"
#include "wbem/wbem_error.h"
#include "wbem/wql.h"

namespace vantrel::agent {

using namespace vantrel::wsman;

namespace {

constexpr std::size_t kDefaultEnvelopeSize = 153600;
constexpr std::size_t kSmallestEnvelope = 8192;
constexpr std::size_t kLargestEnvelope = 4u << 20;
constexpr std::size_t kEnvelopeOverhead = 2048;  // header and body elements around the items
constexpr unsigned kMaxElementsCap = 32000;

struct Failure {
    bool sender;
    std::string subcode;  // prefixed: "w:AccessDenied", "n:CannotProcessFilter"
    std::string reason;
    std::string detail;
};

// An answer's envelope up to its body.
std::string envelopeStart(std::string_view action, std::string_view relatesTo) {
    std::string head = "<a:Action>";
    head += action;
    head += "</a:Action>" + messageIdElement() + "<a:To>";
    head += kAnonymousAddress;
    head += "</a:To>";
    if (!relatesTo.empty()) head += "<a:RelatesTo>" + xmlEscape(relatesTo) + "</a:RelatesTo>";
    return openEnvelope(EnvelopeKind::Response, head);
}

AgentReply faultReply(const Failure& f, std::string_view relatesTo) {
    std::string body = envelopeStart(kFaultAction, relatesTo);
    body += "<s:Fault><s:Code><s:Value>";
    body += f.sender ? "s:Sender" : "s:Receiver";
    body += "</s:Value><s:Subcode><s:Value>" + f.subcode + "</s:Value></s:Subcode></s:Code><s:Reason><s:Text xml:lang=\"en-US\">" +
            xmlEscape(f.reason) + "</s:Text></s:Reason>";
    if (!f.detail.empty()) {
        body += "<s:Detail><f:WSManFault xmlns:f=\"";
        body += kFaultDetailNs;
        body += "\"><f:Message>" + xmlEscape(f.detail) + "</f:Message></f:WSManFault></s:Detail>";
    }
    body += "</s:Fault>";
    body += kEnvelopeEnd;
    return {500, std::move(body)};
}

Failure failureOf(const wbem::WbemError& e) {
    using wbem::ErrorCode;
    switch (e.code()) {
        case ErrorCode::AccessDenied: return {true, "w:AccessDenied", "Access is denied.", e.what()};
        case ErrorCode::InvalidClass:
            return {true, "n:CannotProcessFilter", "The data source could not process the filter.",
                    std::string("The specified class does not exist in the given namespace: ") + e.what()};
        case ErrorCode::InvalidQuery:
            return {true, "n:CannotProcessFilter", "The data source could not process the filter.", e.what()};
        case ErrorCode::InvalidNamespace:
            return {true, "w:DestinationUnreachable", "The namespace does not exist.", e.what()};
        default: return {false, "w:InternalError", "The service cannot complete the operation.", e.what()};
    }
}

void appendValue(std::string& out, const std::string& name, const wbem::Value& v) {
    using Kind = wbem::Value::Kind;
    switch (v.kind()) {
        case Kind::Absent: out += "<" + name + " xsi:nil=\"true\"/>"; return;
        case Kind::Text: out += "<" + name + " xsi:type=\"cim:cimString\">" + xmlEscape(v.asText()) + "</" + name + ">"; return;
        case Kind::Integer:
            out += "<" + name + " xsi:type=\"cim:cimLong\">" + std::to_string(v.asInteger()) + "</" + name + ">";
            return;
        case Kind::Boolean:
            out += "<" + name + " xsi:type=\"cim:cimBoolean\">" + (v.asBoolean() ? "true" : "false") + "</" + name + ">";
            return;
        case Kind::Array:
            for (const auto& e : v.elements())
                if (e.kind() != Kind::Array && e.kind() != Kind::Absent) appendValue(out, name, e);
            return;
    }
}

// A WQL answer's item: the properties asked for, in a w:XmlFragment.
// Names that came through the WQL parser are plain identifiers, safe as element names.
std::string fragmentOf(const wbem::Row& row, const std::vector<std::string>& properties) {
    std::string out = "<w:XmlFragment>";
    for (const std::string& name : properties) {
        try {
            appendValue(out, name, row.property(name));
        } catch (const wbem::WbemError&) {
            // Not a property of this row: left out, as WinRM does.
        }
    }
    return out + "</w:XmlFragment>";
}

// A class resource's item, as WinRM gives it to generic clients: an element
// named after the class in the resource URI's namespace, every property in it.
std::string instanceOf(const wbem::Row& row, const std::string& className, const std::string& resourceUri) {
    std::string out = "<p:" + className + " xmlns:p=\"" + xmlEscape(resourceUri) + "\">";
    for (const std::string& name : row.propertyNames()) appendValue(out, "p:" + name, row.property(name));
    return out + "</p:" + className + ">";
}

std::string allText(pugi::xml_node node) {
    std::string out;
    for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling())
        if (c.type() == pugi::node_pcdata || c.type() == pugi::node_cdata) out += c.value();
    const auto first = out.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return {};
    return out.substr(first, out.find_last_not_of(" \t\r\n") - first + 1);
}

template <typename T>
std::optional<T> number(const std::string& text) {
    T value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

}  // namespace

struct WsmanService::Request {
    pugi::xml_document doc;
    pugi::xml_node header, body;
    std::string action, messageId, resourceUri;
    std::size_t maxEnvelopeSize = kDefaultEnvelopeSize;
};

WsmanService::WsmanService(std::shared_ptr<wbem::Provider> provider, std::string productVersion, ServiceLimits limits)
    : provider_(std::move(provider)), productVersion_(std::move(productVersion)), limits_(limits), store_(limits.store) {}

AgentReply WsmanService::handle(std::string_view text, const std::string& user) {
    Request request;
    const auto parsed = request.doc.load_buffer(text.data(), text.size(), pugi::parse_default, pugi::encoding_utf8);
    const pugi::xml_node envelope = request.doc.document_element();
    if (!parsed || !isElement(envelope, kSoapNs, "Envelope"))
        return faultReply({true, "w:SchemaValidationError", "The request is not a SOAP envelope.", ""}, "");
    request.header = childElement(envelope, kSoapNs, "Header");
    request.body = childElement(envelope, kSoapNs, "Body");
    if (childElement(request.body, kIdentityNs, "Identify")) return identify();
    // Without a login only Identify is answered.
    if (user.empty()) return {401, {}};
    request.action = allText(childElement(request.header, kAddressingNs, "Action"));
    request.messageId = allText(childElement(request.header, kAddressingNs, "MessageID"));
    request.resourceUri = allText(childElement(request.header, kWsmanNs, "ResourceURI"));
    if (const auto size = number<std::size_t>(allText(childElement(request.header, kWsmanNs, "MaxEnvelopeSize"))))
        request.maxEnvelopeSize = std::clamp(*size, kSmallestEnvelope, kLargestEnvelope);
    try {
        if (request.action == kEnumerateAction) return enumerate(request, user);
        if (request.action == kPullAction) return pull(request, user);
        if (request.action == kReleaseAction) return release(request, user);
    } catch (const wbem::WbemError& e) {
        return faultReply(failureOf(e), request.messageId);
    } catch (const std::exception& e) {
        return faultReply({false, "w:InternalError", "The service cannot complete the operation.", e.what()},
                          request.messageId);
    }
    return faultReply({true, "a:ActionNotSupported", "The action is not supported by the service.",
                       request.action.substr(0, 200)},
                      request.messageId);
}

AgentReply WsmanService::identify() const {
    std::string body = "<wsmid:IdentifyResponse><wsmid:ProtocolVersion>";
    body += kWsmanNs;
    body += "</wsmid:ProtocolVersion><wsmid:ProductVendor>Vantrel</wsmid:ProductVendor><wsmid:ProductVersion>" +
            xmlEscape(productVersion_) + "</wsmid:ProductVersion></wsmid:IdentifyResponse>";
    return {200, soapEnvelope(EnvelopeKind::Identify, "", body)};
}

AgentReply WsmanService::enumerate(const Request& request, const std::string& user) {
    const std::string prefix = kWmiResourcePrefix;
    const std::string& uri = request.resourceUri;
    // ".../wmi/root/cimv2/*" with a WQL filter, or ".../wmi/root/cimv2/Win32_Processor"
    // for every instance of a class, as generic clients ask.
    const auto lastSlash = uri.rfind('/');
    if (uri.compare(0, prefix.size(), prefix) != 0 || lastSlash == std::string::npos || lastSlash <= prefix.size() ||
        lastSlash + 1 == uri.size())
        return faultReply({true, "w:InvalidResourceURI", "The resource URI is not supported.", uri.substr(0, 200)},
                          request.messageId);
    std::string nameSpace = uri.substr(prefix.size(), lastSlash - prefix.size());
    for (char& c : nameSpace)
        if (c == '/') c = '\\';
    const std::string resource = uri.substr(lastSlash + 1);

    const pugi::xml_node enumerateNode = childElement(request.body, kEnumerationNs, "Enumerate");
    std::string wql;
    const bool wholeClass = resource != "*";
    if (!wholeClass) {
        const pugi::xml_node filter = childElement(enumerateNode, kWsmanNs, "Filter");
        const std::string dialect = filter.attribute("Dialect").value();
        if (!filter || (!dialect.empty() && dialect != kWqlDialect))
            return faultReply({true, "w:FilterDialectRequestedUnavailable", "Only WQL filters are supported.", ""},
                              request.messageId);
        wql = allText(filter);
    } else {
        const bool plainName = std::all_of(resource.begin(), resource.end(), [](char c) {
            return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
        });
        if (!plainName || resource.size() > 256)
            return faultReply({true, "w:InvalidResourceURI", "The resource URI is not supported.", uri.substr(0, 200)},
                              request.messageId);
        wql = "Select * From " + resource;
    }
    if (wql.size() > limits_.maxQueryBytes)
        return faultReply({false, "w:QuotaLimit", "The query is longer than the service accepts.", ""},
                          request.messageId);
    const wbem::WqlSelect select = wbem::parseWql(wql);
    const std::vector<std::string>& properties = select.properties;
    if (properties.size() > limits_.maxPropertiesPerQuery)
        return faultReply({false, "w:QuotaLimit", "The query names more properties than the service accepts.", ""},
                          request.messageId);

    Enumeration enumeration{user, {}};
    {
        std::lock_guard lock(providerMutex_);
        auto services = provider_->connect({"", nameSpace, "", ""});
        auto rows = services->ExecQuery(wql);
        std::size_t bytes = 0;
        while (auto row = rows->next()) {
            if (enumeration.items.size() >= limits_.maxItemsPerQuery || bytes > limits_.maxBytesPerQuery)
                return faultReply({false, "w:QuotaLimit", "The query gives more items than the service delivers.", ""},
                                  request.messageId);
            enumeration.items.push_back(wholeClass ? instanceOf(*row, resource, uri)
                                                   : fragmentOf(*row, select.allProperties ? row->propertyNames()
                                                                                           : properties));
            bytes += enumeration.items.back().size();
        }
    }
    if (!childElement(enumerateNode, kWsmanNs, "OptimizeEnumeration")) {
        // Items come with the first Pull.
        const auto context = store_.put(std::move(enumeration));
        if (!context) return faultReply({false, "w:QuotaLimit", "Too many enumerations are open.", ""}, request.messageId);
        std::string body = envelopeStart(kEnumerateResponseAction, request.messageId);
        body += "<n:EnumerateResponse><n:EnumerationContext>" + *context + "</n:EnumerationContext></n:EnumerateResponse>";
        body += kEnvelopeEnd;
        return {200, std::move(body)};
    }
    return page(request, std::move(enumeration), true);
}

AgentReply WsmanService::pull(const Request& request, const std::string& user) {
    const pugi::xml_node pullNode = childElement(request.body, kEnumerationNs, "Pull");
    const std::string context = allText(childElement(pullNode, kEnumerationNs, "EnumerationContext"));
    auto enumeration = store_.take(context, user);
    if (!enumeration)
        return faultReply({true, "n:InvalidEnumerationContext",
                           "The enumeration context supplied in the message is not valid.", ""},
                          request.messageId);
    return page(request, std::move(*enumeration), false);
}

AgentReply WsmanService::release(const Request& request, const std::string& user) {
    const pugi::xml_node node = childElement(request.body, kEnumerationNs, "Release");
    store_.take(allText(childElement(node, kEnumerationNs, "EnumerationContext")), user);
    std::string body = envelopeStart(kReleaseResponseAction, request.messageId);
    body += kEnvelopeEnd;
    return {200, std::move(body)};
}

AgentReply WsmanService::page(const Request& request, Enumeration enumeration, bool afterEnumerate) {
    const pugi::xml_node op = childElement(request.body, kEnumerationNs, afterEnumerate ? "Enumerate" : "Pull");
    const char* maxNs = afterEnumerate ? kWsmanNs : kEnumerationNs;
    const unsigned maxElements =
        std::clamp(number<unsigned>(allText(childElement(op, maxNs, "MaxElements"))).value_or(1u), 1u, kMaxElementsCap);
    const std::size_t budget = request.maxEnvelopeSize - kEnvelopeOverhead;

    std::string items;
    unsigned count = 0;
    while (!enumeration.items.empty() && count < maxElements) {
        const std::string& next = enumeration.items.front();
        if (items.size() + next.size() > budget) {
            if (count == 0)
                return faultReply({true, "w:EncodingLimit",
                                   "An item is larger than the maximum envelope size of the request.", ""},
                                  request.messageId);
            break;
        }
        items += next;
        enumeration.items.pop_front();
        ++count;
    }
    const bool end = enumeration.items.empty();
    std::string context;
    if (!end) {
        auto stored = store_.put(std::move(enumeration));
        if (!stored) return faultReply({false, "w:QuotaLimit", "Too many enumerations are open.", ""}, request.messageId);
        context = *stored;
    }
    const char* ns = afterEnumerate ? "w" : "n";
    std::string body = envelopeStart(afterEnumerate ? kEnumerateResponseAction : kPullResponseAction, request.messageId);
    body += afterEnumerate ? "<n:EnumerateResponse>" : "<n:PullResponse>";
    body += "<n:EnumerationContext>" + context + "</n:EnumerationContext>";
    body += std::string("<") + ns + ":Items>" + items + "</" + ns + ":Items>";
    if (end) body += std::string("<") + ns + ":EndOfSequence/>";
    body += afterEnumerate ? "</n:EnumerateResponse>" : "</n:PullResponse>";
    body += kEnvelopeEnd;
    return {200, std::move(body)};
}

}  // namespace vantrel::agent
