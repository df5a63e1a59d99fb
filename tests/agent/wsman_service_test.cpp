// The agent's WS-Management service without HTTP: paging, contexts, faults.

#include <gtest/gtest.h>

#include "agent/wsman_service.h"
#include "providers/profile/profile_provider.h"
#include "providers/wsman/request_envelopes.h"
#include "providers/wsman/response_parser.h"
#include "providers/wsman/wsman_uris.h"

namespace vantrel::agent::test {
namespace {

using wsman::Response;
using wsman::ResponseKind;

std::shared_ptr<wbem::Provider> profileWithFans(int count) {
    std::string json = R"({"namespaces": {"root\\cimv2": {"Win32_Fan": [)";
    for (int i = 0; i < count; ++i)
        json += std::string(i ? "," : "") + R"({"Description": "Fan number )" + std::to_string(i) + R"( <&>"})";
    json += "]}}}";
    return std::make_shared<wbem::ProfileProvider>(std::make_shared<const wbem::Profile>(wbem::parseProfile(json, "test")));
}

wsman::RequestHeader header(std::size_t maxEnvelope) {
    wsman::RequestHeader h;
    h.to = "https://localhost/wsman";
    h.resourceUri = wsman::wmiResourceUri("root\\cimv2");
    h.maxEnvelopeSize = maxEnvelope;
    return h;
}

Response ask(WsmanService& service, const std::string& request, const std::string& user = "admin") {
    return wsman::parseResponse(service.handle(request, user).body);
}

TEST(WsmanService, PagesByEnvelopeSizeWithANewContextEveryPull) {
    WsmanService service(profileWithFans(300), "test");
    const auto h = header(8192);
    Response r = ask(service, wsman::enumerateRequest(h, "Select Description From Win32_Fan", 32000));
    ASSERT_EQ(r.kind, ResponseKind::Enumerate);
    std::vector<std::string> seen;
    std::set<std::string> contexts;
    int pages = 1;
    for (const auto& item : r.items) seen.push_back(item.properties.at(0).text);
    while (!r.endOfSequence) {
        ASSERT_TRUE(contexts.insert(r.context).second) << "a context came twice";
        const std::string used = r.context;
        r = ask(service, wsman::pullRequest(h, used, 32000));
        ASSERT_EQ(r.kind, ResponseKind::Pull) << r.fault.text();
        for (const auto& item : r.items) seen.push_back(item.properties.at(0).text);
        ++pages;
        // A context is good for one Pull only.
        EXPECT_EQ(ask(service, wsman::pullRequest(h, used, 1)).fault.subcode, "InvalidEnumerationContext");
    }
    EXPECT_GT(pages, 3);
    ASSERT_EQ(seen.size(), 300u);
    EXPECT_EQ(seen[0], "Fan number 0 <&>");
    EXPECT_EQ(seen[299], "Fan number 299 <&>");
}

TEST(WsmanService, ContextsBelongToTheirUserAndExpire) {
    ServiceLimits limits;
    limits.store.idleExpiry = std::chrono::seconds(0);
    WsmanService expiring(profileWithFans(5), "test", limits);
    const auto h = header(512000);
    Response r = ask(expiring, wsman::enumerateRequest(h, "Select Description From Win32_Fan", 2));
    ASSERT_FALSE(r.endOfSequence);
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_EQ(ask(expiring, wsman::pullRequest(h, r.context, 2)).fault.subcode, "InvalidEnumerationContext");

    WsmanService service(profileWithFans(5), "test");
    r = ask(service, wsman::enumerateRequest(h, "Select Description From Win32_Fan", 2));
    EXPECT_EQ(ask(service, wsman::pullRequest(h, r.context, 2), "intruder").fault.subcode, "InvalidEnumerationContext");
}

TEST(WsmanService, LimitsOpenEnumerationsPerUser) {
    ServiceLimits limits;
    limits.store.maxPerUser = 2;
    WsmanService service(profileWithFans(5), "test", limits);
    const auto h = header(512000);
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(ask(service, wsman::enumerateRequest(h, "Select Description From Win32_Fan", 1)).kind,
                  ResponseKind::Enumerate);
    EXPECT_EQ(ask(service, wsman::enumerateRequest(h, "Select Description From Win32_Fan", 1)).fault.subcode, "QuotaLimit");
    EXPECT_EQ(ask(service, wsman::enumerateRequest(h, "Select Description From Win32_Fan", 1), "other").kind,
              ResponseKind::Enumerate);
}

TEST(WsmanService, AQueryCannotMakeTheServiceHoldFarMoreThanItSent) {
    ServiceLimits limits;
    limits.store.maxBytesPerUser = 600;  // about five fans' items
    WsmanService service(profileWithFans(5), "test", limits);
    const auto h = header(512000);
    std::string manyNames = "Select Description";
    for (int i = 0; i < 60000; ++i) manyNames += ",Description";
    manyNames += " From Win32_Fan";
    std::string longQuery = "Select Description From Win32_Fan Where Description = '" + std::string(9000, 'x') + "'";
    for (const auto& wql : {manyNames, longQuery})
        EXPECT_EQ(ask(service, wsman::enumerateRequest(h, wql, 1)).fault.subcode, "QuotaLimit") << wql.size();
    // The items a user's open enumerations hold are bounded in bytes too.
    EXPECT_EQ(ask(service, wsman::enumerateRequest(h, "Select Description From Win32_Fan", 1)).kind,
              ResponseKind::Enumerate);
    EXPECT_EQ(ask(service, wsman::enumerateRequest(h, "Select Description From Win32_Fan", 1)).fault.subcode,
              "QuotaLimit");
    EXPECT_EQ(ask(service, wsman::enumerateRequest(h, "Select Description From Win32_Fan", 1), "other").kind,
              ResponseKind::Enumerate);
}

TEST(WsmanService, AnswersAClassWithoutAFilterAndOnlyIdentifyWithoutALogin) {
    std::string json = R"({"namespaces": {"root\\cimv2": {"Win32_Fan": [{"Description": "CPU fan", "Status": "OK"}]}}})";
    WsmanService service(std::make_shared<wbem::ProfileProvider>(
                             std::make_shared<const wbem::Profile>(wbem::parseProfile(json, "test"))),
                         "test");
    // What generic clients send: the class in the resource URI, no filter, every property back.
    auto h = header(512000);
    h.resourceUri = std::string(wsman::kWmiResourcePrefix) + "root/cimv2/Win32_Fan";
    std::string request = wsman::enumerateRequest(h, "unused", 32000);
    request.erase(request.find("<w:Filter"), request.find("</w:Filter>") + 11 - request.find("<w:Filter"));
    Response r = ask(service, request);
    ASSERT_EQ(r.kind, ResponseKind::Enumerate) << r.fault.text();
    ASSERT_EQ(r.items.size(), 1u);
    EXPECT_EQ(r.items[0].className, "Win32_Fan");  // the class's own element, as WinRM answers it
    ASSERT_EQ(r.items[0].properties.size(), 2u);
    EXPECT_EQ(r.items[0].properties[0].text, "CPU fan");
    EXPECT_EQ(r.items[0].properties[1].text, "OK");
    // "Select *" in a filter gives the same.
    r = ask(service, wsman::enumerateRequest(header(512000), "Select * From Win32_Fan", 32000));
    ASSERT_EQ(r.items.size(), 1u);
    EXPECT_EQ(r.items[0].className, "");  // a w:XmlFragment
    EXPECT_EQ(r.items[0].properties.size(), 2u);
    // A class name that is none.
    EXPECT_EQ(ask(service, request.replace(request.find("Win32_Fan"), 9, "Win32_Fan%20x")).fault.subcode,
              "InvalidResourceURI");
    // Without a login: Identify, and nothing else.
    EXPECT_EQ(service.handle(wsman::identifyRequest(), "").status, 200);
    EXPECT_EQ(service.handle(wsman::enumerateRequest(header(512000), "Select * From Win32_Fan", 1), "").status, 401);
}

struct BadRequestCase {
    const char* name;
    std::string request;
    const char* subcode;
};

TEST(WsmanService, AnswersEveryBadRequestWithAFault) {
    WsmanService service(profileWithFans(1), "test");
    const auto h = header(512000);
    auto otherResource = h;
    otherResource.resourceUri = "http://example.org/other";
    const std::vector<BadRequestCase> cases{
        {"not XML", "<<<", "SchemaValidationError"},
        {"not SOAP", "<a/>", "SchemaValidationError"},
        {"unknown class", wsman::enumerateRequest(h, "Select Name From Win32_Nothing", 1), "CannotProcessFilter"},
        {"bad query", wsman::enumerateRequest(h, "Delete From Win32_Fan", 1), "CannotProcessFilter"},
        {"other resource", wsman::enumerateRequest(otherResource, "Select Name From Win32_Fan", 1), "InvalidResourceURI"},
        {"unknown context", wsman::pullRequest(h, "uuid:nothing", 1), "InvalidEnumerationContext"},
        {"unknown action",
         "<s:Envelope xmlns:s='http://www.w3.org/2003/05/soap-envelope' xmlns:a='http://schemas.xmlsoap.org/ws/2004/08/addressing'>"
         "<s:Header><a:Action>urn:delete-everything</a:Action></s:Header><s:Body/></s:Envelope>",
         "ActionNotSupported"},
    };
    for (const auto& c : cases) {
        const AgentReply reply = service.handle(c.request, "admin");
        EXPECT_EQ(reply.status, 500) << c.name;
        const Response r = wsman::parseResponse(reply.body);
        EXPECT_EQ(r.kind, ResponseKind::Fault) << c.name;
        EXPECT_EQ(r.fault.subcode, c.subcode) << c.name;
    }
}

TEST(WsmanService, RefusesAnItemLargerThanTheEnvelope) {
    std::string json = R"({"namespaces": {"root\\cimv2": {"Win32_Fan": [{"Description": ")" + std::string(20000, 'x') + R"("}]}}})";
    WsmanService service(std::make_shared<wbem::ProfileProvider>(
                             std::make_shared<const wbem::Profile>(wbem::parseProfile(json, "test"))),
                         "test");
    const Response r = ask(service, wsman::enumerateRequest(header(8192), "Select Description From Win32_Fan", 10));
    EXPECT_EQ(r.fault.subcode, "EncodingLimit");
}

}  // namespace
}  // namespace vantrel::agent::test
