#pragma once

namespace vantrel {
inline constexpr const char* kVersionText = "2.10";
}
