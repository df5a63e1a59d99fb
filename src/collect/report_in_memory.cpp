#include "collect/report_in_memory.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace vantrel {

namespace {

std::runtime_error failure() {
    return std::runtime_error(std::string("cannot hold the report in memory: ") + std::strerror(errno));
}

}  // namespace

ReportInMemory::ReportInMemory(const std::string& text) : fd_(::memfd_create("report", MFD_CLOEXEC)) {
    if (fd_ < 0) throw failure();
    std::size_t written = 0;
    while (written < text.size()) {
        const ssize_t n = ::write(fd_, text.data() + written, text.size() - written);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            const auto error = failure();
            ::close(fd_);
            throw error;
        }
        written += static_cast<std::size_t>(n);
    }
}

ReportInMemory::~ReportInMemory() { ::close(fd_); }

// Opening the descriptor's link gives a new description that starts at the beginning.
std::filesystem::path ReportInMemory::path() const { return "/proc/self/fd/" + std::to_string(fd_); }

}  // namespace vantrel
