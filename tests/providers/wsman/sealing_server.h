#pragma once
// A WinRM plain-HTTP listener for tests: a Negotiate login on empty
// requests (a GSS-API acceptor: NTLM through gss-ntlmssp and its
// NTLM_USER_FILE, Kerberos through the keytab in KRB5_KTNAME), then every
// message sealed both ways; it answers one fan to any enumeration.

#include <gssapi/gssapi.h>

#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "providers/wsman/gss_sealing.h"
#include "providers/wsman/sealed_message.h"
#include "scripted_server.h"
#include "wbem/wbem_error.h"

namespace vantrel::wsman::test {

inline std::string enumerateWithOneFan() {
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
    int port() const { return server_.port(); }

    std::mutex mutex;
    std::vector<std::string> plainRequests, wireBodies;
    int logins = 0;
    int kerberosLogins = 0;
    std::string loggedInAs;

private:
    struct Connection {
        gss_ctx_id_t context = GSS_C_NO_CONTEXT;
        bool established = false;
        bool kerberos = false;
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
            gss_OID mechanism = GSS_C_NO_OID;
            const OM_uint32 major = gss_accept_sec_context(&minor, &conn.context, GSS_C_NO_CREDENTIAL, &in,
                                                           GSS_C_NO_CHANNEL_BINDINGS, &who, &mechanism, &out, nullptr,
                                                           nullptr, nullptr);
            if (!GSS_ERROR(major) && mechanism != GSS_C_NO_OID) conn.kerberos = isKerberosMechanism(mechanism);
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
            if (conn.established) kerberosLogins += conn.kerberos;
            res.status = conn.established ? 200 : 401;
            return;
        }
        if (!conn.established) {
            res.status = 401;
            res.set_header("WWW-Authenticate", "Negotiate");
            return;
        }
        wireBodies.push_back(req.body);
        std::string plain;
        try {
            plain = unsealMessage(conn.context, conn.kerberos, parseSealedBody(req.body));
        } catch (const wbem::WbemError&) {
            res.status = 400;
            return;
        }
        plainRequests.push_back(plain);
        const std::string answerText = isIdentify(plain) ? identifyAnswer() : enumerateWithOneFan();
        const SealedParts sealed = sealMessage(conn.context, conn.kerberos, answerText);
        res.set_content(sealedBody(sealed.header, sealed.sealed, answerText.size()), kSealedContentType);
    }

    static bool isIdentify(const std::string& plain) { return plain.find(":Identify/>") != std::string::npos; }

    std::map<std::string, Connection> contexts_;
    ScriptedServer server_;
};

}  // namespace vantrel::wsman::test
