#pragma once
// The folder an HTML export is written into. Files are written whole (a
// temporary file renamed over the old one, so a reader never sees half a
// page and a symbolic link is replaced, not followed). A manifest lists what
// was written; the next export into the folder removes the files of the
// previous manifest that it does not write again (pages of removed nodes),
// and nothing else.

#include <filesystem>
#include <set>
#include <string>
#include <string_view>

namespace vantrel {

inline constexpr const char* kExportManifest = "vantrel-export.txt";

class ExportFolder {
public:
    // Creates the folder when missing and reads its manifest. Throws
    // ExportError for a path that is no folder or is a symbolic link.
    explicit ExportFolder(std::filesystem::path root);

    // Writes `relative` ("index.html", "nodes/ws-7.html"): one of the names
    // an export makes, in the folder or one of its own subfolders. Throws ExportError.
    void write(const std::string& relative, std::string_view bytes);
    // Removes what the previous export wrote and this one did not, then
    // writes the manifest. Throws ExportError.
    void finish();

    const std::filesystem::path& root() const { return root_; }

private:
    std::filesystem::path root_;
    std::set<std::string> previous_;
    std::set<std::string> written_;
};

// True for a relative name an export makes: "index.html", "style.css",
// "nodes/NAME.html", "pictures/NAME.png" with NAME of [a-z0-9_-].
bool isExportFileName(std::string_view relative);

}  // namespace vantrel
