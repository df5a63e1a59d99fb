#pragma once
// Upper and lower case of report values as the Windows (Western) code page
// knows them: the collectors write values that way and the builders compare
// them that way. A value keeps its length in bytes.

#include <string>

namespace vantrel {

std::string upperCase(std::string text);
std::string lowerCase(std::string text);

}  // namespace vantrel
