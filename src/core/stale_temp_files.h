#pragma once
// A write cut short by a kill leaves its temporary file behind (".lg.ini.Ab3xYz":
// a whole copy of the node table, passwords included). The next program that
// holds the folder removes them.

#include <string_view>

#include "core/program_folder.h"

namespace vantrel {

// True when `name` is a temporary file writeFileAtomically makes for `target`:
// "." + target + "." + six letters or digits.
bool isTempFileNameOf(std::string_view name, std::string_view target);

// Removes our temporary files from the program folder and from the node
// folders in it: regular files of exactly that naming only, never through a
// symbolic link. Only the holder of the folder's lock may call this, as a
// write under way in another program would lose its file.
void removeStaleTempFiles(const ProgramFolder& folder);

}  // namespace vantrel
