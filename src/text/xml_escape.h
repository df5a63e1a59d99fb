#pragma once
// Text placed inside XML we write: markup characters escaped, carriage
// returns kept as references (a parser would fold them into line feeds), and
// characters XML cannot carry at all replaced so the document stays well formed.

#include <string>
#include <string_view>

namespace vantrel::text {

std::string xmlEscape(std::string_view text);

}  // namespace vantrel::text
