// The WS-Management answer parser on arbitrary bytes: every input is either
// an answer or a WbemError, and the items of an answer convert to values.
// The same bytes go through the reader of sealed bodies and base64.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "providers/wsman/cim_values.h"
#include "providers/wsman/fault_errors.h"
#include "providers/wsman/response_parser.h"
#include "providers/wsman/sealed_message.h"
#include "wbem/wbem_error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vantrel;
    try {
        const wsman::Response r = wsman::parseResponse(std::string_view(reinterpret_cast<const char*>(data), size));
        for (const auto& item : r.items) (void)wsman::convertItem(item);
        if (r.kind == wsman::ResponseKind::Fault) (void)wsman::faultError(r.fault).what();
        for (const auto& item : r.items)
            for (const auto& p : item.properties) (void)wsman::cimDatetime(p.text);
    } catch (const wbem::WbemError&) {
    }
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        (void)wsman::parseSealedBody(text);
    } catch (const wbem::WbemError&) {
    }
    (void)wsman::base64Decode(text);
    return 0;
}
