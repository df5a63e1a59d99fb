#pragma once
// Where a machine's files come from when they are not on a local disk: the
// few things the class readers ask of a file tree, for a machine that is
// read some other way (over SSH). Paths are absolute and lexically normal.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel::linuxhost {

class MachineFiles {
public:
    virtual ~MachineFiles() = default;
    // At most kMaxSourceFileBytes of the file; nullopt when it cannot be read.
    virtual std::optional<std::string> readFile(std::string_view path) const = 0;
    // Entry names, sorted; empty when the folder cannot be listed.
    virtual std::vector<std::string> list(std::string_view path) const = 0;
    virtual bool exists(std::string_view path) const = 0;
    // The path with every link followed; nullopt when it does not resolve.
    virtual std::optional<std::string> resolve(std::string_view path) const = 0;
};

}  // namespace vantrel::linuxhost
