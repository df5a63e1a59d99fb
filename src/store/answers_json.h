#pragma once
// Scan answers kept in the profile format, so that a stored scan can stand
// in for its node again.

#include <string>
#include <string_view>

#include "collect/scan_answers.h"

namespace vantrel {

// Empty answers give an empty text.
std::string answersToJson(const ScanAnswers& answers);
// Throws StoreError when the text is not a profile.
ScanAnswers answersFromJson(std::string_view json);

}  // namespace vantrel
