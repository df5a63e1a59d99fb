#include "network/discovery/wsd_messages.h"

#include <pugixml.hpp>

#include <array>
#include <cstdio>
#include <random>
#include <sstream>

#include "network/discovery/computer_list.h"
#include "text/xml_escape.h"

namespace vantrel::network {

namespace {

constexpr const char* kSoapNs = "http://www.w3.org/2003/05/soap-envelope";
constexpr const char* kAddressingNs = "http://schemas.xmlsoap.org/ws/2004/08/addressing";
constexpr const char* kDiscoveryNs = "http://schemas.xmlsoap.org/ws/2005/04/discovery";
constexpr const char* kDevprofNs = "http://schemas.xmlsoap.org/ws/2006/02/devprof";
constexpr const char* kPubNs = "http://schemas.microsoft.com/windows/pub/2005/07";
constexpr const char* kDiscoveryTo = "urn:schemas-xmlsoap-org:ws:2005:04:discovery";
constexpr const char* kAnonymous = "http://schemas.xmlsoap.org/ws/2004/08/addressing/role/anonymous";


std::string envelope(const std::string& to, const std::string& action, const std::string& messageId,
                     const std::string& extraHeaders, const std::string& body) {
    std::ostringstream out;
    out << "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
        << "<soap:Envelope xmlns:soap=\"" << kSoapNs << "\" xmlns:wsa=\"" << kAddressingNs << "\" xmlns:wsd=\""
        << kDiscoveryNs << "\" xmlns:wsdp=\"" << kDevprofNs << "\">"
        << "<soap:Header><wsa:To>" << text::xmlEscape(to) << "</wsa:To><wsa:Action>" << action
        << "</wsa:Action><wsa:MessageID>" << text::xmlEscape(messageId) << "</wsa:MessageID>" << extraHeaders
        << "</soap:Header><soap:Body>" << body << "</soap:Body></soap:Envelope>";
    return out.str();
}

std::string_view localName(const char* qualified) {
    std::string_view name(qualified);
    const auto colon = name.find(':');
    return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

// The namespace bound to `prefix` where `node` stands ("" for the default one).
std::string_view namespaceOfPrefix(pugi::xml_node node, std::string_view prefix) {
    const std::string attribute = prefix.empty() ? std::string("xmlns") : "xmlns:" + std::string(prefix);
    for (; node; node = node.parent())
        if (auto a = node.attribute(attribute.c_str())) return a.value();
    return {};
}

std::string_view namespaceOf(pugi::xml_node element) {
    std::string_view name(element.name());
    const auto colon = name.find(':');
    return namespaceOfPrefix(element, colon == std::string_view::npos ? std::string_view() : name.substr(0, colon));
}

bool isElement(pugi::xml_node node, const char* ns, std::string_view local) {
    return node.type() == pugi::node_element && localName(node.name()) == local && namespaceOf(node) == ns;
}

pugi::xml_node child(pugi::xml_node parent, const char* ns, std::string_view local) {
    for (auto c : parent.children())
        if (isElement(c, ns, local)) return c;
    return {};
}

// Elements in document order, without recursion: a hostile document may nest
// deeper than the stack would like.
template <typename Visit>
void forEachElement(pugi::xml_node root, Visit visit) {
    pugi::xml_node node = root.first_child();
    while (node) {
        if (node.type() == pugi::node_element) visit(node);
        if (node.first_child()) {
            node = node.first_child();
            continue;
        }
        while (node && !node.next_sibling() && node != root) node = node.parent();
        if (!node || node == root) break;
        node = node.next_sibling();
    }
}

std::vector<std::string> splitWhitespace(std::string_view text) {
    std::vector<std::string> out;
    std::istringstream in{std::string(text)};
    for (std::string word; in >> word;) out.push_back(word);
    return out;
}

bool typesHoldComputer(pugi::xml_node types) {
    for (const auto& qname : splitWhitespace(types.child_value())) {
        const auto colon = qname.find(':');
        if (colon == std::string::npos) continue;
        if (qname.substr(colon + 1) != "Computer") continue;
        const auto ns = namespaceOfPrefix(types, std::string_view(qname).substr(0, colon));
        if (ns == kPubNs || (ns.empty() && qname.substr(0, colon) == "pub")) return true;
    }
    return false;
}

bool parseDocument(pugi::xml_document& doc, std::string_view text, std::size_t limit) {
    if (text.empty() || text.size() > limit) return false;
    return doc.load_buffer(text.data(), text.size(), pugi::parse_default, pugi::encoding_auto).status ==
           pugi::status_ok;
}

void readAnnouncement(pugi::xml_node element, WsdAnnouncement::Kind kind, std::vector<WsdAnnouncement>& out) {
    WsdAnnouncement found;
    found.kind = kind;
    found.endpoint = child(child(element, kAddressingNs, "EndpointReference"), kAddressingNs, "Address").child_value();
    if (found.endpoint.empty() || found.endpoint.size() > 1024) return;
    found.isComputer = typesHoldComputer(child(element, kDiscoveryNs, "Types"));
    found.xaddrs = splitWhitespace(child(element, kDiscoveryNs, "XAddrs").child_value());
    out.push_back(std::move(found));
}

}  // namespace

std::string newMessageId() {
    static thread_local std::mt19937_64 random{std::random_device{}()};
    std::array<unsigned char, 16> b{};
    for (auto& byte : b) byte = static_cast<unsigned char>(random());
    b[6] = static_cast<unsigned char>((b[6] & 0x0F) | 0x40);
    b[8] = static_cast<unsigned char>((b[8] & 0x3F) | 0x80);
    char text[64];
    std::snprintf(text, sizeof text,
                  "urn:uuid:%02x%02x%02x%02x-%02x%02x-%02x%02x-%02x%02x-%02x%02x%02x%02x%02x%02x", b[0], b[1], b[2],
                  b[3], b[4], b[5], b[6], b[7], b[8], b[9], b[10], b[11], b[12], b[13], b[14], b[15]);
    return text;
}

std::string wsdProbeMessage(const std::string& messageId) {
    // Types exactly "wsdp:Device": that is what Windows asks, and some
    // responders compare the text literally.
    return envelope(kDiscoveryTo, "http://schemas.xmlsoap.org/ws/2005/04/discovery/Probe", messageId, "",
                    "<wsd:Probe><wsd:Types>wsdp:Device</wsd:Types></wsd:Probe>");
}

std::string wsdResolveMessage(const std::string& messageId, const std::string& endpoint) {
    return envelope(kDiscoveryTo, "http://schemas.xmlsoap.org/ws/2005/04/discovery/Resolve", messageId, "",
                    "<wsd:Resolve><wsa:EndpointReference><wsa:Address>" + text::xmlEscape(endpoint) +
                        "</wsa:Address></wsa:EndpointReference></wsd:Resolve>");
}

std::string transferGetMessage(const std::string& messageId, const std::string& endpoint) {
    return envelope(endpoint, "http://schemas.xmlsoap.org/ws/2004/09/transfer/Get", messageId,
                    std::string("<wsa:ReplyTo><wsa:Address>") + kAnonymous + "</wsa:Address></wsa:ReplyTo>", "");
}

std::vector<WsdAnnouncement> parseWsdDatagram(std::string_view datagram) {
    std::vector<WsdAnnouncement> out;
    pugi::xml_document doc;
    if (!parseDocument(doc, datagram, kMaxWsdDatagram)) return out;
    const auto root = doc.document_element();
    if (!isElement(root, kSoapNs, "Envelope")) return out;
    const auto body = child(root, kSoapNs, "Body");
    for (auto message : body.children()) {
        if (isElement(message, kDiscoveryNs, "ProbeMatches")) {
            for (auto match : message.children())
                if (isElement(match, kDiscoveryNs, "ProbeMatch"))
                    readAnnouncement(match, WsdAnnouncement::Kind::ProbeMatch, out);
        } else if (isElement(message, kDiscoveryNs, "ResolveMatches")) {
            for (auto match : message.children())
                if (isElement(match, kDiscoveryNs, "ResolveMatch"))
                    readAnnouncement(match, WsdAnnouncement::Kind::ResolveMatch, out);
        } else if (isElement(message, kDiscoveryNs, "Hello")) {
            readAnnouncement(message, WsdAnnouncement::Kind::Hello, out);
        } else if (isElement(message, kDiscoveryNs, "Bye")) {
            readAnnouncement(message, WsdAnnouncement::Kind::Bye, out);
        }
    }
    return out;
}

std::optional<std::string> parseComputerName(std::string_view metadata) {
    pugi::xml_document doc;
    if (!parseDocument(doc, metadata, kMaxWsdMetadata)) return std::nullopt;
    std::optional<std::string> name;
    forEachElement(doc, [&](pugi::xml_node element) {
        if (name || !isElement(element, kPubNs, "Computer")) return;
        std::string text = element.child_value();
        const auto slash = text.find('/');
        if (slash != std::string::npos) text.resize(slash);
        while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.pop_back();
        if (isPlausibleComputerName(text)) name = text;
    });
    return name;
}

}  // namespace vantrel::network
