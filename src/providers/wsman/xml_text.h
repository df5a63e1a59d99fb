#pragma once
// Identifiers of the messages we write, and the escaping of text inside them.

#include <string>
#include <string_view>

#include "text/xml_escape.h"

namespace vantrel::wsman {

using text::xmlEscape;

// "uuid:" and a random version 4 UUID, for message IDs and enumeration contexts.
std::string newUuid();

}  // namespace vantrel::wsman
