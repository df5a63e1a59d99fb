#include "providers/wsman/spnego_context.h"

#include <gssapi/gssapi.h>
#include <gssapi/gssapi_ext.h>

#include "wbem/wbem_error.h"

namespace vantrel::wsman {

namespace {

gss_OID_desc kNtlmMech = {10, const_cast<char*>("\x2b\x06\x01\x04\x01\x82\x37\x02\x02\x0a")};
gss_OID_desc kSpnegoMech = {6, const_cast<char*>("\x2b\x06\x01\x05\x05\x02")};

std::string statusText(OM_uint32 major, OM_uint32 minor) {
    std::string out;
    OM_uint32 ignored = 0, more = 0;
    gss_buffer_desc text{0, nullptr};
    do {
        gss_display_status(&ignored, major, GSS_C_GSS_CODE, GSS_C_NO_OID, &more, &text);
        out.append(static_cast<const char*>(text.value), text.length);
        gss_release_buffer(&ignored, &text);
    } while (more);
    if (minor) {
        more = 0;
        gss_display_status(&ignored, minor, GSS_C_MECH_CODE, GSS_C_NO_OID, &more, &text);
        out += " (";
        out.append(static_cast<const char*>(text.value), text.length);
        out += ")";
        gss_release_buffer(&ignored, &text);
    }
    return out;
}

[[noreturn]] void fail(wbem::ErrorCode code, const std::string& what, OM_uint32 major, OM_uint32 minor) {
    throw wbem::WbemError(code, what + ": " + statusText(major, minor));
}

gss_buffer_desc bufferOf(std::string_view s) { return {s.size(), const_cast<char*>(s.data())}; }

std::string take(gss_buffer_desc& b) {
    std::string out(static_cast<const char*>(b.value), b.length);
    OM_uint32 minor = 0;
    gss_release_buffer(&minor, &b);
    return out;
}

}  // namespace

struct SpnegoContext::Gss {
    gss_name_t user = GSS_C_NO_NAME;
    gss_name_t target = GSS_C_NO_NAME;
    gss_cred_id_t credentials = GSS_C_NO_CREDENTIAL;
    gss_ctx_id_t context = GSS_C_NO_CONTEXT;
    ~Gss() {
        OM_uint32 minor = 0;
        if (context != GSS_C_NO_CONTEXT) gss_delete_sec_context(&minor, &context, GSS_C_NO_BUFFER);
        if (credentials != GSS_C_NO_CREDENTIAL) gss_release_cred(&minor, &credentials);
        if (user != GSS_C_NO_NAME) gss_release_name(&minor, &user);
        if (target != GSS_C_NO_NAME) gss_release_name(&minor, &target);
    }
};

SpnegoContext::SpnegoContext(const std::string& user, const std::string& password, const std::string& host)
    : gss_(new Gss) {
    OM_uint32 minor = 0;
    gss_buffer_desc name = bufferOf(user);
    OM_uint32 major = gss_import_name(&minor, &name, GSS_C_NT_USER_NAME, &gss_->user);
    if (GSS_ERROR(major)) fail(wbem::ErrorCode::AccessDenied, "Access denied: the user name is not usable", major, minor);
    gss_buffer_desc secret = bufferOf(password);
    // The credentials must be SPNEGO's own, or SPNEGO falls back to the
    // default ones of the process; NTLM is the only mechanism it may offer
    // (Kerberos would need a ticket, not a password).
    gss_OID_set_desc spnego{1, &kSpnegoMech};
    major = gss_acquire_cred_with_password(&minor, gss_->user, &secret, GSS_C_INDEFINITE, &spnego, GSS_C_INITIATE,
                                           &gss_->credentials, nullptr, nullptr);
    if (GSS_ERROR(major))
        fail(wbem::ErrorCode::ConnectionFailed, "NTLM is not available (is gss-ntlmssp installed?)", major, minor);
    gss_OID_set_desc ntlm{1, &kNtlmMech};
    major = gss_set_neg_mechs(&minor, gss_->credentials, &ntlm);
    if (GSS_ERROR(major))
        fail(wbem::ErrorCode::ConnectionFailed, "NTLM is not available (is gss-ntlmssp installed?)", major, minor);
    const std::string service = "HTTP@" + host;
    gss_buffer_desc target = bufferOf(service);
    major = gss_import_name(&minor, &target, GSS_C_NT_HOSTBASED_SERVICE, &gss_->target);
    if (GSS_ERROR(major)) fail(wbem::ErrorCode::ConnectionFailed, "The server name is not usable", major, minor);
}

SpnegoContext::~SpnegoContext() = default;

std::string SpnegoContext::step(std::string_view serverToken) {
    OM_uint32 minor = 0;
    gss_buffer_desc in = bufferOf(serverToken);
    gss_buffer_desc out{0, nullptr};
    const OM_uint32 flags = GSS_C_CONF_FLAG | GSS_C_INTEG_FLAG | GSS_C_SEQUENCE_FLAG | GSS_C_REPLAY_FLAG | GSS_C_MUTUAL_FLAG;
    const OM_uint32 major = gss_init_sec_context(&minor, gss_->credentials, &gss_->context, gss_->target, &kSpnegoMech,
                                                 flags, GSS_C_INDEFINITE, GSS_C_NO_CHANNEL_BINDINGS, &in, nullptr, &out,
                                                 nullptr, nullptr);
    if (GSS_ERROR(major)) {
        gss_release_buffer(&minor, &out);
        fail(wbem::ErrorCode::AccessDenied, "Access denied: the Negotiate login failed", major, minor);
    }
    established_ = major == GSS_S_COMPLETE;
    return take(out);
}

std::string SpnegoContext::seal(std::string_view message) {
    OM_uint32 minor = 0;
    gss_buffer_desc in = bufferOf(message);
    gss_buffer_desc out{0, nullptr};
    int sealed = 0;
    const OM_uint32 major = gss_wrap(&minor, gss_->context, 1, GSS_C_QOP_DEFAULT, &in, &sealed, &out);
    if (GSS_ERROR(major) || !sealed) {
        gss_release_buffer(&minor, &out);
        fail(wbem::ErrorCode::ConnectionFailed, "Cannot seal the message", major, minor);
    }
    return take(out);
}

std::string SpnegoContext::unseal(std::string_view signatureAndSealed) {
    OM_uint32 minor = 0;
    gss_buffer_desc in = bufferOf(signatureAndSealed);
    gss_buffer_desc out{0, nullptr};
    int sealed = 0;
    const OM_uint32 major = gss_unwrap(&minor, gss_->context, &in, &out, &sealed, nullptr);
    if (GSS_ERROR(major) || !sealed) {
        gss_release_buffer(&minor, &out);
        fail(wbem::ErrorCode::ConnectionFailed, "The server's sealed answer does not verify", major, minor);
    }
    return take(out);
}

}  // namespace vantrel::wsman
