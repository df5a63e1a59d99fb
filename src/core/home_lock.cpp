#include "core/home_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace vantrel {

namespace {

// What the holder wrote into the lock file, on one short line.
std::string readHolder(int fd) {
    char buffer[256] = {};
    const ssize_t n = ::pread(fd, buffer, sizeof buffer - 1, 0);
    std::string text(buffer, n > 0 ? static_cast<std::size_t>(n) : 0);
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 0x20) c = ' ';
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text.empty() ? std::string("another program") : text;
}

}  // namespace

HomeLock::HomeLock(const std::filesystem::path& lockFile, const std::string& holder) {
    fd_ = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd_ < 0)
        throw FolderError("Cannot make the lock file " + lockFile.string() + ": " + std::strerror(errno));
    if (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        const std::string owner = error == EWOULDBLOCK ? readHolder(fd_) : std::string();
        ::close(fd_);
        fd_ = -1;
        if (error != EWOULDBLOCK)
            throw FolderError("Cannot lock " + lockFile.string() + ": " + std::strerror(error));
        throw FolderBusyError("The folder " + lockFile.parent_path().string() + " is in use by " + owner +
                              "; try again when it has finished");
    }
    const std::string text = holder + " (process " + std::to_string(::getpid()) + ")\n";
    if (::ftruncate(fd_, 0) == 0) {
        [[maybe_unused]] const ssize_t written = ::pwrite(fd_, text.data(), text.size(), 0);
    }
}

HomeLock::~HomeLock() {
    if (fd_ < 0) return;
    // The next program that finds the folder locked must not be told about us.
    [[maybe_unused]] const int cleared = ::ftruncate(fd_, 0);
    ::close(fd_);  // closing releases the lock
}

}  // namespace vantrel
