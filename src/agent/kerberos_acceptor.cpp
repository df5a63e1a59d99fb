#include "agent/kerberos_acceptor.h"

#include <gssapi/gssapi.h>
#include <gssapi/gssapi_ext.h>
#include <gssapi/gssapi_krb5.h>

#include <fstream>
#include <mutex>

#include "agent/users_file.h"
#include "providers/wsman/gss_sealing.h"

namespace vantrel::agent {

namespace {

gss_OID_desc kSpnegoMech = {6, const_cast<char*>("\x2b\x06\x01\x05\x05\x02")};

std::string statusText(OM_uint32 major, OM_uint32 minor) {
    std::string out;
    OM_uint32 ignored = 0, more = 0;
    gss_buffer_desc text{0, nullptr};
    for (auto [code, type] : {std::pair{major, GSS_C_GSS_CODE}, std::pair{minor, GSS_C_MECH_CODE}}) {
        if (code == 0) continue;
        more = 0;
        do {
            gss_display_status(&ignored, code, type, GSS_C_NO_OID, &more, &text);
            if (!out.empty()) out += ": ";
            out.append(static_cast<const char*>(text.value), text.length);
            gss_release_buffer(&ignored, &text);
        } while (more);
    }
    return out;
}

}  // namespace

struct KerberosAcceptor::Credentials {
    gss_cred_id_t handle = GSS_C_NO_CREDENTIAL;
    ~Credentials() {
        OM_uint32 minor = 0;
        if (handle != GSS_C_NO_CREDENTIAL) gss_release_cred(&minor, &handle);
    }
};

KerberosAcceptor::KerberosAcceptor(const std::filesystem::path& keytab, const std::filesystem::path& replayCache,
                                   std::set<std::string> principals)
    : credentials_(new Credentials), principals_(std::move(principals)) {
    if (!std::filesystem::is_regular_file(keytab)) throw AgentError("The keytab " + keytab.string() + " is not a file");
    const std::string keytabName = "FILE:" + keytab.string();
    const std::string rcacheName = "file2:" + replayCache.string();
    gss_key_value_element_desc elements[] = {{"keytab", keytabName.c_str()}, {"rcache", rcacheName.c_str()}};
    gss_key_value_set_desc store{2, elements};
    gss_OID_set_desc spnego{1, &kSpnegoMech};
    OM_uint32 minor = 0;
    OM_uint32 major = gss_acquire_cred_from(&minor, GSS_C_NO_NAME, GSS_C_INDEFINITE, &spnego, GSS_C_ACCEPT, &store,
                                            &credentials_->handle, nullptr, nullptr);
    // SPNEGO offers Kerberos alone: NTLM has no passwords to check here.
    gss_OID_set_desc krb5{1, const_cast<gss_OID>(gss_mech_krb5)};
    if (!GSS_ERROR(major)) major = gss_set_neg_mechs(&minor, credentials_->handle, &krb5);
    if (GSS_ERROR(major))
        throw AgentError("The keytab " + keytab.string() + " cannot be used: " + statusText(major, minor));
}

KerberosAcceptor::~KerberosAcceptor() = default;

KerberosLogin KerberosAcceptor::accept(std::string_view token) const {
    KerberosLogin login;
    OM_uint32 minor = 0;
    gss_ctx_id_t context = GSS_C_NO_CONTEXT;
    gss_buffer_desc in{token.size(), const_cast<char*>(token.data())};
    gss_buffer_desc out{0, nullptr};
    gss_name_t client = GSS_C_NO_NAME;
    gss_OID mechanism = GSS_C_NO_OID;
    const OM_uint32 major = gss_accept_sec_context(&minor, &context, credentials_->handle, &in, GSS_C_NO_CHANNEL_BINDINGS,
                                                   &client, &mechanism, &out, nullptr, nullptr, nullptr);
    login.replyToken.assign(static_cast<const char*>(out.value), out.length);
    gss_release_buffer(&minor, &out);
    if (major == GSS_S_COMPLETE && client != GSS_C_NO_NAME && wsman::isKerberosMechanism(mechanism)) {
        gss_buffer_desc name{0, nullptr};
        if (!GSS_ERROR(gss_display_name(&minor, client, &name, nullptr)))
            login.principal.assign(static_cast<const char*>(name.value), name.length);
        gss_release_buffer(&minor, &name);
        login.accepted = principals_.count(login.principal) > 0;
        if (!login.accepted) login.why = login.principal + " is not among the agent's Kerberos users";
    } else {
        login.why = major == GSS_S_CONTINUE_NEEDED ? "only a Kerberos login is taken" : statusText(major, minor);
    }
    if (!login.accepted) login.replyToken.clear();
    if (client != GSS_C_NO_NAME) gss_release_name(&minor, &client);
    if (context != GSS_C_NO_CONTEXT) gss_delete_sec_context(&minor, &context, GSS_C_NO_BUFFER);
    return login;
}

std::set<std::string> loadPrincipals(const std::filesystem::path& file) {
    std::ifstream in(file);
    if (!in) throw AgentError("Cannot read the Kerberos users file " + file.string());
    std::set<std::string> principals;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const auto first = line.find_first_not_of(" \t");
        if (first == std::string::npos || line[first] == '#') continue;
        const std::string principal = line.substr(first, line.find_last_not_of(" \t") - first + 1);
        const auto at = principal.find('@');
        const bool plain = principal.find_first_of(" \t") == std::string::npos && principal.size() <= 256;
        if (!plain || at == std::string::npos || at == 0 || at + 1 == principal.size())
            throw AgentError(file.string() + " line " + std::to_string(number) + " is no principal (user@REALM)");
        principals.insert(principal);
        if (principals.size() > 10000) throw AgentError(file.string() + " lists too many principals");
    }
    return principals;
}

}  // namespace vantrel::agent
