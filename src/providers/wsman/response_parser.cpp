#include "providers/wsman/response_parser.h"

#include <pugixml.hpp>

#include "providers/wsman/wsman_uris.h"
#include "providers/wsman/xml_names.h"
#include "wbem/wbem_error.h"

namespace vantrel::wsman {

namespace {

[[noreturn]] void malformed(const std::string& why) {
    throw wbem::WbemError(wbem::ErrorCode::ConnectionFailed, "The server's answer is not usable: " + why);
}

// Runs of blanks become one space; no blanks at either end.
std::string foldBlanks(std::string_view text) {
    std::string out;
    bool blank = false;
    for (char c : text) {
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
            blank = !out.empty();
            continue;
        }
        if (blank) out += ' ';
        blank = false;
        out += c;
    }
    return out;
}

std::string allText(pugi::xml_node node) {
    std::string out;
    for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling())
        if (c.type() == pugi::node_pcdata || c.type() == pugi::node_cdata) out += c.value();
    return out;
}

RawProperty readProperty(pugi::xml_node element) {
    RawProperty p;
    p.name = std::string(localName(element.name()));
    const pugi::xml_attribute nil = attributeNs(element, kXsiNs, "nil");
    p.nil = nil && (std::string_view(nil.value()) == "true" || std::string_view(nil.value()) == "1");
    if (const pugi::xml_attribute type = attributeNs(element, kXsiNs, "type"))
        p.xsiType = std::string(localName(type.value()));
    for (pugi::xml_node c = element.first_child(); c; c = c.next_sibling()) {
        if (c.type() != pugi::node_element) continue;
        const std::string_view local = localName(c.name());
        if (local == "Datetime" || local == "Date" || local == "Time") {
            p.isDatetime = local == "Datetime";
            p.text = allText(c);
            return p;
        }
        if (local == "Interval") {
            p.text = allText(c);
            return p;
        }
        p.hasElements = true;
    }
    if (!p.hasElements) p.text = allText(element);
    return p;
}

RawItem readItem(pugi::xml_node element) {
    RawItem item;
    if (!isElement(element, kWsmanNs, "XmlFragment")) item.className = std::string(localName(element.name()));
    for (pugi::xml_node c = element.first_child(); c; c = c.next_sibling())
        if (c.type() == pugi::node_element) item.properties.push_back(readProperty(c));
    return item;
}

void readItems(pugi::xml_node items, Response& out) {
    if (!items) return;
    for (pugi::xml_node c = items.first_child(); c; c = c.next_sibling())
        if (c.type() == pugi::node_element) out.items.push_back(readItem(c));
}

// The deepest message the fault's detail holds: WinRM nests provider faults
// inside its own, and the innermost one names the real cause.
std::string innermostMessage(pugi::xml_node node, int depth) {
    if (depth > 16) return {};
    std::string found;
    for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling()) {
        if (c.type() != pugi::node_element) continue;
        const std::string_view local = localName(c.name());
        if (local == "Message") {
            const std::string own = foldBlanks(allText(c));
            if (!own.empty()) found = own;
        }
        std::string deeper = innermostMessage(c, depth + 1);
        if (!deeper.empty()) found = std::move(deeper);
    }
    return found;
}

Fault readFault(pugi::xml_node faultElement) {
    Fault f;
    const pugi::xml_node code = childElement(faultElement, kSoapNs, "Code");
    f.code = std::string(localName(foldBlanks(allText(childElement(code, kSoapNs, "Value"))).c_str()));
    const pugi::xml_node sub = childElement(childElement(code, kSoapNs, "Subcode"), kSoapNs, "Value");
    const std::string subText = foldBlanks(allText(sub));
    f.subcode = std::string(localName(subText.c_str()));
    const pugi::xml_node reason = childElement(faultElement, kSoapNs, "Reason");
    for (pugi::xml_node t = reason.first_child(); t; t = t.next_sibling())
        if (isElement(t, kSoapNs, "Text")) f.reason = foldBlanks(allText(t));
    f.detail = innermostMessage(childElement(faultElement, kSoapNs, "Detail"), 0);
    return f;
}

}  // namespace

std::string Fault::text() const {
    if (!detail.empty()) return detail;
    if (!reason.empty()) return reason;
    return "The server reported a fault (" + (subcode.empty() ? code : subcode) + ")";
}

Response parseResponse(std::string_view xml) {
    pugi::xml_document doc;
    const pugi::xml_parse_result parsed =
        doc.load_buffer(xml.data(), xml.size(), pugi::parse_default | pugi::parse_ws_pcdata, pugi::encoding_utf8);
    if (!parsed)
        malformed(std::string(parsed.description()) + " at byte " + std::to_string(parsed.offset));
    const pugi::xml_node envelope = doc.document_element();
    if (!isElement(envelope, kSoapNs, "Envelope")) malformed("no SOAP envelope");
    const pugi::xml_node body = childElement(envelope, kSoapNs, "Body");
    if (!body) malformed("no SOAP body");

    Response out;
    if (const pugi::xml_node fault = childElement(body, kSoapNs, "Fault")) {
        out.kind = ResponseKind::Fault;
        out.fault = readFault(fault);
        return out;
    }
    if (const pugi::xml_node id = childElement(body, kIdentityNs, "IdentifyResponse")) {
        out.kind = ResponseKind::Identify;
        out.productVendor = foldBlanks(allText(childElement(id, kIdentityNs, "ProductVendor")));
        out.productVersion = foldBlanks(allText(childElement(id, kIdentityNs, "ProductVersion")));
        return out;
    }
    if (const pugi::xml_node en = childElement(body, kEnumerationNs, "EnumerateResponse")) {
        out.kind = ResponseKind::Enumerate;
        out.context = foldBlanks(allText(childElement(en, kEnumerationNs, "EnumerationContext")));
        readItems(childElement(en, kWsmanNs, "Items"), out);
        // After an Enumerate the marker is WS-Management's; accept either.
        out.endOfSequence = childElement(en, kWsmanNs, "EndOfSequence") || childElement(en, kEnumerationNs, "EndOfSequence");
        return out;
    }
    if (const pugi::xml_node pull = childElement(body, kEnumerationNs, "PullResponse")) {
        out.kind = ResponseKind::Pull;
        out.context = foldBlanks(allText(childElement(pull, kEnumerationNs, "EnumerationContext")));
        readItems(childElement(pull, kEnumerationNs, "Items"), out);
        out.endOfSequence = childElement(pull, kEnumerationNs, "EndOfSequence") || childElement(pull, kWsmanNs, "EndOfSequence");
        return out;
    }
    const pugi::xml_node first = body.find_child([](pugi::xml_node n) { return n.type() == pugi::node_element; });
    if (!first || isElement(first, kEnumerationNs, "ReleaseResponse")) {
        out.kind = ResponseKind::Release;
        return out;
    }
    malformed("unexpected answer <" + std::string(first.name()).substr(0, 64) + ">");
}

}  // namespace vantrel::wsman
