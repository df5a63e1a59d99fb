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

void tickLabelMode(SettingsDialogState& dialog, const std::string& mode) {
    if (mode == "IP") dialog.Check1 = 1;
    else if (mode == "NAME") dialog.Check2 = 1;
    else if (mode == "IPNAME") dialog.Check3 = 1;
}

}  // namespace

void readSettings(ProgramState& state) {
    // The reader fills controls of both dialogs, so it brings them to life.
    state.settingsDialog.created = true;
    state.adminDialog.created = true;

    TextLineReader reader(state.folder.settingsFile());
    for (int lineNo = 1; lineNo <= 9; ++lineNo) {
        auto line = reader.readLine();
        if (!line) return;
        const std::string text = stripSpaces(*line);
        switch (lineNo) {
            case 1: state.defaultUser = text; state.adminDialog.Text1 = text; break;
            case 2: state.defaultPassword = text; state.adminDialog.Text2 = text; break;
            case 3: state.CameraZ = toSingle(numericValue(text)); break;
            case 4: state.CameraY = toSingle(numericValue(text)); break;
            case 5: state.CameraX = toSingle(numericValue(text)); break;
            case 6: state.BackgroundColor = toColour(numericValue(text)); break;
            case 7: state.NodeLabelMode = text; tickLabelMode(state.settingsDialog, text); break;
            case 8: {
                std::string compact;
                for (char ch : text)
                    if (ch != ' ') compact.push_back(ch);
                if (compact == "1") state.settingsDialog.Check4 = 1;
                else if (compact == "0") state.settingsDialog.Check4 = 0;
                break;
            }
            case 9: state.WmiNamespace = text; state.settingsDialog.Text1 = text; break;
        }
    }
}

std::string formatSettingsFile(const ProgramState& state) {
    std::string out;
    auto line = [&out](const std::string& text) { appendFileLine(out, text); };
    line(state.defaultUser);
    line(state.defaultPassword);
    line(formatPrintNumber(state.CameraZ));
    line(formatPrintNumber(state.CameraY));
    line(formatPrintNumber(state.CameraX));
    line(formatPrintNumber(state.BackgroundColor));
    line(state.NodeLabelMode);
    line(formatPrintNumber(state.settingsDialog.Check4));
    line(state.WmiNamespace);
    return out;
}

bool saveini(const ProgramState& state) {
    return writeFileAtomically(state.folder.settingsFile(), formatSettingsFile(state), 0600);
}

}  // namespace vantrel
