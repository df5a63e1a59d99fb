#include "core/settings_file.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <type_traits>

#include "core/text_file.h"

namespace vantrel {

double numericValue(std::string_view text) {
    std::string compact;
    compact.reserve(text.size());
    for (char ch : text)
        if (ch != ' ') compact.push_back(ch);
    // from_chars takes no leading '+'; a sign is only valid before a digit or point.
    std::string_view s = compact;
    bool negative = false;
    if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
        if (s.empty() || s.front() == '+' || s.front() == '-') return 0;
    }
    double value = 0;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value, std::chars_format::general);
    if (end == s.data()) return 0;  // nothing numeric
    if (ec == std::errc::result_out_of_range || !std::isfinite(value)) return 0;
    return negative ? -value : value;
}

namespace {

template <typename Number>
std::string printNumber(Number value) {
    if (value == 0) value = 0;  // no "-0"
    char buf[400];
    std::to_chars_result r;
    if constexpr (std::is_floating_point_v<Number>) r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed);
    else r = std::to_chars(buf, buf + sizeof buf, value);
    auto [end, ec] = r;
    std::string digits = ec == std::errc() ? std::string(buf, end) : std::string("0");
    // The print statement drops the zero before the decimal point.
    if (digits.rfind("0.", 0) == 0) digits.erase(0, 1);
    else if (digits.rfind("-0.", 0) == 0) digits.erase(1, 1);
    return (value < 0 ? "" : " ") + digits + " ";
}

}  // namespace

std::string formatPrintNumber(float value) { return printNumber(value); }
std::string formatPrintNumber(std::int32_t value) { return printNumber(value); }

namespace {

float toSingle(double value) {
    if (std::fabs(value) > std::numeric_limits<float>::max()) return 0;
    return static_cast<float>(value);
}

// Rounds halves to the even neighbour; out of range reads as 0.
std::int32_t toColour(double value) {
    const double rounded = std::nearbyint(value);
    if (rounded < std::numeric_limits<std::int32_t>::min() || rounded > std::numeric_limits<std::int32_t>::max())
        return 0;
    return static_cast<std::int32_t>(rounded);
}

void tickLabelMode(SettingsDialogState& dialog, NodeLabelMode mode) {
    switch (mode) {
        case NodeLabelMode::Ip: dialog.ipLabelChecked = true; break;
        case NodeLabelMode::Name: dialog.nameLabelChecked = true; break;
        case NodeLabelMode::IpName: dialog.ipNameLabelChecked = true; break;
        case NodeLabelMode::Other: break;
    }
}

}  // namespace

void loadSettings(ProgramState& state) {
    // The reader fills controls of both dialogs, so it brings them to life.
    state.windows.settingsDialog.created = true;
    state.windows.adminDialog.created = true;

    Settings& settings = state.domain.settings;
    TextLineReader reader(state.folder.settingsFile());
    for (int lineNo = 1; lineNo <= 9; ++lineNo) {
        auto line = reader.readLine();
        if (!line) break;
        const std::string text = stripSpaces(*line);
        switch (lineNo) {
            case 1: settings.defaultUser = text; state.windows.adminDialog.userField = text; break;
            case 2: settings.defaultPassword = text; state.windows.adminDialog.passwordField = text; break;
            case 3: settings.cameraZ = toSingle(numericValue(text)); break;
            case 4: settings.cameraY = toSingle(numericValue(text)); break;
            case 5: settings.cameraX = toSingle(numericValue(text)); break;
            case 6: settings.backgroundColor = toColour(numericValue(text)); break;
            case 7:
                // An empty line means no mode was ever chosen; the start value stays.
                if (!text.empty()) settings.nodeLabelMode = FileValue<NodeLabelMode>::fromText(text);
                break;
            case 8: {
                std::string compact;
                for (char ch : text)
                    if (ch != ' ') compact.push_back(ch);
                if (compact == "1") settings.showPasswords = true;
                else if (compact == "0") settings.showPasswords = false;
                break;
            }
            case 9: settings.wmiNamespace = text; state.windows.settingsDialog.namespaceField = text; break;
        }
    }
    tickLabelMode(state.windows.settingsDialog, settings.nodeLabelMode.value());
    state.domain.unreadableFiles.settings = reader.failed();
}

std::string formatSettingsFile(const Settings& settings) {
    std::string out;
    auto line = [&out](const std::string& text) { appendFileLine(out, text); };
    line(settings.defaultUser);
    line(settings.defaultPassword);
    line(formatPrintNumber(settings.cameraZ));
    line(formatPrintNumber(settings.cameraY));
    line(formatPrintNumber(settings.cameraX));
    line(formatPrintNumber(settings.backgroundColor));
    line(std::string(settings.nodeLabelMode.text()));
    line(formatPrintNumber(std::int32_t{settings.showPasswords ? 1 : 0}));
    line(settings.wmiNamespace);
    return out;
}

bool saveSettings(const ProgramState& state) {
    if (state.domain.unreadableFiles.settings) return false;
    return writeFileAtomically(state.folder.settingsFile(), formatSettingsFile(state.domain.settings), 0600);
}

}  // namespace vantrel
