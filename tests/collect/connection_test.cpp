#include <gtest/gtest.h>

#include "collect/connection.h"
#include "support/collect_fixture.h"

using namespace vantrel;
using test::FailingProvider;
using test::NodeFixture;

namespace {
const char* kProfile = R"({ "credentials": { "user": "admin", "password": "secret" },
    "namespaces": { "root\\cimv2": { "Win32_ComputerSystem": [ { "Name": "LAB-07" } ] } } })";
}

TEST(ConnectionTest, ReachableNodesAreConnectedAndNamedByTheirTag) {
    struct Case {
        const char* user;  // the node's own login user
        CurrentLogin login;
        const char* tag;
    };
    const Case cases[] = {
        {"", {"10.0.0.7", "admin", "secret"}, "10.0.0.7"},
        {"admin", {"10.0.0.7", "admin", "secret"}, "admin10.0.0.7"},
        {"", {"", "", ""}, "10.0.0.7"},  // this computer: no credentials at all
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tag);
        test::TempFolder home;
        NodeFixture f(home.path(), "10.0.0.7", c.user);
        f.session.provider = test::profileProvider(kProfile);
        f.state.domain.currentLogin = c.login;
        TestConnection(f.state, f.session);
        EXPECT_EQ(f.statuses, (std::vector<std::string>{std::string("Connecting to WMI ") + c.tag,
                                                        std::string("Connected to ") + c.tag}));
        EXPECT_FALSE(f.state.domain.accessDeniedFlag);
        EXPECT_EQ(f.node().scanStatus, ScanStatus::NotScanned);
    }
}

TEST(ConnectionTest, EveryConnectFailureMarksTheNodeAccessDeniedAndSaysWhy) {
    const std::pair<const char*, CurrentLogin> cases[] = {
        {"wrong password", {"10.0.0.7", "admin", "guess"}},
        {"no login", {"10.0.0.7", "", ""}},
    };
    for (const auto& [name, login] : cases) {
        SCOPED_TRACE(name);
        test::TempFolder home;
        NodeFixture f(home.path(), "10.0.0.7", "admin");
        f.session.provider = test::profileProvider(kProfile);
        f.state.domain.currentLogin = login;
        f.state.windows.main.busyPointer = true;  // the scan shows the hourglass
        TestConnection(f.state, f.session);
        EXPECT_EQ(f.statuses, (std::vector<std::string>{"Connecting to WMI admin10.0.0.7",
                                                        "Access denied to admin10.0.0.7"}));
        EXPECT_TRUE(f.state.domain.accessDeniedFlag);
        EXPECT_FALSE(f.state.windows.main.busyPointer);
        EXPECT_EQ(f.node().scanStatus, ScanStatus::AccessDenied);
        EXPECT_EQ(f.node().lastResult, "Access denied");
        EXPECT_TRUE(f.session.refusedLogin);
    }
    // A namespace the node does not have, and a failing test query, count the
    // same for the node's status, but the texts say what happened.
    const struct {
        const char* nameSpace;
        FailingProvider::Step step;
        const char* cause;
    } failures[] = {{"root\\other", FailingProvider::Step::Enumerate, "Invalid namespace: root\\other"},
                    {"root\\cimv2", FailingProvider::Step::Query, "Quota violation"}};
    for (const auto& [ns, step, cause] : failures) {
        test::TempFolder home;
        NodeFixture f(home.path());
        f.session.provider = std::make_shared<FailingProvider>(test::profileProvider(kProfile), 1, step);
        f.state.domain.settings.wmiNamespace = ns;
        f.state.domain.currentLogin = CurrentLogin{"10.0.0.7", "admin", "secret"};
        TestConnection(f.state, f.session);
        EXPECT_TRUE(f.state.domain.accessDeniedFlag) << ns;
        EXPECT_EQ(f.state.windows.scanDialog.statusText, std::string("Connection to 10.0.0.7 failed: ") + cause);
        EXPECT_EQ(f.node().scanStatus, ScanStatus::AccessDenied);
        EXPECT_EQ(f.node().lastResult, cause);
        EXPECT_FALSE(f.session.refusedLogin);
    }
}

TEST(ConnectionTest, AnEnumerationFailureIsNotATestFailure) {
    test::TempFolder home;
    NodeFixture f(home.path());
    f.session.provider =
        std::make_shared<FailingProvider>(test::profileProvider(kProfile), 1, FailingProvider::Step::Enumerate);
    f.state.domain.currentLogin = CurrentLogin{"10.0.0.7", "admin", "secret"};
    f.state.domain.accessDeniedFlag = true;  // the test never clears it
    TestConnection(f.state, f.session);
    EXPECT_EQ(f.statuses, std::vector<std::string>{"Connecting to WMI 10.0.0.7"});
    EXPECT_EQ(f.node().scanStatus, ScanStatus::NotScanned);
    EXPECT_TRUE(f.state.domain.accessDeniedFlag);
}
