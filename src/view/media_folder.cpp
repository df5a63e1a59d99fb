#include "view/media_folder.h"

#include <filesystem>
#include <system_error>

namespace vantrel::view {
namespace fs = std::filesystem;

namespace {

std::string withSlash(std::string folder) {
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder;
}

bool holds(const fs::path& folder, const std::string& marker) {
    std::error_code ec;
    return !folder.empty() && fs::is_regular_file(folder / marker, ec);
}

}  // namespace

std::string FindMediaFolder(const std::string& marker, const MediaSearch& where) {
    if (holds(where.currentFolder, marker)) return withSlash(where.currentFolder);
    if (!where.programFolder.empty()) {
        std::error_code ec;
        fs::path folder = fs::absolute(where.programFolder, ec).lexically_normal();
        if (!folder.empty() && !folder.has_filename()) folder = folder.parent_path();
        while (!folder.empty()) {
            if (holds(folder, marker)) return withSlash(folder.string());
            if (folder == folder.parent_path()) break;
            folder = folder.parent_path();
        }
    }
    return where.installedMediaFolder.empty() ? std::string() : withSlash(where.installedMediaFolder);
}

}  // namespace vantrel::view
