// The agent's Negotiate login: a listed principal's Kerberos ticket logs in
// over HTTPS and holds for the connection; other principals, NTLM and a
// client without a ticket are refused, and Basic logins still work. The KDC
// is a real MIT krb5kdc started for these tests.

#include <gtest/gtest.h>

#include <set>

#include "agent/kerberos_acceptor.h"
#include "providers/profile/profile_provider.h"
#include "providers/wsman/wsman_provider.h"
#include "support/kerberos_realm.h"
#include "test_agent.h"
#include "wbem/wbem_error.h"

namespace vantrel::agent::test {
namespace {

using vantrel::test::KerberosRealm;

std::shared_ptr<wbem::Provider> oneFan() {
    const std::string json = R"({"namespaces": {"root\\cimv2": {"Win32_Fan": [{"Name": "CPU fan"}]}}})";
    return std::make_shared<wbem::ProfileProvider>(std::make_shared<const wbem::Profile>(wbem::parseProfile(json, "test")));
}

class AgentKerberos : public ::testing::Test {
protected:
    static void SetUpTestSuite() { realm_ = new KerberosRealm; }
    static void TearDownTestSuite() { delete realm_; }
    static KerberosRealm* realm_;

    // What a collection over HTTPS with Negotiate (or Basic) gets from the agent.
    static std::string fanName(const TestAgent& agent, bool negotiate, const std::string& user,
                               const std::string& password) {
        const std::string server = "localhost:" + std::to_string(agent.port());
        wsman::NodeConnectionSettings settings;
        settings.trustFile = agent.certificate();
        settings.negotiateHttps = negotiate;
        wsman::WsmanProvider provider;
        provider.setNodeSettings(server, settings);
        auto services = provider.connect({server, "root\\cimv2", user, password});
        auto rows = services->ExecQuery("Select Name From Win32_Fan");
        auto row = rows->next();
        return row ? row->property("Name").asText() : std::string();
    }
};
KerberosRealm* AgentKerberos::realm_ = nullptr;

TEST_F(AgentKerberos, AListedPrincipalsTicketLogsInAndNothingElseDoes) {
    TemporaryFolder dir;
    ServerSettings settings;
    settings.kerberos = std::make_shared<const KerberosAcceptor>(realm_->keytab(), dir.path() / "replay",
                                                                 std::set<std::string>{"alice@VANTREL.TEST"});
    TestAgent agent(oneFan(), settings);

    realm_->kinit("alice");
    EXPECT_EQ(fanName(agent, true, "alice", ""), "CPU fan");
    EXPECT_EQ(fanName(agent, true, "", ""), "CPU fan");
    EXPECT_EQ(fanName(agent, false, "admin", "secret"), "CPU fan");  // Basic as before

    struct Refused {
        const char* ticketOf;
        const char* user;
        const char* password;
    };
    // A principal not on the list; no ticket, so NTLM, which the agent does not take.
    for (const Refused& c : {Refused{"bob", "bob", ""}, Refused{"", "admin", "secret"}}) {
        SCOPED_TRACE(std::string(c.ticketOf) + " as " + c.user);
        realm_->kdestroy();
        if (*c.ticketOf) realm_->kinit(c.ticketOf);
        try {
            fanName(agent, true, c.user, c.password);
            ADD_FAILURE() << "logged in";
        } catch (const wbem::WbemError& e) {
            EXPECT_EQ(e.code(), wbem::ErrorCode::AccessDenied) << e.what();
        }
    }
}

TEST_F(AgentKerberos, TheAgentRefusesAKeytabOrPrincipalListItCannotUse) {
    TemporaryFolder dir;
    EXPECT_THROW(KerberosAcceptor(dir.path() / "missing.keytab", dir.path() / "replay", {}), AgentError);
    const auto list = dir.path() / "principals";
    vantrel::test::writeBytes(list, "# who may log in\r\nalice@VANTREL.TEST\n\n  bob@VANTREL.TEST  \n");
    EXPECT_EQ(loadPrincipals(list), (std::set<std::string>{"alice@VANTREL.TEST", "bob@VANTREL.TEST"}));
    for (const char* bad : {"alice\n", "@VANTREL.TEST\n", "alice@\n", "al ice@VANTREL.TEST\n"}) {
        vantrel::test::writeBytes(list, bad);
        EXPECT_THROW(loadPrincipals(list), AgentError) << bad;
    }
    EXPECT_THROW(loadPrincipals(dir.path() / "none"), AgentError);
}

}  // namespace
}  // namespace vantrel::agent::test
