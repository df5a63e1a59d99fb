#include "store/shared_inventory_view.h"

#include <ctime>
#include <filesystem>
#include <fstream>

#include "core/text_file.h"
#include "store/store_choice.h"
#include "store/store_error.h"

namespace vantrel {

namespace {

bool sameContent(const std::filesystem::path& file, const std::string& text) {
    std::error_code error;
    if (std::filesystem::file_size(file, error) != text.size() || error) return false;
    std::ifstream in(file, std::ios::binary);
    std::string bytes(text.size(), '\0');
    return in.read(bytes.data(), static_cast<std::streamsize>(bytes.size())) && bytes == text;
}

}  // namespace

SharedInventoryView::SharedInventoryView(ProgramFolder folder, std::string target)
    : folder_(std::move(folder)), target_(std::move(target)) {}

SharedInventoryView::~SharedInventoryView() = default;

InventoryStore& SharedInventoryView::store() {
    if (!store_) store_ = openInventoryStore(folder_, target_);
    return *store_;
}

bool SharedInventoryView::reachable() {
    std::lock_guard lock(mutex_);
    return reachable_;
}

std::vector<NodeLastScan> SharedInventoryView::readLastScans() {
    std::lock_guard lock(mutex_);
    try {
        auto last = store().lastScans();
        reachable_ = true;
        return last;
    } catch (...) {
        reachable_ = false;
        throw;
    }
}

bool SharedInventoryView::refreshReport(const std::string& node) {
    const auto report = folder_.reportFile(node);
    if (!report) return false;  // a name that is no folder name has no report here
    std::lock_guard lock(mutex_);
    std::optional<StoredScan> scan;
    try {
        const auto scans = store().listScans(node);
        reachable_ = true;
        if (scans.empty()) return false;
        std::error_code error;
        const auto written = std::filesystem::last_write_time(*report, error);
        if (!error && std::chrono::file_clock::to_sys(written) >= scans.back().time) return false;
        scan = store().loadScan(node, scans.back().number);
    } catch (...) {
        reachable_ = false;
        throw;
    }
    if (!scan) return false;
    const std::string text = scan->content.reportText + kLineBreak;
    // This program's own scan, recorded just after its report: nothing to write.
    if (sameContent(*report, text)) return false;
    std::error_code error;
    std::filesystem::create_directory(report->parent_path(), error);
    return writeFileAtomically(*report, text);
}

std::string scannedElsewhereText(const ScanInfo& scan) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(scan.time);
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    char when[32];
    std::strftime(when, sizeof when, "%Y-%m-%d %H:%M UTC", &utc);
    return "Scanned elsewhere" + (scan.source.empty() ? std::string() : " over " + scan.source) + ", " + when;
}

std::vector<int> takeLastScans(NodeTable& table, const std::vector<NodeLastScan>& last) {
    std::vector<int> changed;
    for (const auto& scan : last) {
        const int i = table.find(scan.node);
        if (i == 0) continue;
        NodeRecord& node = table.node(i);
        // "Access denied" is this console's own login at fault, which the
        // other program's scan does not mend; a status text of another
        // version is kept as it came.
        if (node.scanStatus != ScanStatus::NotScanned) continue;
        node.scanStatus = ScanStatus::Scanned;
        node.lastResult = scannedElsewhereText(scan.info);
        changed.push_back(i);
    }
    return changed;
}

}  // namespace vantrel
