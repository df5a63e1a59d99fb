#pragma once
// Where the virtual PC's mesh files are: the current folder when it holds the
// marker file, else the media folder the build writes next to the programs.

#include <optional>
#include <string>

namespace vantrel::model {

inline constexpr const char* kMediaMarker = "vm1.x";

// The folder holding marker, ending with a path separator, or nothing.
std::optional<std::string> findModelMedia(const std::string& marker = kMediaMarker);

}  // namespace vantrel::model
