#include "providers/wsman/spnego_context.h"

#include <gssapi/gssapi.h>
#include <gssapi/gssapi_ext.h>
#include <gssapi/gssapi_krb5.h>

#include <algorithm>
#include <cctype>
#include <utility>

#include "providers/wsman/gss_sealing.h"
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

std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

// Whether the ticket's principal ("alice@CORP.EXAMPLE.COM") is the user the
// login names: "alice", "alice@corp.example.com", or "CORP\\alice" where
// the domain is the realm or its first label (its usual NetBIOS name).
bool principalIsUser(const std::string& principal, const std::string& user) {
    if (user.empty()) return true;
    const auto at = principal.find('@');
    const std::string account = lower(principal.substr(0, at));
    const std::string realm = at == std::string::npos ? std::string() : lower(principal.substr(at + 1));
    std::string name = user;
    if (const auto slash = name.find('\\'); slash != std::string::npos) {
        const std::string domain = lower(name.substr(0, slash));
        if (domain != realm && domain != realm.substr(0, realm.find('.'))) return false;
        name.erase(0, slash + 1);
    }
    if (const auto userAt = name.find('@'); userAt != std::string::npos) {
        if (lower(name.substr(userAt + 1)) != realm) return false;
        name.resize(userAt);
    }
    return lower(name) == account;
}

std::string nameText(gss_name_t name) {
    OM_uint32 minor = 0;
    gss_buffer_desc text{0, nullptr};
    if (GSS_ERROR(gss_display_name(&minor, name, &text, nullptr))) return {};
    return take(text);
}

}  // namespace

struct SpnegoContext::Gss {
    gss_name_t target = GSS_C_NO_NAME;
    gss_cred_id_t credentials = GSS_C_NO_CREDENTIAL;
    gss_ctx_id_t context = GSS_C_NO_CONTEXT;
    void dropLogin() {
        OM_uint32 minor = 0;
        if (context != GSS_C_NO_CONTEXT) gss_delete_sec_context(&minor, &context, GSS_C_NO_BUFFER);
        if (credentials != GSS_C_NO_CREDENTIAL) gss_release_cred(&minor, &credentials);
    }
    ~Gss() {
        dropLogin();
        OM_uint32 minor = 0;
        if (target != GSS_C_NO_NAME) gss_release_name(&minor, &target);
    }
};

namespace {
constexpr OM_uint32 kFlags =
    GSS_C_CONF_FLAG | GSS_C_INTEG_FLAG | GSS_C_SEQUENCE_FLAG | GSS_C_REPLAY_FLAG | GSS_C_MUTUAL_FLAG;
}

SpnegoContext::SpnegoContext(const std::string& user, const std::string& password, const std::string& host)
    : gss_(new Gss) {
    OM_uint32 minor = 0;
    const std::string service = "HTTP@" + host;
    gss_buffer_desc target = bufferOf(service);
    const OM_uint32 major = gss_import_name(&minor, &target, GSS_C_NT_HOSTBASED_SERVICE, &gss_->target);
    if (GSS_ERROR(major)) fail(wbem::ErrorCode::ConnectionFailed, "The server name is not usable", major, minor);
    if (!tryKerberos(user)) useNtlm(user, password);
}

SpnegoContext::~SpnegoContext() = default;

