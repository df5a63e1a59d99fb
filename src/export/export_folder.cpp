#include "export/export_folder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

#include "export/export_error.h"

namespace vantrel {
namespace {

constexpr std::string_view kManifestHeader = "vantrel export 1";

bool stemIsOurs(std::string_view stem) {
    if (stem.empty()) return false;
    for (char c : stem)
        if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_')) return false;
    return true;
}

bool endsWith(std::string_view text, std::string_view end) {
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

// A folder of ours: made when missing, refused when it is a link or a file.
void ensureFolder(const std::filesystem::path& folder) {
    struct stat info {};
    if (::lstat(folder.c_str(), &info) == 0) {
        if (S_ISDIR(info.st_mode)) return;
        throw ExportError(folder.string() + " is not a folder (a link or a file is not written through)");
    }
    if (errno != ENOENT || ::mkdir(folder.c_str(), 0755) != 0)
        throw ExportError("cannot make the folder " + folder.string() + ": " + std::strerror(errno));
}

void writeWhole(const std::filesystem::path& file, std::string_view bytes) {
    std::string temp = (file.parent_path() / ("." + file.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) throw ExportError("cannot write in " + file.parent_path().string() + ": " + std::strerror(errno));
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += static_cast<std::size_t>(n);
    }
    const bool ok = done == bytes.size() && ::fchmod(fd, 0644) == 0;
    if (::close(fd) != 0 || !ok || ::rename(temp.c_str(), file.c_str()) != 0) {
        const std::string why = std::strerror(errno);
        ::unlink(temp.c_str());
        throw ExportError("cannot write " + file.string() + ": " + why);
    }
}

}  // namespace

bool isExportFileName(std::string_view relative) {
    if (relative == "index.html" || relative == "style.css") return true;
    for (auto [folder, extension] : {std::pair<std::string_view, std::string_view>{"nodes/", ".html"},
                                     std::pair<std::string_view, std::string_view>{"pictures/", ".png"}}) {
        if (relative.substr(0, folder.size()) != folder || !endsWith(relative, extension)) continue;
        const auto stem = relative.substr(folder.size(), relative.size() - folder.size() - extension.size());
        return stemIsOurs(stem);
    }
    return false;
}

ExportFolder::ExportFolder(std::filesystem::path root) : root_(std::move(root)) {
    // The chosen folder itself may be a link (to a share): the user named it.
    std::error_code error;
    std::filesystem::create_directories(root_, error);
    if (!std::filesystem::is_directory(root_, error))
        throw ExportError("cannot make the folder " + root_.string() + (error ? ": " + error.message() : ""));
    std::ifstream manifest(root_ / kExportManifest);
    std::string line;
    if (!std::getline(manifest, line) || line != kManifestHeader) return;  // none, or not ours: nothing is removed
    while (std::getline(manifest, line))
        if (isExportFileName(line)) previous_.insert(line);
}

void ExportFolder::write(const std::string& relative, std::string_view bytes) {
    if (!isExportFileName(relative)) throw ExportError("not a file an export makes: " + relative);
    const auto slash = relative.find('/');
    if (slash != std::string::npos) ensureFolder(root_ / relative.substr(0, slash));
    writeWhole(root_ / relative, bytes);
    written_.insert(relative);
}

void ExportFolder::finish() {
    for (const auto& old : previous_) {
        if (written_.count(old)) continue;
        const auto file = root_ / old;
        struct stat info {};
        // Only the files themselves: a link put in their place is removed, never followed.
        if (::lstat(file.c_str(), &info) == 0 && (S_ISREG(info.st_mode) || S_ISLNK(info.st_mode))) ::unlink(file.c_str());
    }
    std::ostringstream manifest;
    manifest << kManifestHeader << '\n';
    for (const auto& name : written_) manifest << name << '\n';
    writeWhole(root_ / kExportManifest, manifest.str());
    previous_ = written_;
}

}  // namespace vantrel
