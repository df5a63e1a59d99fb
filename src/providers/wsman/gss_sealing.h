#pragma once
// Sealing a WinRM message with an established GSS-API context, either side.
// NTLM's wrap token is its 16-byte signature followed by the sealed bytes;
// Kerberos seals in place with a separate token header, which is the form
// Windows reads and writes.

#include <gssapi/gssapi.h>

#include <string>
#include <string_view>

#include "providers/wsman/sealed_message.h"

namespace vantrel::wsman {

// True when `mechanism` (from gss_init/accept_sec_context) is Kerberos.
bool isKerberosMechanism(gss_const_OID mechanism);

// Throw WbemError (ConnectionFailed) when sealing fails or the seal does not verify.
SealedParts sealMessage(gss_ctx_id_t context, bool kerberos, std::string_view message);
std::string unsealMessage(gss_ctx_id_t context, bool kerberos, const SealedParts& parts);

}  // namespace vantrel::wsman
