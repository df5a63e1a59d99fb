#pragma once
// Text placed in the HTML we write. Every text from a node (names, hardware
// texts) goes through htmlEscape, in element content and in quoted
// attributes alike; file names come from pageName, never from the text.

#include <set>
#include <string>
#include <string_view>

namespace vantrel {

// & < > " ' escaped; control characters other than tab and line breaks
// dropped; bytes that are not UTF-8 replaced by U+FFFD.
std::string htmlEscape(std::string_view text);

// A file name stem for a node: lower-case letters, digits and '-', other
// characters as '_', at most 48 characters, never one in `taken` (a number
// is appended), which it is added to. Case-insensitive shares cannot mix
// two nodes up.
std::string pageName(std::string_view nodeName, std::set<std::string>& taken);

}  // namespace vantrel
