#include "core/scan_settings_file.h"

#include <charconv>
#include <filesystem>
#include <system_error>

#include "core/text_file.h"

namespace vantrel {

namespace {

constexpr const char* kScanSettingsFile = "scans.ini";

}  // namespace

void loadScanSettings(ProgramState& state) {
    TextLineReader reader(state.folder.root() / kScanSettingsFile);
    const auto line = reader.readLine();
    state.domain.unreadableFiles.scanSettings = reader.failed();
    if (!line) return;
    const std::string text = stripSpaces(*line);
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return;
    if (value < kMinParallelScans || value > kMaxParallelScans) return;
    state.domain.settings.parallelScans = value;
}

bool saveScanSettings(const ProgramState& state) {
    // A file that could not be read is left alone, as the other files are.
    if (state.domain.unreadableFiles.scanSettings) return false;
    const std::filesystem::path file = state.folder.root() / kScanSettingsFile;
    std::error_code ec;
    // The default needs no file.
    if (!std::filesystem::exists(file, ec) && state.domain.settings.parallelScans == kDefaultParallelScans) return true;
    std::string out;
    appendFileLine(out, std::to_string(state.domain.settings.parallelScans));
    return writeFileAtomically(file, out);
}

}  // namespace vantrel
