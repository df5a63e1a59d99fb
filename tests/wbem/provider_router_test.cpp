#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "wbem/provider_router.h"
#include "wbem/table_services.h"
#include "wbem/wbem_error.h"

using namespace vantrel::wbem;

namespace {

class NamedProvider : public Provider {
public:
    explicit NamedProvider(std::vector<std::string>& log, std::string name) : log_(log), name_(std::move(name)) {}
    std::unique_ptr<Services> connect(const ConnectRequest& request) override {
        log_.push_back(name_ + " " + request.server);
        return std::make_unique<TableServices>(nullptr);
    }

private:
    std::vector<std::string>& log_;
    std::string name_;
};

}  // namespace

TEST(ProviderRouter, ThisComputerLocallyEveryOtherServerRemotely) {
    std::vector<std::string> log;
    ProviderRouter router(std::make_shared<NamedProvider>(log, "local"), std::make_shared<NamedProvider>(log, "remote"));
    for (const char* server : {"", ".", "LocalHost", "127.0.0.1", "::1", "10.0.0.7", "PC-A"})
        router.connect({server, "root\\cimv2", "", ""});
    EXPECT_EQ(log, (std::vector<std::string>{"local ", "local .", "local LocalHost", "local 127.0.0.1", "local ::1",
                                             "remote 10.0.0.7", "remote PC-A"}));
}

TEST(ProviderRouter, NobodyToAnswerIsARefusedConnection) {
    std::vector<std::string> log;
    ProviderRouter localOnly(std::make_shared<NamedProvider>(log, "local"), nullptr);
    ProviderRouter remoteOnly(nullptr, std::make_shared<NamedProvider>(log, "remote"));
    for (auto [router, server] : {std::pair{&localOnly, "10.0.0.7"}, std::pair{&remoteOnly, ""}}) {
        try {
            router->connect({server, "root\\cimv2", "", ""});
            ADD_FAILURE() << "connected to '" << server << "'";
        } catch (const WbemError& e) {
            EXPECT_EQ(e.code(), ErrorCode::Failed);
        }
    }
    EXPECT_TRUE(log.empty());
}
