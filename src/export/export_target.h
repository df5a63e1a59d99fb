#pragma once
// Where an export may go: anywhere but the program folder, whose files an
// export never touches.

#include <filesystem>

namespace vantrel {

// Throws ExportError when `target` is the program folder or lies inside it
// (links in its existing part resolved).
void refuseInsideProgramFolder(const std::filesystem::path& target, const std::filesystem::path& programFolder);

}  // namespace vantrel
