#include "model/media_folder.h"

#include <filesystem>
#include <system_error>

namespace vantrel::model {
namespace {

std::optional<std::string> folderWith(const std::filesystem::path& folder, const std::string& marker) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(folder / marker, ec)) return std::nullopt;
    std::string text = folder.string();
    if (text.empty() || text.back() != '/') text += '/';
    return text;
}

}  // namespace

std::optional<std::string> findModelMedia(const std::string& marker) {
    std::error_code ec;
    if (auto here = folderWith(std::filesystem::current_path(ec), marker)) return here;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return std::nullopt;
    // The programs live in bin/, the generated files in bin/media/; tools one
    // folder deeper find them too.
    for (auto folder = exe.parent_path(); !folder.empty(); folder = folder.parent_path()) {
        if (auto media = folderWith(folder / "media", marker)) return media;
        if (auto media = folderWith(folder / "bin" / "media", marker)) return media;
        if (folder == folder.root_path()) break;
    }
    return std::nullopt;
}

}  // namespace vantrel::model
