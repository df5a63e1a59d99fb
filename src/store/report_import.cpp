#include "store/report_import.h"

#include <sys/stat.h>

#include <algorithm>

#include "core/text_file.h"
#include "text/regular_file.h"

namespace vantrel {

namespace {
// Far above any report of 33 sections; a larger file is not one.
constexpr std::uintmax_t kMaxReportBytes = 16u << 20;
}  // namespace

std::vector<CollectedScan> reportsOnDisk(const ProgramFolder& folder) {
    std::vector<CollectedScan> reports;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder.root(), ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (!it->is_directory(ec) || it->is_symlink(ec) || !isSafePathComponent(name)) continue;
        const auto file = folder.reportFile(name);
        if (!file || std::filesystem::is_symlink(*file, ec)) continue;
        text::FileBytes bytes = text::readRegularFile(*file, kMaxReportBytes);
        if (bytes.check != text::FileCheck::Ok) continue;
        struct stat status {};
        if (stat(file->c_str(), &status) != 0) continue;
        CollectedScan scan;
        scan.node = name;
        scan.source = ScanSource::ImportedReport;
        scan.time = std::chrono::system_clock::time_point(std::chrono::duration_cast<std::chrono::system_clock::duration>(
            std::chrono::seconds(status.st_mtim.tv_sec) + std::chrono::nanoseconds(status.st_mtim.tv_nsec)));
        scan.reportText.assign(bytes.bytes.begin(), bytes.bytes.end());
        // The writer ends the text with one more line break than its last line's.
        const std::string_view lineBreak(kLineBreak);
        if (scan.reportText.ends_with(lineBreak)) scan.reportText.resize(scan.reportText.size() - lineBreak.size());
        reports.push_back(std::move(scan));
    }
    std::sort(reports.begin(), reports.end(), [](const auto& a, const auto& b) { return a.node < b.node; });
    return reports;
}

}  // namespace vantrel
