#include "core/scan_settings_file.h"

#include <charconv>

#include "core/text_file.h"

namespace vantrel {

namespace {

constexpr const char* kScanSettingsFile = "scans.ini";

}  // namespace

void loadScanSettings(ProgramState& state) {
    TextLineReader reader(state.folder.root() / kScanSettingsFile);
    const auto line = reader.readLine();
    if (!line) return;
    const std::string text = stripSpaces(*line);
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return;
    if (value < kMinParallelScans || value > kMaxParallelScans) return;
    state.domain.settings.parallelScans = value;
}

bool saveScanSettings(const ProgramState& state) {
    std::string out;
    appendFileLine(out, std::to_string(state.domain.settings.parallelScans));
    return writeFileAtomically(state.folder.root() / kScanSettingsFile, out);
}

}  // namespace vantrel
