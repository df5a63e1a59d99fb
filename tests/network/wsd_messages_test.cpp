#include "network/discovery/wsd_messages.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include "network/discovery/wsd_browser.h"

namespace vantrel::network {
namespace {

const std::string kEnvelopeStart =
    "<soap:Envelope xmlns:soap=\"http://www.w3.org/2003/05/soap-envelope\" "
    "xmlns:wsa=\"http://schemas.xmlsoap.org/ws/2004/08/addressing\" "
    "xmlns:wsd=\"http://schemas.xmlsoap.org/ws/2005/04/discovery\" "
    "xmlns:wsdp=\"http://schemas.xmlsoap.org/ws/2006/02/devprof\" "
    "xmlns:pub=\"http://schemas.microsoft.com/windows/pub/2005/07\"><soap:Header/><soap:Body>";
const std::string kEnvelopeEnd = "</soap:Body></soap:Envelope>";

std::string match(const std::string& element, const std::string& endpoint, const std::string& types,
                  const std::string& xaddrs = "") {
    std::string out = "<wsd:" + element + "><wsa:EndpointReference><wsa:Address>" + endpoint +
                      "</wsa:Address></wsa:EndpointReference><wsd:Types>" + types + "</wsd:Types>";
    if (!xaddrs.empty()) out += "<wsd:XAddrs>" + xaddrs + "</wsd:XAddrs>";
    return out + "<wsd:MetadataVersion>1</wsd:MetadataVersion></wsd:" + element + ">";
}

TEST(WsdMessages, ProbeAsksForTypesExactlyWsdpDevice) {
    pugi::xml_document doc;
    const std::string probe = wsdProbeMessage(newMessageId());
    ASSERT_TRUE(doc.load_string(probe.c_str()));
    const auto types = doc.select_node("//wsd:Probe/wsd:Types").node();
    EXPECT_STREQ(types.child_value(), "wsdp:Device");
    EXPECT_STREQ(doc.select_node("//wsa:Action").node().child_value(),
                 "http://schemas.xmlsoap.org/ws/2005/04/discovery/Probe");
    EXPECT_STREQ(doc.select_node("//wsa:To").node().child_value(), "urn:schemas-xmlsoap-org:ws:2005:04:discovery");
    EXPECT_STREQ(doc.document_element().attribute("xmlns:wsdp").value(),
                 "http://schemas.xmlsoap.org/ws/2006/02/devprof");
}

TEST(WsdMessages, ResolveAndGetNameTheEndpointEscaped) {
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(wsdResolveMessage(newMessageId(), "urn:uuid:a&b").c_str()));
    EXPECT_STREQ(doc.select_node("//wsd:Resolve/wsa:EndpointReference/wsa:Address").node().child_value(),
                 "urn:uuid:a&b");
    ASSERT_TRUE(doc.load_string(transferGetMessage(newMessageId(), "urn:uuid:<x>").c_str()));
    EXPECT_STREQ(doc.select_node("//wsa:To").node().child_value(), "urn:uuid:<x>");
    EXPECT_STREQ(doc.select_node("//wsa:Action").node().child_value(),
                 "http://schemas.xmlsoap.org/ws/2004/09/transfer/Get");
}

TEST(WsdMessages, MessageIdsAreFreshUuidUrns) {
    const std::string a = newMessageId(), b = newMessageId();
    EXPECT_NE(a, b);
    ASSERT_EQ(a.size(), 9u + 36u);
    EXPECT_EQ(a.substr(0, 9), "urn:uuid:");
    EXPECT_EQ(a[9 + 14], '4');  // version 4
}

TEST(WsdMessages, ReadsEveryMatchHelloAndBye) {
    const std::string datagram = kEnvelopeStart + "<wsd:ProbeMatches>" +
                                 match("ProbeMatch", "urn:uuid:1", "wsdp:Device pub:Computer") +
                                 match("ProbeMatch", "urn:uuid:2", "wsdp:Device") +
                                 match("ProbeMatch", "urn:uuid:3", "wsdp:Device pub:Computer",
                                       "http://10.0.0.3:5357/x http://[fd00::3]:5357/x") +
                                 "</wsd:ProbeMatches>" + kEnvelopeEnd;
    const auto heard = parseWsdDatagram(datagram);
    ASSERT_EQ(heard.size(), 3u);
    EXPECT_EQ(heard[0].endpoint, "urn:uuid:1");
    EXPECT_TRUE(heard[0].isComputer);
    EXPECT_FALSE(heard[1].isComputer);
    EXPECT_EQ(heard[2].xaddrs, (std::vector<std::string>{"http://10.0.0.3:5357/x", "http://[fd00::3]:5357/x"}));

    const auto hello = parseWsdDatagram(kEnvelopeStart + match("Hello", "urn:uuid:h", "pub:Computer") + kEnvelopeEnd);
    ASSERT_EQ(hello.size(), 1u);
    EXPECT_EQ(hello[0].kind, WsdAnnouncement::Kind::Hello);
    const auto bye = parseWsdDatagram(kEnvelopeStart +
                                      "<wsd:Bye><wsa:EndpointReference><wsa:Address>urn:uuid:h</wsa:Address>"
                                      "</wsa:EndpointReference></wsd:Bye>" + kEnvelopeEnd);
    ASSERT_EQ(bye.size(), 1u);
    EXPECT_EQ(bye[0].kind, WsdAnnouncement::Kind::Bye);
}

TEST(WsdMessages, ComputerTypeIsKnownByNamespaceNotByPrefix) {
    // Another prefix bound to the pub namespace is a computer; "pub:" bound
    // elsewhere is not.
    const std::string other =
        "<s:Envelope xmlns:s=\"http://www.w3.org/2003/05/soap-envelope\"><s:Body>"
        "<d:ProbeMatches xmlns:d=\"http://schemas.xmlsoap.org/ws/2005/04/discovery\" "
        "xmlns:a=\"http://schemas.xmlsoap.org/ws/2004/08/addressing\" "
        "xmlns:m=\"http://schemas.microsoft.com/windows/pub/2005/07\" xmlns:pub=\"urn:elsewhere\">"
        "<d:ProbeMatch><a:EndpointReference><a:Address>urn:uuid:m</a:Address></a:EndpointReference>"
        "<d:Types>m:Computer</d:Types></d:ProbeMatch>"
        "<d:ProbeMatch><a:EndpointReference><a:Address>urn:uuid:p</a:Address></a:EndpointReference>"
        "<d:Types>pub:Computer</d:Types></d:ProbeMatch></d:ProbeMatches></s:Body></s:Envelope>";
    const auto heard = parseWsdDatagram(other);
    ASSERT_EQ(heard.size(), 2u);
    EXPECT_TRUE(heard[0].isComputer);
    EXPECT_FALSE(heard[1].isComputer);
}

TEST(WsdMessages, HostileDatagramsGiveNothing) {
    const std::string good = kEnvelopeStart + "<wsd:ProbeMatches>" +
                             match("ProbeMatch", "urn:uuid:1", "pub:Computer") + "</wsd:ProbeMatches>" + kEnvelopeEnd;
    std::string deep = kEnvelopeStart;
    for (int i = 0; i < 20000; ++i) deep += "<a>";
    const struct {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"empty", ""},
        {"not XML", "\x01\x02garbage<<<"},
        {"truncated", good.substr(0, good.size() / 2)},
        {"not a SOAP envelope", "<Envelope><Body/></Envelope>"},
        {"unclosed deep nesting", deep},
        {"oversized", kEnvelopeStart + "<wsd:ProbeMatches>" + match("ProbeMatch", "urn:uuid:1", "pub:Computer") +
                          "<pad>" + std::string(kMaxWsdDatagram, 'x') + "</pad></wsd:ProbeMatches>" + kEnvelopeEnd},
        {"endpoint without address", kEnvelopeStart + "<wsd:Hello><wsd:Types>pub:Computer</wsd:Types></wsd:Hello>" +
                                         kEnvelopeEnd},
    };
    for (const auto& c : cases) EXPECT_TRUE(parseWsdDatagram(c.bytes).empty()) << c.what;
    EXPECT_EQ(parseWsdDatagram(good).size(), 1u);
}

