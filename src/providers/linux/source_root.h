#pragma once
// The folder that stands for "/" when this computer's files are read: "/" on
// the machine itself, a copy of another machine's /sys, /proc, /etc and
// /run/udev in tests. Every read is bounded and never fails loudly: a file
// that is missing, unreadable or a folder simply has nothing to say.

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel::linuxhost {

class MachineFiles;

// No source file we read is larger; anything bigger is cut here.
inline constexpr std::size_t kMaxSourceFileBytes = 1u << 20;

class SourceRoot {
public:
    explicit SourceRoot(std::filesystem::path root = "/");
    // A machine whose files are read through `files` (another computer).
    explicit SourceRoot(std::shared_ptr<const MachineFiles> files);

    const std::filesystem::path& root() const { return root_; }
    // The path below the root for an absolute-looking path ("/sys/block").
    std::filesystem::path path(std::string_view absolute) const;

    // At most kMaxSourceFileBytes of the file; nullopt when it cannot be read.
    std::optional<std::string> readFile(std::string_view absolute) const;
    // The file's first line without surrounding blanks; nullopt when the file
    // cannot be read, holds nothing but blanks, or is not clean text.
    std::optional<std::string> readValue(std::string_view absolute) const;
    // Entry names of a folder, sorted, without "." and ".."; empty when it
    // cannot be listed.
    std::vector<std::string> list(std::string_view absolute) const;
    bool exists(std::string_view absolute) const;
    // Where a path with links inside the root leads, as a path below the
    // root written absolute ("/sys/devices/..."); nullopt when it leads
    // outside the root or does not resolve.
    std::optional<std::string> resolve(std::string_view absolute) const;

private:
    std::filesystem::path root_;
    std::string prefix_;    // the root without a closing "/": "" for "/"
    std::string rootReal_;  // the root with its own links resolved
    std::shared_ptr<const MachineFiles> files_;  // set: every read goes there
};

// Reads a whole file the same bounded way, for sources outside any root.
std::optional<std::string> readBoundedFile(const std::filesystem::path& file);

// Text without leading and trailing blanks (spaces, tabs, CR, LF, NUL).
std::string trimmed(std::string_view text);

// True when the text is printable UTF-8 (tabs allowed): values with control
// bytes or broken sequences are left out rather than passed on.
bool isCleanText(std::string_view text);

}  // namespace vantrel::linuxhost
