#include "providers/wsman/gss_sealing.h"

#include <gssapi/gssapi_ext.h>
#include <gssapi/gssapi_krb5.h>

#include <cstring>

#include "wbem/wbem_error.h"

namespace vantrel::wsman {

namespace {

constexpr std::size_t kNtlmSignatureLength = 16;

[[noreturn]] void fail(const std::string& what) { throw wbem::WbemError(wbem::ErrorCode::ConnectionFailed, what); }

std::string bytesOf(const gss_buffer_desc& b) { return {static_cast<const char*>(b.value), b.length}; }

SealedParts sealNtlm(gss_ctx_id_t context, std::string_view message) {
    OM_uint32 minor = 0;
    gss_buffer_desc in{message.size(), const_cast<char*>(message.data())};
    gss_buffer_desc out{0, nullptr};
    int sealed = 0;
    const OM_uint32 major = gss_wrap(&minor, context, 1, GSS_C_QOP_DEFAULT, &in, &sealed, &out);
    const std::string wrapped = bytesOf(out);
    gss_release_buffer(&minor, &out);
    if (GSS_ERROR(major) || !sealed || wrapped.size() < kNtlmSignatureLength) fail("Cannot seal the message");
    return {wrapped.substr(0, kNtlmSignatureLength), wrapped.substr(kNtlmSignatureLength), message.size()};
}

SealedParts sealKerberos(gss_ctx_id_t context, std::string_view message) {
    std::string data(message);
    gss_iov_buffer_desc iov[3] = {};
    iov[0].type = GSS_IOV_BUFFER_TYPE_HEADER | GSS_IOV_BUFFER_FLAG_ALLOCATE;
    iov[1].type = GSS_IOV_BUFFER_TYPE_DATA;
    iov[1].buffer = {data.size(), data.data()};
    iov[2].type = GSS_IOV_BUFFER_TYPE_PADDING | GSS_IOV_BUFFER_FLAG_ALLOCATE;
    OM_uint32 minor = 0;
    int sealed = 0;
    const OM_uint32 major = gss_wrap_iov(&minor, context, 1, GSS_C_QOP_DEFAULT, &sealed, iov, 3);
    SealedParts parts;
    if (!GSS_ERROR(major)) {
        parts.header = bytesOf(iov[0].buffer);
        parts.sealed = std::move(data) + bytesOf(iov[2].buffer);
        parts.plainLength = message.size();
    }
    gss_release_iov_buffer(&minor, iov, 3);
    if (GSS_ERROR(major) || !sealed || parts.header.empty()) fail("Cannot seal the message");
    return parts;
}

std::string unsealNtlm(gss_ctx_id_t context, const SealedParts& parts) {
    std::string wrapped = parts.header + parts.sealed;
    gss_buffer_desc in{wrapped.size(), wrapped.data()}, out{0, nullptr};
    OM_uint32 minor = 0;
    int sealed = 0;
    const OM_uint32 major = gss_unwrap(&minor, context, &in, &out, &sealed, nullptr);
    std::string plain = bytesOf(out);
    gss_release_buffer(&minor, &out);
    if (GSS_ERROR(major) || !sealed) fail("The sealed message does not verify");
    return plain;
}

std::string unsealKerberos(gss_ctx_id_t context, const SealedParts& parts) {
    std::string header = parts.header, data = parts.sealed;
    gss_iov_buffer_desc iov[2] = {};
    iov[0].type = GSS_IOV_BUFFER_TYPE_HEADER;
    iov[0].buffer = {header.size(), header.data()};
    iov[1].type = GSS_IOV_BUFFER_TYPE_DATA;
    iov[1].buffer = {data.size(), data.data()};
    OM_uint32 minor = 0;
    int sealed = 0;
    const OM_uint32 major = gss_unwrap_iov(&minor, context, &sealed, nullptr, iov, 2);
    if (GSS_ERROR(major) || !sealed) fail("The sealed message does not verify");
    // Decrypted in place; a block cipher's padding follows the message.
    data.resize(std::min(data.size(), parts.plainLength));
    return data;
}

}  // namespace

bool isKerberosMechanism(gss_const_OID mechanism) {
    return mechanism && mechanism->length == gss_mech_krb5->length &&
           std::memcmp(mechanism->elements, gss_mech_krb5->elements, mechanism->length) == 0;
}

SealedParts sealMessage(gss_ctx_id_t context, bool kerberos, std::string_view message) {
    return kerberos ? sealKerberos(context, message) : sealNtlm(context, message);
}

std::string unsealMessage(gss_ctx_id_t context, bool kerberos, const SealedParts& parts) {
    std::string plain = kerberos ? unsealKerberos(context, parts) : unsealNtlm(context, parts);
    if (plain.size() != parts.plainLength) fail("The sealed message's length is not the one announced");
    return plain;
}

}  // namespace vantrel::wsman
