#include "export/export_nodes.h"

#include <algorithm>
#include <cctype>
#include <ctime>
#include <map>
#include <memory>

#include "collect/text_case.h"
#include "store/home_store.h"
#include "text/regular_file.h"

namespace vantrel {
namespace {

constexpr std::uintmax_t kMaxReportBytes = 16u << 20;

std::optional<std::string> readReport(const std::filesystem::path& file) {
    text::RegularFile in(file, kMaxReportBytes);
    if (in.check() != text::FileCheck::Ok) return std::nullopt;
    std::string bytes;
    char buffer[65536];
    for (long n; (n = in.read(buffer, sizeof buffer)) > 0;) {
        bytes.append(buffer, static_cast<std::size_t>(n));
        if (bytes.size() > kMaxReportBytes) return std::nullopt;
    }
    return bytes;
}

std::string statusText(const NodeRecord& node) {
    switch (node.scanStatus.value()) {
        case ScanStatus::Scanned: return "Scanned";
        case ScanStatus::AccessDenied: return "Access denied";
        case ScanStatus::NotScanned: return "Not scanned";
        case ScanStatus::Other: break;
    }
    return std::string(node.scanStatus.text());
}

bool wanted(const NodeRecord& node, const std::vector<std::string>& only) {
    if (only.empty()) return true;
    for (const auto& name : only)
        if (lowerCase(name) == lowerCase(node.name)) return true;
    return false;
}

// The store is opened only when it exists: opening creates it, and an
// export leaves the program folder as it was.
std::unique_ptr<SqliteInventoryStore> existingStore(const ProgramFolder& folder) {
    const auto file = inventoryFile(folder);
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) return nullptr;
    try {
        return std::make_unique<SqliteInventoryStore>(file);
    } catch (const std::exception&) {
        return nullptr;  // a damaged store: the reports on disk still tell the hardware
    }
}

// A part the scan answered nothing readable about ("", or just the counter
// " #2" that keeps alike parts apart) is named by its place instead.
void nameUnnamedParts(std::vector<Component>& parts) {
    std::map<std::string, int> positions;
    for (auto& part : parts) {
        const int position = ++positions[part.category];
        std::string_view name = part.name;
        if (const auto counter = name.rfind(" #"); counter != std::string_view::npos) name = name.substr(0, counter);
        if (std::none_of(name.begin(), name.end(), [](unsigned char c) { return std::isalnum(c) || c >= 0x80; }))
            part.name = part.category + " " + std::to_string(position);
    }
}

void fillFromStore(InventoryStore& store, ExportNode& out) {
    try {
        const auto scans = store.listScans(out.name);
        if (scans.empty()) return;
        const auto last = store.loadScan(out.name, scans.back().number);
        if (!last) return;
        out.scanTime = last->info.time;
        out.lastChange = scans.back().summary;
        out.components = scanComponents(last->content.reportText, last->content.answers, true);
    } catch (const std::exception&) {
        out.components.clear();  // the report on disk is used instead
        out.scanTime.reset();
    }
}

void fillFromReport(ExportNode& out) {
    if (!out.reportFile || out.scanTime) return;
    const auto text = readReport(*out.reportFile);
    if (!text) return;
    std::error_code error;
    const auto written = std::filesystem::last_write_time(*out.reportFile, error);
    if (!error) out.scanTime = std::chrono::time_point_cast<std::chrono::system_clock::duration>(std::chrono::file_clock::to_sys(written));
    out.components = scanComponents(*text, ScanAnswers{}, false);
}

}  // namespace

std::vector<ExportNode> gatherExportNodes(const ProgramFolder& folder, const NodeTable& table,
                                          const std::vector<std::string>& only) {
    const auto store = existingStore(folder);
    std::vector<ExportNode> nodes;
    for (int i = 1; i <= table.nodeCount(); ++i) {
        const NodeRecord& record = table.node(i);
        if (record.enabled == NodeEnabled::Hidden || !wanted(record, only)) continue;
        ExportNode node;
        node.name = record.name;
        node.displayName = record.displayName.empty() ? record.name : record.displayName;
        node.address = record.address;
        node.status = statusText(record);
        if (const auto report = folder.reportFile(record.name)) {
            std::error_code error;
            if (std::filesystem::is_regular_file(*report, error)) node.reportFile = *report;
        }
        if (store) fillFromStore(*store, node);
        fillFromReport(node);
        nameUnnamedParts(node.components);
        nodes.push_back(std::move(node));
    }
    return nodes;
}

std::string componentNames(const ExportNode& node, std::string_view category) {
    std::string out;
    for (const auto& part : node.components)
        if (part.category == category) out += (out.empty() ? "" : "; ") + part.name;
    return out;
}

std::string isoTime(const std::optional<std::chrono::system_clock::time_point>& time) {
    if (!time) return {};
    const std::time_t seconds = std::chrono::system_clock::to_time_t(*time);
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return text;
}

}  // namespace vantrel
