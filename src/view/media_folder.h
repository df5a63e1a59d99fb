#pragma once
// Where the mesh files of the virtual PC are: the first folder holding the
// marker file among the current folder, the program folder and its parents,
// and the folder the build installs the media into.

#include <string>

namespace vantrel::view {

struct MediaSearch {
    std::string currentFolder;
    std::string programFolder;
    std::string installedMediaFolder;
};

// The folder with a trailing '/'. When no folder holds the marker, the
// installed media folder; empty when that is not known either.
std::string FindMediaFolder(const std::string& marker, const MediaSearch& where);

}  // namespace vantrel::view
