#pragma once
// UTF-8 checks and Windows-1252 decoding, for every text that comes from a
// file or the network. Depends on nothing else of the program, so every
// layer may use it.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vantrel::text {

// Length of the well-formed UTF-8 sequence starting at s[i] (1 to 4), or 0
// when there is none: overlong forms, surrogates and code points above
// U+10FFFF are not well-formed.
std::size_t utf8SequenceLength(std::string_view s, std::size_t i);

bool isValidUtf8(std::string_view s);

// Appends code point `cp` (below U+10000) as UTF-8.
void appendUtf8(std::string& out, std::uint32_t cp);

// The bytes read as Windows-1252, as UTF-8.
std::string windows1252ToUtf8(std::string_view bytes);

// At most maxBytes of `text` and "..." when it is longer, cut between two
// characters, never inside one.
std::string shortenUtf8(std::string_view text, std::size_t maxBytes);

}  // namespace vantrel::text
