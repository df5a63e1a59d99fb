#pragma once
// Machine trees for the provider's tests: a temporary folder standing for
// "/", filled from a text archive of a recorded /proc and /sys or file by
// file by a test.

#include <filesystem>
#include <string>
#include <string_view>

namespace vantrel::linuxhost::testing {

class SourceTree {
public:
    SourceTree();
    ~SourceTree();
    SourceTree(const SourceTree&) = delete;
    SourceTree& operator=(const SourceTree&) = delete;

    const std::filesystem::path& root() const { return root_; }
    // Writes a file below the root, making its folders.
    void file(std::string_view path, std::string_view content) const;
    // Makes a symbolic link below the root to target (relative, as sysfs has them).
    void link(std::string_view path, std::string_view target) const;

    // Unpacks a ttar archive ("Directory:", "Path:"/"Lines:", "SymlinkTo:"
    // records; NULLBYTE and a closing EOF mark what text cannot hold) below
    // the root. Throws std::runtime_error on a record it cannot read or a
    // path that would leave the root.
    void unpackTtar(std::string_view archive) const;

private:
    std::filesystem::path root_;
};

// The shared fixtures folder, or an empty path when it is absent.
std::filesystem::path sharedFixtures();

}  // namespace vantrel::linuxhost::testing
