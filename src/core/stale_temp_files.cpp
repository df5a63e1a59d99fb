#include "core/stale_temp_files.h"

#include <array>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vantrel {

namespace {

// The files the program writes with writeFileAtomically.
constexpr std::array<std::string_view, 5> kFolderFiles{"vantrel.ini", "lg.ini", "connections.ini", "results.ini",
                                                       "scans.ini"};
constexpr std::string_view kReportFile = "report";

// mkstemp's six characters.
constexpr std::size_t kTempSuffix = 6;

bool isLetterOrDigit(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); }

template <typename Names>
bool isTempOfAny(std::string_view name, const Names& targets) {
    for (std::string_view target : targets)
        if (isTempFileNameOf(name, target)) return true;
    return false;
}

// Every entry of the folder `dirFd` (which it closes) with its lstat mode.
template <typename Visit>
void forEachEntry(int dirFd, Visit visit) {
    DIR* dir = ::fdopendir(dirFd);
    if (!dir) {
        ::close(dirFd);
        return;
    }
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (name == "." || name == "..") continue;
        struct stat st {};
        if (::fstatat(::dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
        visit(::dirfd(dir), entry->d_name, st.st_mode);
    }
    ::closedir(dir);
}

void removeReportTemps(int parentFd, const char* folderName) {
    // O_NOFOLLOW: a node folder replaced by a link since the lstat is not entered.
    const int fd = ::openat(parentFd, folderName, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return;
    forEachEntry(fd, [](int dirFd, const char* name, mode_t mode) {
        if (S_ISREG(mode) && isTempFileNameOf(name, kReportFile)) ::unlinkat(dirFd, name, 0);
    });
}

}  // namespace

bool isTempFileNameOf(std::string_view name, std::string_view target) {
    if (name.size() != 1 + target.size() + 1 + kTempSuffix) return false;
    if (name[0] != '.' || name.substr(1, target.size()) != target || name[1 + target.size()] != '.') return false;
    for (char c : name.substr(name.size() - kTempSuffix))
        if (!isLetterOrDigit(c)) return false;
    return true;
}

void removeStaleTempFiles(const ProgramFolder& folder) {
    const int fd = ::open(folder.root().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    // The modes are lstat's: a link of our naming is no regular file and stays.
    forEachEntry(fd, [](int dirFd, const char* name, mode_t mode) {
        if (S_ISREG(mode) && isTempOfAny(name, kFolderFiles)) ::unlinkat(dirFd, name, 0);
        else if (S_ISDIR(mode)) removeReportTemps(dirFd, name);
    });
}

}  // namespace vantrel
