// WinRM's plain-HTTP listener: a Negotiate (NTLM) login on empty requests,
// then every message sealed both ways. The server here is a GSS-API acceptor
// with gss-ntlmssp on loopback, its users in an NTLM_USER_FILE.

#include <gssapi/gssapi.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>

#include "providers/wsman/sealed_message.h"
#include "providers/wsman/wsman_provider.h"
#include "scripted_server.h"
#include "wbem/wbem_error.h"

namespace vantrel::wsman::test {
namespace {

bool ntlmAvailable() { return std::filesystem::exists("/usr/lib/x86_64-linux-gnu/gssntlmssp/gssntlmssp.so") ||
                              std::filesystem::exists("/etc/gss/mech.d/mech.ntlmssp.conf"); }

std::string enumerateWithOneFan() {
    return "<s:Envelope xmlns:s=\"http://www.w3.org/2003/05/soap-envelope\" "
           "xmlns:n=\"http://schemas.xmlsoap.org/ws/2004/09/enumeration\" "
           "xmlns:w=\"http://schemas.dmtf.org/wbem/wsman/1/wsman.xsd\"><s:Body><n:EnumerateResponse>"
           "<n:EnumerationContext/><w:Items><w:XmlFragment><Name>Sealed fan</Name></w:XmlFragment></w:Items>"
           "<w:EndOfSequence/></n:EnumerateResponse></s:Body></s:Envelope>";
}

// One GSS-API acceptor context per TCP connection, as the login belongs to it.
class SealingServer {
public:
    SealingServer()
        : server_([this](const httplib::Request& req, httplib::Response& res) { answer(req, res); }) {}
    ~SealingServer() {
        OM_uint32 minor = 0;
        for (auto& [key, ctx] : contexts_)
            if (ctx.context != GSS_C_NO_CONTEXT) gss_delete_sec_context(&minor, &ctx.context, GSS_C_NO_BUFFER);
    }
    std::string address() const { return server_.address(); }

    std::mutex mutex;
    std::vector<std::string> plainRequests, wireBodies;
    int logins = 0;
    std::string loggedInAs;

private:
    struct Connection {
        gss_ctx_id_t context = GSS_C_NO_CONTEXT;
        bool established = false;
    };

    void answer(const httplib::Request& req, httplib::Response& res) {
        std::lock_guard lock(mutex);
        Connection& conn = contexts_[req.remote_addr + ":" + std::to_string(req.remote_port)];
        const std::string auth = req.get_header_value("Authorization");
        if (auth.rfind("Negotiate ", 0) == 0) {
            const std::string token = base64Decode(auth.substr(10));
            gss_buffer_desc in{token.size(), const_cast<char*>(token.data())}, out{0, nullptr};
            OM_uint32 minor = 0;
            gss_name_t who = GSS_C_NO_NAME;
            const OM_uint32 major = gss_accept_sec_context(&minor, &conn.context, GSS_C_NO_CREDENTIAL, &in,
                                                           GSS_C_NO_CHANNEL_BINDINGS, &who, nullptr, &out, nullptr,
                                                           nullptr, nullptr);
            if (who != GSS_C_NO_NAME) {
                gss_buffer_desc text{0, nullptr};
                gss_display_name(&minor, who, &text, nullptr);
                loggedInAs.assign(static_cast<const char*>(text.value), text.length);
                while (!loggedInAs.empty() && loggedInAs.back() == '\0') loggedInAs.pop_back();
                gss_release_buffer(&minor, &text);
                gss_release_name(&minor, &who);
            }
            const std::string reply(static_cast<const char*>(out.value), out.length);
            gss_release_buffer(&minor, &out);
            if (GSS_ERROR(major)) {
                if (conn.context != GSS_C_NO_CONTEXT) gss_delete_sec_context(&minor, &conn.context, GSS_C_NO_BUFFER);
                conn = {};
                res.status = 401;
                res.set_header("WWW-Authenticate", "Negotiate");
                return;
            }
            if (!reply.empty()) res.set_header("WWW-Authenticate", "Negotiate " + base64Encode(reply));
            conn.established = major == GSS_S_COMPLETE;
            logins += conn.established;
            res.status = conn.established ? 200 : 401;
            return;
        }
        if (!conn.established) {
            res.status = 401;
            res.set_header("WWW-Authenticate", "Negotiate");
            return;
        }
        wireBodies.push_back(req.body);
        const SealedParts parts = parseSealedBody(req.body);
        std::string wrappedCopy = parts.wrapped;
        gss_buffer_desc in{wrappedCopy.size(), wrappedCopy.data()}, out{0, nullptr};
        OM_uint32 minor = 0;
        int sealed = 0;
        if (GSS_ERROR(gss_unwrap(&minor, conn.context, &in, &out, &sealed, nullptr)) || !sealed) {
            res.status = 400;
            return;
        }
        const std::string plain(static_cast<const char*>(out.value), out.length);
        gss_release_buffer(&minor, &out);
        plainRequests.push_back(plain);
        const std::string answerText = isIdentify(plain) ? identifyAnswer() : enumerateWithOneFan();
        gss_buffer_desc reply{answerText.size(), const_cast<char*>(answerText.data())};
        gss_wrap(&minor, conn.context, 1, GSS_C_QOP_DEFAULT, &reply, &sealed, &out);
        const std::string wrapped(static_cast<const char*>(out.value), out.length);
        gss_release_buffer(&minor, &out);
        res.set_content(sealedBody(wrapped, answerText.size()), kSealedContentType);
    }

    static bool isIdentify(const std::string& plain) { return plain.find(":Identify/>") != std::string::npos; }

    std::map<std::string, Connection> contexts_;
    ScriptedServer server_;
};

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
    const std::string wrapped = std::string(16, 'S') + "sealed!";
    const std::string body = sealedBody(wrapped, 7);
    const SealedParts parts = parseSealedBody(body);
    EXPECT_EQ(parts.wrapped, wrapped);
    EXPECT_EQ(parts.plainLength, 7u);
    EXPECT_NE(body.find("Length=7\r\n"), std::string::npos);
    for (const std::string& bad :
         {std::string(), std::string("garbage"), body.substr(0, body.size() / 2), sealedBody(wrapped, 9),
          sealedBody(std::string(4, 'S'), 0)})
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
