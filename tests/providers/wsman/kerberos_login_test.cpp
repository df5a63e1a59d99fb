// WinRM's plain-HTTP listener in a Kerberos realm: a user with a ticket logs
// in with Kerberos and every message is sealed with it; without a usable
// ticket the login is NTLM from the password, never someone else's ticket.
// The realm's KDC is a real MIT krb5kdc started for these tests.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <memory>

#include "support/kerberos_realm.h"
#include "providers/wsman/wsman_provider.h"
#include "sealing_server.h"
#include "support/temp_folder.h"

namespace vantrel::wsman::test {
namespace {

using vantrel::test::KerberosRealm;

class KerberosLogin : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        realm_ = new KerberosRealm;
        ntlmUsers_ = new vantrel::test::TempFolder;
        vantrel::test::writeBytes(ntlmUsers_->path() / "users", "WORKGROUP:admin:secret\nVANTREL:alice:ntlm-secret\nOTHER:alice:other-secret\n");
        ::setenv("NTLM_USER_FILE", (ntlmUsers_->path() / "users").c_str(), 1);
    }
    static void TearDownTestSuite() {
        delete realm_;
        delete ntlmUsers_;
    }
    static KerberosRealm* realm_;
    static vantrel::test::TempFolder* ntlmUsers_;
};
KerberosRealm* KerberosLogin::realm_ = nullptr;
vantrel::test::TempFolder* KerberosLogin::ntlmUsers_ = nullptr;

struct LoginCase {
    const char* ticketOf;  // "" for no ticket
    const char* host;      // the name the node is reached by
    const char* user;
    const char* password;
    bool kerberos;
    const char* loggedInAs;
};

TEST_F(KerberosLogin, TakesKerberosWhenTheUsersTicketServesTheNodeAndNtlmOtherwise) {
    const LoginCase cases[] = {
        {"alice", "localhost", "alice", "", true, "alice@VANTREL.TEST"},
        {"alice", "localhost", "", "", true, "alice@VANTREL.TEST"},
        {"alice", "localhost", "VANTREL\\alice", "", true, "alice@VANTREL.TEST"},
        {"alice", "localhost", "alice@vantrel.test", "", true, "alice@VANTREL.TEST"},
        // No ticket, or a ticket of another user: the password's NTLM login.
        {"", "localhost", "WORKGROUP\\admin", "secret", false, "WORKGROUP\\admin"},
        {"bob", "localhost", "WORKGROUP\\admin", "secret", false, "WORKGROUP\\admin"},
        {"alice", "localhost", "OTHER\\alice", "other-secret", false, "OTHER\\alice"},
        // The realm has no service named after an address.
        {"alice", "127.0.0.1", "VANTREL\\alice", "ntlm-secret", false, "VANTREL\\alice"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.ticketOf) + " -> " + c.user + "@" + c.host);
        realm_->kdestroy();
        if (*c.ticketOf) realm_->kinit(c.ticketOf);
        SealingServer server;
        const std::string address = std::string(c.host) + ":" + std::to_string(server.port());
        WsmanProvider provider;
        NodeConnectionSettings settings;
        settings.sealedHttp = true;
        provider.setNodeSettings(address, settings);
        auto services = provider.connect({address, "root\\cimv2", c.user, c.password});
        auto rows = services->ExecQuery("Select Name From Win32_Fan");
        auto row = rows->next();
        ASSERT_TRUE(row);
        EXPECT_EQ(row->property("Name"), wbem::Value::text("Sealed fan"));

        std::lock_guard lock(server.mutex);
        EXPECT_EQ(server.logins, 1);
        EXPECT_EQ(server.kerberosLogins, c.kerberos ? 1 : 0);
        EXPECT_EQ(server.loggedInAs, c.loggedInAs);
        ASSERT_EQ(server.plainRequests.size(), 2u);
        for (const auto& wire : server.wireBodies) EXPECT_EQ(wire.find("Win32_Fan"), std::string::npos);
    }
}

TEST_F(KerberosLogin, AnUnusableTicketAndNoPasswordIsAccessDenied) {
    realm_->kinit("bob");
    SealingServer server;
    const std::string address = "localhost:" + std::to_string(server.port());
    WsmanProvider provider;
    NodeConnectionSettings settings;
    settings.sealedHttp = true;
    provider.setNodeSettings(address, settings);
    try {
        provider.connect({address, "root\\cimv2", "WORKGROUP\\admin", "wrong"});
        FAIL() << "connected";
    } catch (const wbem::WbemError& e) {
        EXPECT_EQ(e.code(), wbem::ErrorCode::AccessDenied) << e.what();
    }
}

}  // namespace
}  // namespace vantrel::wsman::test
