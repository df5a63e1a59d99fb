#include "text/regular_file.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vantrel::text {

RegularFile::RegularFile(const std::filesystem::path& path, std::uintmax_t maxBytes) {
    // Without O_NONBLOCK, opening a FIFO waits for a writer that never comes.
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd_ < 0) {
        check_ = errno == ENOENT || errno == ENOTDIR ? FileCheck::Missing : FileCheck::Unreadable;
        return;
    }
    struct stat st {};
    if (::fstat(fd_, &st) != 0) check_ = FileCheck::Unreadable;
    else if (S_ISDIR(st.st_mode)) check_ = FileCheck::Folder;
    else if (!S_ISREG(st.st_mode)) check_ = FileCheck::NotRegular;
    else if (static_cast<std::uintmax_t>(st.st_size) > maxBytes) check_ = FileCheck::TooLarge;
    else {
        check_ = FileCheck::Ok;
        size_ = static_cast<std::uintmax_t>(st.st_size);
        return;
    }
    ::close(fd_);
    fd_ = -1;
}

RegularFile::~RegularFile() {
    if (fd_ >= 0) ::close(fd_);
}

long RegularFile::read(char* into, std::size_t count) {
    if (fd_ < 0) return -1;
    for (;;) {
        const ssize_t got = ::read(fd_, into, count);
        if (got < 0 && errno == EINTR) continue;
        return static_cast<long>(got);
    }
}

FileBytes readRegularFile(const std::filesystem::path& path, std::uintmax_t maxBytes) {
    RegularFile file(path, maxBytes);
    FileBytes out;
    out.check = file.check();
    if (out.check != FileCheck::Ok) return out;
    // One byte more than the cap tells a file that grew past it.
    const std::uintmax_t limit = maxBytes + 1;
    out.bytes.resize(static_cast<std::size_t>(file.size() < limit ? file.size() + 1 : limit));
    std::size_t have = 0;
    for (;;) {
        if (have == out.bytes.size()) {
            if (out.bytes.size() >= limit) break;
            out.bytes.resize(static_cast<std::size_t>(std::min<std::uintmax_t>(limit, out.bytes.size() * 2 + 4096)));
        }
        const long got = file.read(out.bytes.data() + have, out.bytes.size() - have);
        if (got < 0) {
            out.check = FileCheck::Unreadable;
            out.bytes.clear();
            return out;
        }
        if (got == 0) break;
        have += static_cast<std::size_t>(got);
    }
    if (have > maxBytes) {
        out.check = FileCheck::TooLarge;
        out.bytes.clear();
        return out;
    }
    out.bytes.resize(have);
    return out;
}

std::string fileCheckText(FileCheck check, std::uintmax_t maxBytes) {
    switch (check) {
        case FileCheck::Ok: return {};
        case FileCheck::Missing: return "does not exist";
        case FileCheck::Folder: return "is a folder, not a file";
        case FileCheck::NotRegular: return "is not a regular file";
        case FileCheck::TooLarge: {
            constexpr std::uintmax_t kMiB = 1u << 20;
            if (maxBytes >= kMiB && maxBytes % kMiB == 0)
                return "is larger than " + std::to_string(maxBytes / kMiB) + " MiB";
            return "is larger than " + std::to_string(maxBytes) + " bytes";
        }
        case FileCheck::Unreadable: return "cannot be read";
    }
    return "cannot be read";
}

}  // namespace vantrel::text
