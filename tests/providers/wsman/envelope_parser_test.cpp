// Addresses, requests, answers and values, on small texts.

#include <gtest/gtest.h>

#include <chrono>

#include "providers/wsman/cim_values.h"
#include "providers/wsman/fault_errors.h"
#include "providers/wsman/request_envelopes.h"
#include "providers/wsman/response_parser.h"
#include "providers/wsman/server_address.h"
#include "wbem/wbem_error.h"

namespace vantrel::wsman {
namespace {

using wbem::Value;

struct AddressCase {
    const char* text;
    const char* httpsUrl;  // nullptr: refused
};

class ServerAddresses : public ::testing::TestWithParam<AddressCase> {};

TEST_P(ServerAddresses, BecomeEndpointsOrAreRefused) {
    const AddressCase& c = GetParam();
    if (!c.httpsUrl) {
        EXPECT_THROW(parseServerAddress(c.text), wbem::WbemError) << c.text;
        return;
    }
    EXPECT_EQ(endpointUrl(parseServerAddress(c.text), true), c.httpsUrl);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, ServerAddresses,
    ::testing::Values(AddressCase{"lab-07", "https://lab-07:5986/wsman"},
                      AddressCase{"lab-07.example.org:443", "https://lab-07.example.org:443/wsman"},
                      AddressCase{"10.0.0.7", "https://10.0.0.7:5986/wsman"},
                      AddressCase{"10.0.0.7:5985", "https://10.0.0.7:5985/wsman"},
                      AddressCase{"[fe80::1]", "https://[fe80::1]:5986/wsman"},
                      AddressCase{"[::1]:8443", "https://[::1]:8443/wsman"},
                      AddressCase{"::1", "https://[::1]:5986/wsman"},
                      AddressCase{"", nullptr}, AddressCase{"host:0", nullptr}, AddressCase{"host:70000", nullptr},
                      AddressCase{"host:", nullptr}, AddressCase{"host:12a", nullptr},
                      AddressCase{"[::1", nullptr}, AddressCase{"[::1]x", nullptr}, AddressCase{"[]", nullptr},
                      AddressCase{"[host]", nullptr}, AddressCase{"a/b", nullptr},
                      AddressCase{"user@host", nullptr}, AddressCase{"host/wsman?x", nullptr},
                      AddressCase{"ho st", nullptr}));

TEST(RequestEnvelopes, CarryTheFilterAndResourceSafely) {
    RequestHeader header;
    header.to = "https://h:5986/wsman";
    header.resourceUri = wmiResourceUri("root\\cimv2");
    EXPECT_EQ(header.resourceUri, "http://schemas.microsoft.com/wbem/wsman/1/wmi/root/cimv2/*");
    const std::string request = enumerateRequest(header, "Select Name From X where a<'&'", 10);
    EXPECT_NE(request.find("Select Name From X where a&lt;&apos;&amp;&apos;"), std::string::npos);
    EXPECT_NE(request.find("Dialect=\"http://schemas.microsoft.com/wbem/wsman/1/WQL\""), std::string::npos);
    EXPECT_NE(request.find("<w:OperationTimeout>PT30.000S</w:OperationTimeout>"), std::string::npos);
    const std::string pull = pullRequest(header, "uuid:<ctx>", 5);
    EXPECT_NE(pull.find("<n:EnumerationContext>uuid:&lt;ctx&gt;</n:EnumerationContext>"), std::string::npos);
}

TEST(ResponseParser, ReadsAnyPrefixAndBothEndMarkers) {
    const std::string pull =
        "<e:Envelope xmlns:e='http://www.w3.org/2003/05/soap-envelope' "
        "xmlns:en='http://schemas.xmlsoap.org/ws/2004/09/enumeration' "
        "xmlns:wsman='http://schemas.dmtf.org/wbem/wsman/1/wsman.xsd'><e:Body><en:PullResponse>"
        "<en:EnumerationContext> ctx2 </en:EnumerationContext><en:Items><wsman:XmlFragment><A>1</A></wsman:XmlFragment>"
        "</en:Items><wsman:EndOfSequence/></en:PullResponse></e:Body></e:Envelope>";
    const Response r = parseResponse(pull);
    EXPECT_EQ(r.kind, ResponseKind::Pull);
    EXPECT_EQ(r.context, "ctx2");
    EXPECT_TRUE(r.endOfSequence);
    ASSERT_EQ(r.items.size(), 1u);
    EXPECT_EQ(r.items[0].className, "");
}

TEST(ResponseParser, RefusesWhatIsNoAnswer) {
    for (const char* text : {"", "not xml", "<a/>", "<s:Envelope xmlns:s='http://www.w3.org/2003/05/soap-envelope'/>",
                             "<s:Envelope xmlns:s='urn:other'><s:Body/></s:Envelope>",
                             "<s:Envelope xmlns:s='http://www.w3.org/2003/05/soap-envelope'><s:Body><x/></s:Body></s:Envelope>"}) {
        EXPECT_THROW(parseResponse(text), wbem::WbemError) << text;
    }
}

RawProperty prop(const char* name, const char* text, const char* xsiType = "", bool nil = false) {
    RawProperty p;
    p.name = name;
    p.text = text;
    p.xsiType = xsiType;
    p.nil = nil;
    return p;
}

struct ValueCase {
    std::vector<RawProperty> sent;
    Value expected;  // of the first property's name
};

class ItemValues : public ::testing::TestWithParam<ValueCase> {};

TEST_P(ItemValues, TakeTheirTypeFromTypeTableOrShape) {
    RawItem item;
    item.properties = GetParam().sent;
    const PropertyList list = convertItem(item);
    ASSERT_FALSE(list.empty());
    EXPECT_EQ(list.front().second, GetParam().expected) << list.front().first;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ItemValues,
    ::testing::Values(
        ValueCase{{prop("Name", "123")}, Value::text("123")},          // a known text stays text
        ValueCase{{prop("Caption", "true")}, Value::text("true")},
        ValueCase{{prop("Speed", "123")}, Value::integer(123)},        // unknown: the shape says number
        ValueCase{{prop("Speed", "-5")}, Value::integer(-5)},
        ValueCase{{prop("Code", "007")}, Value::text("007")},
        ValueCase{{prop("Big", "99999999999999999999")}, Value::text("99999999999999999999")},
        ValueCase{{prop("Flag", "false")}, Value::boolean(false)},
        ValueCase{{prop("LockPresent", "true")}, Value::boolean(true)},
        ValueCase{{prop("FormFactor", "8")}, Value::integer(8)},
        ValueCase{{prop("FormFactor", "x")}, Value::text("x")},
        ValueCase{{prop("Name", "5", "cimUnsignedInt")}, Value::integer(5)},  // xsi:type wins
        ValueCase{{prop("Speed", "5", "cimString")}, Value::text("5")},
        ValueCase{{prop("Speed", "true", "cimBoolean")}, Value::boolean(true)},
        ValueCase{{prop("Name", "", "", true)}, Value()},
        ValueCase{{prop("ChassisTypes", "3")}, Value::array({Value::integer(3)})},
        ValueCase{{prop("ChassisTypes", "", "", true)}, Value()},
        ValueCase{{prop("Tags", "a"), prop("Tags", "b")}, Value::array({Value::text("a"), Value::text("b")})},
        ValueCase{{prop("Tags", "1"), prop("Other", "x"), prop("Tags", "2")},
                  Value::array({Value::integer(1), Value::integer(2)})}));

TEST(ItemValues, AnItemOfManyPropertiesConvertsInLinearTime) {
    // Distinct names alike in all but their ends make every comparison of a
    // search by name cost its full length.
    constexpr int kProperties = 80000;
    const std::string prefix = "PropertyOfAVeryTalkativeServer" + std::string(200, '_');
    std::string xml =
        "<s:Envelope xmlns:s=\"http://www.w3.org/2003/05/soap-envelope\" "
        "xmlns:n=\"http://schemas.xmlsoap.org/ws/2004/09/enumeration\"><s:Body><n:PullResponse>"
        "<n:EnumerationContext>c</n:EnumerationContext><n:Items><p:Win32_Fan xmlns:p=\"urn:x\">";
    for (int i = 0; i < kProperties; ++i) {
        const std::string name = prefix + std::to_string(1000000 + i);
        xml += "<p:" + name + ">" + std::to_string(i) + "</p:" + name + ">";
    }
    xml += "<p:" + prefix + "1000000>x</p:" + prefix + "1000000>";
    xml += "</p:Win32_Fan></n:Items></n:PullResponse></s:Body></s:Envelope>";

    const auto start = std::chrono::steady_clock::now();
    const Response response = parseResponse(xml);
    ASSERT_EQ(response.items.size(), 1u);
    const PropertyList list = convertItem(response.items[0]);
    const auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    EXPECT_LT(seconds, 5.0);
    ASSERT_EQ(list.size(), static_cast<std::size_t>(kProperties));
    EXPECT_EQ(list.front().first, prefix + "1000000");  // the repeated one, an array
    EXPECT_EQ(list.front().second, Value::array({Value::integer(0), Value::text("x")}));
    EXPECT_EQ(list.back().first, prefix + "1079999");
    EXPECT_EQ(list.back().second, Value::integer(kProperties - 1));
}

TEST(FaultErrors, AServersTextIsShortAndPrintable) {
    struct Case {
        const char* name;
        std::string reason;
        std::string expected;
    };
    const std::string e = "\xC3\xA9";  // two bytes
    std::string manyE;
    for (int i = 0; i < 5000; ++i) manyE += e;
    const Case cases[] = {
        {"short", "The provider failed.", "The provider failed."},
        {"control characters", "bad\x1B[31mred\x7F", "bad [31mred "},
        {"long ASCII", std::string(100000, 'x'), std::string(400, 'x') + "..."},
        // 400 bytes would end inside the 201st character.
        {"long two-byte text", "a" + manyE, "a" + manyE.substr(0, 398) + "..."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Fault fault;
        fault.subcode = "InternalError";
        fault.reason = c.reason;
        const wbem::WbemError error = faultError(fault);
        EXPECT_EQ(error.code(), wbem::ErrorCode::Failed);  // the node answered: only this request failed
        EXPECT_EQ(std::string(error.what()), c.expected);
    }
}

TEST(CimDatetime, ConvertsXmlDatetimes) {
    EXPECT_EQ(cimDatetime("2013-03-09T03:06:25Z"), "20130309030625.000000+000");
    EXPECT_EQ(cimDatetime("2013-04-15T16:28:39.5Z"), "20130415162839.500000+000");
    EXPECT_EQ(cimDatetime("2013-04-15T16:28:39.1234567+02:00"), "20130415162839.123456+120");
    EXPECT_EQ(cimDatetime("2013-04-15T16:28:39-05:30"), "20130415162839.000000-330");
    for (const char* bad : {"", "2013-04-15", "2013-04-15T16:28:39.", "2013-04-15T16:28:39+2", "2013-04-15T16:28:39Zx",
                            "abcd-04-15T16:28:39Z"})
        EXPECT_EQ(cimDatetime(bad), "") << bad;
}

}  // namespace
}  // namespace vantrel::wsman
