// WinRM's plain-HTTP listener: a Negotiate (NTLM) login on empty requests,
// then every message sealed both ways. The server here is a GSS-API acceptor
// with gss-ntlmssp on loopback, its users in an NTLM_USER_FILE.

#include <gssapi/gssapi.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "providers/wsman/sealed_message.h"
#include "providers/wsman/wsman_provider.h"
#include "sealing_server.h"
#include "wbem/wbem_error.h"

namespace vantrel::wsman::test {
namespace {

bool ntlmAvailable() { return std::filesystem::exists("/usr/lib/x86_64-linux-gnu/gssntlmssp/gssntlmssp.so") ||
                              std::filesystem::exists("/etc/gss/mech.d/mech.ntlmssp.conf"); }

class SealedHttp : public ::testing::Test {
protected:
    void SetUp() override {
        if (!ntlmAvailable()) GTEST_SKIP() << "gss-ntlmssp is not installed";
        users_ = std::filesystem::temp_directory_path() / ("vantrel-ntlm-users-" + std::to_string(::getpid()));
        // The first line is another user, so a client that took the default
        // credentials of the process instead of the password given would show.
        std::ofstream(users_) << "OTHERDOM:bob:x\nWORKGROUP:admin:secret\n";
        ::setenv("NTLM_USER_FILE", users_.c_str(), 1);
    }
    void TearDown() override {
        std::error_code ec;
        std::filesystem::remove(users_, ec);
    }
    std::filesystem::path users_;
};

TEST_F(SealedHttp, LogsInWithNtlmAndSealsEveryMessageBothWays) {
    SealingServer server;
    WsmanProvider provider;
    NodeConnectionSettings s;
    s.sealedHttp = true;
    provider.setNodeSettings(server.address(), s);
    auto services = provider.connect({server.address(), "root\\cimv2", "WORKGROUP\\admin", "secret"});
    auto rows = services->ExecQuery("Select Name From Win32_Fan");
    auto row = rows->next();
    ASSERT_TRUE(row);
    EXPECT_EQ(row->property("Name"), wbem::Value::text("Sealed fan"));
    EXPECT_FALSE(rows->next());

    std::lock_guard lock(server.mutex);
    EXPECT_EQ(server.logins, 1);  // one login for the connection, not one per message
    EXPECT_EQ(server.loggedInAs, "WORKGROUP\\admin");
    ASSERT_EQ(server.plainRequests.size(), 2u);
    EXPECT_NE(server.plainRequests[1].find("Select Name From Win32_Fan"), std::string::npos);
    for (const auto& wire : server.wireBodies) {
        EXPECT_EQ(wire.find("Win32_Fan"), std::string::npos);  // nothing readable on the wire
        EXPECT_EQ(wire.find("Envelope"), std::string::npos);
    }
}

TEST_F(SealedHttp, AWrongPasswordIsAccessDenied) {
    SealingServer server;
    WsmanProvider provider;
    NodeConnectionSettings s;
    s.sealedHttp = true;
    provider.setNodeSettings(server.address(), s);
    try {
        provider.connect({server.address(), "root\\cimv2", "WORKGROUP\\admin", "guess"});
        FAIL() << "connected";
    } catch (const wbem::WbemError& e) {
        EXPECT_EQ(e.code(), wbem::ErrorCode::AccessDenied) << e.what();
    }
}

TEST(SealedMessage, FramesAndRefusesMalformedBodies) {
    // NTLM's 16-byte signature and a Kerberos token header of another length.
    for (const std::string& header : {std::string(16, 'S'), std::string(60, 'K')}) {
        const std::string body = sealedBody(header, "sealed!", 7);
        const SealedParts parts = parseSealedBody(body);
        EXPECT_EQ(parts.header, header);
        EXPECT_EQ(parts.sealed, "sealed!");
        EXPECT_EQ(parts.plainLength, 7u);
        EXPECT_NE(body.find("Length=7\r\n"), std::string::npos);
    }
    const std::string body = sealedBody(std::string(16, 'S'), "sealed!", 7);
    for (const std::string& bad :
         {std::string(), std::string("garbage"), body.substr(0, body.size() / 2),
          sealedBody(std::string(16, 'S'), "sealed!", 9),  // shorter than announced
          sealedBody("", "sealed!", 7), sealedBody(std::string(2000, 'S'), "sealed!", 7)})
        EXPECT_THROW(parseSealedBody(bad), wbem::WbemError);
    for (const std::string& text : {std::string(""), std::string("a"), std::string("ab"), std::string("abc"),
                                    std::string("\x00\xff\x10hello", 8)})
        EXPECT_EQ(base64Decode(base64Encode(text)), text);
    EXPECT_EQ(base64Encode("Man"), "TWFu");
    EXPECT_EQ(base64Decode("TWE="), "Ma");
    EXPECT_EQ(base64Decode("T@E="), "");
}

}  // namespace
}  // namespace vantrel::wsman::test