// Kerberos needs the user's ticket and a service ticket for the node, which
// the first step asks the KDC for; anything missing means NTLM instead.
bool SpnegoContext::tryKerberos(const std::string& user) {
    OM_uint32 minor = 0;
    gss_OID_set_desc krb5{1, const_cast<gss_OID>(gss_mech_krb5)};
    gss_cred_id_t ticket = GSS_C_NO_CREDENTIAL;
    gss_name_t holder = GSS_C_NO_NAME;
    OM_uint32 lifetime = 0;
    OM_uint32 major =
        gss_acquire_cred(&minor, GSS_C_NO_NAME, GSS_C_INDEFINITE, &krb5, GSS_C_INITIATE, &ticket, nullptr, nullptr);
    if (!GSS_ERROR(major)) major = gss_inquire_cred(&minor, ticket, &holder, &lifetime, nullptr, nullptr);
    const std::string principal = holder != GSS_C_NO_NAME ? nameText(holder) : std::string();
    if (holder != GSS_C_NO_NAME) gss_release_name(&minor, &holder);
    if (ticket != GSS_C_NO_CREDENTIAL) gss_release_cred(&minor, &ticket);
    if (GSS_ERROR(major) || lifetime == 0 || principal.empty() || !principalIsUser(principal, user)) return false;

    gss_OID_set_desc spnego{1, &kSpnegoMech};
    major = gss_acquire_cred(&minor, GSS_C_NO_NAME, GSS_C_INDEFINITE, &spnego, GSS_C_INITIATE, &gss_->credentials,
                             nullptr, nullptr);
    if (!GSS_ERROR(major)) major = gss_set_neg_mechs(&minor, gss_->credentials, &krb5);
    if (GSS_ERROR(major)) {
        gss_->dropLogin();
        return false;
    }
    gss_buffer_desc out{0, nullptr};
    major = gss_init_sec_context(&minor, gss_->credentials, &gss_->context, gss_->target, &kSpnegoMech, kFlags,
                                 GSS_C_INDEFINITE, GSS_C_NO_CHANNEL_BINDINGS, GSS_C_NO_BUFFER, nullptr, &out, nullptr,
                                 nullptr);
    firstToken_ = take(out);
    if (GSS_ERROR(major) || firstToken_.empty()) {
        firstToken_.clear();
        gss_->dropLogin();
        return false;
    }
    kerberos_ = true;
    return true;
}

void SpnegoContext::useNtlm(const std::string& user, const std::string& password) {
    OM_uint32 minor = 0;
    gss_name_t name = GSS_C_NO_NAME;
    gss_buffer_desc nameBuffer = bufferOf(user);
    OM_uint32 major = gss_import_name(&minor, &nameBuffer, GSS_C_NT_USER_NAME, &name);
    if (GSS_ERROR(major)) fail(wbem::ErrorCode::AccessDenied, "Access denied: the user name is not usable", major, minor);
    gss_buffer_desc secret = bufferOf(password);
    // The credentials must be SPNEGO's own, or SPNEGO falls back to the
    // default ones of the process; NTLM is then the only mechanism it offers.
    gss_OID_set_desc spnego{1, &kSpnegoMech};
    major = gss_acquire_cred_with_password(&minor, name, &secret, GSS_C_INDEFINITE, &spnego, GSS_C_INITIATE,
                                           &gss_->credentials, nullptr, nullptr);
    gss_release_name(&minor, &name);
    if (GSS_ERROR(major))
        fail(wbem::ErrorCode::ConnectionFailed, "NTLM is not available (is gss-ntlmssp installed?)", major, minor);
    gss_OID_set_desc ntlm{1, &kNtlmMech};
    major = gss_set_neg_mechs(&minor, gss_->credentials, &ntlm);
    if (GSS_ERROR(major))
        fail(wbem::ErrorCode::ConnectionFailed, "NTLM is not available (is gss-ntlmssp installed?)", major, minor);
}

std::string SpnegoContext::step(std::string_view serverToken) {
    if (!firstToken_.empty()) return std::exchange(firstToken_, {});
    OM_uint32 minor = 0;
    gss_buffer_desc in = bufferOf(serverToken);
    gss_buffer_desc out{0, nullptr};
    const OM_uint32 major = gss_init_sec_context(&minor, gss_->credentials, &gss_->context, gss_->target, &kSpnegoMech,
                                                 kFlags, GSS_C_INDEFINITE, GSS_C_NO_CHANNEL_BINDINGS, &in, nullptr, &out,
                                                 nullptr, nullptr);
    if (GSS_ERROR(major)) {
        gss_release_buffer(&minor, &out);
        fail(wbem::ErrorCode::AccessDenied,
             std::string("Access denied: the Negotiate login (") + (kerberos_ ? "Kerberos" : "NTLM") + ") failed", major,
             minor);
    }
    established_ = major == GSS_S_COMPLETE;
    return take(out);
}

SealedParts SpnegoContext::seal(std::string_view message) { return sealMessage(gss_->context, kerberos_, message); }

std::string SpnegoContext::unseal(const SealedParts& parts) { return unsealMessage(gss_->context, kerberos_, parts); }

}  // namespace vantrel::wsman
