#pragma once
// Opening a file the user or a node can point us at (settings, node tables,
// reports, profiles, models, textures) so that it can neither hang nor
// exhaust the program: a FIFO or a device opens at once and is refused, and
// so is a file above the reader's size cap.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "text/byte_buffer.h"

namespace vantrel::text {

enum class FileCheck {
    Ok,
    Missing,     // no such file
    Folder,      // a folder where a file was expected
    NotRegular,  // a FIFO, socket or device
    TooLarge,    // above the reader's cap
    Unreadable,  // exists, but opening or reading it failed
};

// A regular file opened for reading: open without blocking (O_NONBLOCK),
// then fstat on the descriptor, so what is checked is what is read.
class RegularFile {
public:
    RegularFile(const std::filesystem::path& path, std::uintmax_t maxBytes);
    ~RegularFile();
    RegularFile(const RegularFile&) = delete;
    RegularFile& operator=(const RegularFile&) = delete;

    FileCheck check() const { return check_; }
    // The size fstat gave; the file may still grow while it is read.
    std::uintmax_t size() const { return size_; }
    // Up to `count` bytes; 0 at the end, -1 on a read error.
    long read(char* into, std::size_t count);

private:
    int fd_ = -1;
    FileCheck check_ = FileCheck::Unreadable;
    std::uintmax_t size_ = 0;
};

struct FileBytes {
    FileCheck check = FileCheck::Unreadable;
    ByteBuffer bytes;  // the whole file when check is Ok
};

// The whole file, at most maxBytes of it: a file that grows beyond the cap
// while it is read is TooLarge.
FileBytes readRegularFile(const std::filesystem::path& path, std::uintmax_t maxBytes);

// "is not a regular file", "is larger than 16 MiB", ... for messages that
// name the file first.
std::string fileCheckText(FileCheck check, std::uintmax_t maxBytes);

}  // namespace vantrel::text
