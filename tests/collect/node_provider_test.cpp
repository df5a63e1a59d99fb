// Scans reach this computer through its own provider and every other node
// through the remote one.

#include <gtest/gtest.h>

#include "collect/node_provider.h"
#include "wbem/wbem_error.h"

namespace vantrel {
namespace {

class CountingProvider : public wbem::Provider {
public:
    std::unique_ptr<wbem::Services> connect(const wbem::ConnectRequest& request) override {
        servers.push_back(request.server);
        throw wbem::WbemError(wbem::ErrorCode::AccessDenied, "counted");
    }
    std::vector<std::string> servers;
};

TEST(NodeProvider, SendsTheEmptyServerToThisComputerAndEveryOtherToTheRemoteProvider) {
    auto local = std::make_shared<CountingProvider>();
    auto remote = std::make_shared<CountingProvider>();
    NodeProvider provider(local, remote);
    for (const char* server : {"", "10.0.0.7", "", "lab-07:5986"})
        EXPECT_THROW(provider.connect({server, "root\\cimv2", "u", "p"}), wbem::WbemError);
    EXPECT_EQ(local->servers, (std::vector<std::string>{"", ""}));
    EXPECT_EQ(remote->servers, (std::vector<std::string>{"10.0.0.7", "lab-07:5986"}));
}

TEST(NodeProvider, AMissingProviderIsAClearError) {
    NodeProvider onlyRemote(nullptr, std::make_shared<CountingProvider>());
    try {
        onlyRemote.connect({"", "root\\cimv2", "", ""});
        FAIL();
    } catch (const wbem::WbemError& e) {
        EXPECT_EQ(e.code(), wbem::ErrorCode::ConnectionFailed);
    }
}

}  // namespace
}  // namespace vantrel
