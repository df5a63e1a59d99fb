// The time limit the client asks of a node is clearly shorter than the one
// it keeps itself, so the node's own TimedOut answer always arrives first.

#include <gtest/gtest.h>

#include <mutex>

#include "providers/wsman/wsman_provider.h"
#include "scripted_server.h"

namespace vantrel::wsman::test {
namespace {

using namespace std::chrono_literals;

TEST(OperationTimeout, IsTwoThirdsOfTheRequestTimeout) {
    std::mutex mutex;
    std::string seen;
    ScriptedServer server([&](const httplib::Request& req, httplib::Response& res) {
        if (isAction(req, "Identify")) {
            res.set_content(identifyAnswer(), "application/soap+xml");
            return;
        }
        std::lock_guard lock(mutex);
        seen = req.body;
        res.status = 503;  // enough: only the request is looked at
    });
    for (const auto& [request, asked] : {std::pair{30000ms, "PT20.000S"}, std::pair{1500ms, "PT1.000S"},
                                         std::pair{300ms, "PT0.500S"}}) {
        NodeConnectionSettings s;
        s.plainHttp = true;
        s.requestTimeout = request;
        WsmanProvider provider;
        provider.setNodeSettings(server.address(), s);
        auto services = provider.connect({server.address(), "root\\cimv2", "u", "p"});
        try {
            services->ExecQuery("Select Name From Win32_Fan")->next();
        } catch (const std::exception&) {
        }
        std::lock_guard lock(mutex);
        EXPECT_NE(seen.find(std::string("<w:OperationTimeout>") + asked + "</w:OperationTimeout>"), std::string::npos)
            << seen;
    }
}

}  // namespace
}  // namespace vantrel::wsman::test