std::string metadata(const std::string& computer) {
    return kEnvelopeStart +
           "<wsx:Metadata xmlns:wsx=\"http://schemas.xmlsoap.org/ws/2004/09/mex\"><wsx:MetadataSection "
           "Dialect=\"http://schemas.xmlsoap.org/ws/2006/02/devprof/Relationship\"><wsdp:Relationship>"
           "<wsdp:Host><wsdp:Types>pub:Computer</wsdp:Types>" + computer +
           "</wsdp:Host></wsdp:Relationship></wsx:MetadataSection></wsx:Metadata>" + kEnvelopeEnd;
}

TEST(WsdMessages, ComputerNameIsTheTextBeforeTheSlash) {
    const struct {
        std::string element;
        std::optional<std::string> name;
    } cases[] = {
        {"<pub:Computer>DESKTOP-7/Workgroup:WORKGROUP</pub:Computer>", "DESKTOP-7"},
        {"<pub:Computer>srv1/Domain:corp.example</pub:Computer>", "srv1"},
        {"<pub:Computer>PLAIN</pub:Computer>", "PLAIN"},
        {"<pub:Computer></pub:Computer>", std::nullopt},
        {"<pub:Computer>/Workgroup:X</pub:Computer>", std::nullopt},
        {"<pub:Computer>..</pub:Computer>", std::nullopt},
        {"<pub:Computer>a\\b/Workgroup:X</pub:Computer>", std::nullopt},
        {"<pub:Computer>bad&#10;name</pub:Computer>", std::nullopt},
        {"<other:Computer xmlns:other=\"urn:x\">NOPE</other:Computer>", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(parseComputerName(metadata(c.element)), c.name) << c.element;
}

TEST(WsdMessages, HostileMetadataGivesNoName) {
    std::string deep = kEnvelopeStart;
    for (int i = 0; i < 30000; ++i) deep += "<a>";
    deep += "<pub:Computer>DEEP</pub:Computer>";
    for (int i = 0; i < 30000; ++i) deep += "</a>";
    deep += kEnvelopeEnd;
    // Deep but well-formed and within bounds: found without recursion.
    EXPECT_EQ(parseComputerName(deep), "DEEP");
    const std::string big = metadata("<pub:Computer>BIG</pub:Computer><pad>" + std::string(kMaxWsdMetadata, 'x') + "</pad>");
    EXPECT_EQ(parseComputerName(big), std::nullopt);
    EXPECT_EQ(parseComputerName("<pub:Computer>X</pub:Computer"), std::nullopt);
}

TEST(WsdMessages, XaddrHost) {
    const struct {
        const char* xaddr;
        const char* host;
    } cases[] = {
        {"http://10.0.0.3:5357/uuid", "10.0.0.3"},
        {"http://10.0.0.3/uuid", "10.0.0.3"},
        {"http://[fd00::3]:5357/uuid", "fd00::3"},
        {"http://[fe80::1%eth0]:5357/uuid", ""},
        {"https://10.0.0.3:5358/uuid", ""},
        {"http://[broken", ""},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(xaddrHost(c.xaddr), c.host) << c.xaddr;
}

TEST(WsdMessages, OnlyTheSendersOwnAddressesAreFollowedLinkLocalOnesThroughTheirInterface) {
    const struct {
        const char* xaddr;
        const char* sender;
        unsigned scope;
        const char* reachable;
    } cases[] = {
        {"http://10.0.0.3:5357/uuid", "10.0.0.3", 0, "http://10.0.0.3:5357/uuid"},
        {"http://10.0.0.4:5357/uuid", "10.0.0.3", 0, ""},  // another host
        {"http://[fd00::3]:5357/uuid", "fd00::3", 0, "http://[fd00::3]:5357/uuid"},
        {"http://[fe80::3]:5357/uuid", "fe80::3", 4, "http://[fe80::3%254]:5357/uuid"},
        {"http://[fe80::3]:5357/uuid", "fe80::3", 0, ""},  // no interface to reach it through
        {"http://[fe80::3%eth0]:5357/uuid", "fe80::3", 4, ""},
    };
    for (const auto& c : cases) EXPECT_EQ(reachableXaddr(c.xaddr, c.sender, c.scope), c.reachable) << c.xaddr;
}

}  // namespace
}  // namespace vantrel::network
