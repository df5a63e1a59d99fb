#pragma once
// A report held in memory (a stored scan's text) as a file the report
// loader can read: an anonymous file that lives as long as this object and
// is never written to any folder.

#include <filesystem>
#include <string>

namespace vantrel {

class ReportInMemory {
public:
    // Throws std::runtime_error when the system has no memory file for it.
    explicit ReportInMemory(const std::string& text);
    ~ReportInMemory();
    ReportInMemory(const ReportInMemory&) = delete;
    ReportInMemory& operator=(const ReportInMemory&) = delete;

    // A path that opens the text from the start, valid while this object lives.
    std::filesystem::path path() const;

private:
    int fd_ = -1;
};

}  // namespace vantrel
