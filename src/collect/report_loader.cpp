#include "collect/report_loader.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

#include "collect/catalogue.h"
#include "core/command.h"
#include "core/text_file.h"

namespace vantrel {

std::optional<int> parseCount(std::string_view line) {
    // The longest prefix of the form [+-]digits[.digits][e[+-]digits].
    std::size_t i = 0;
    if (i < line.size() && (line[i] == '+' || line[i] == '-')) ++i;
    const std::size_t numberStart = i;
    std::size_t digits = 0;
    while (i < line.size() && line[i] >= '0' && line[i] <= '9') ++i, ++digits;
    if (i < line.size() && line[i] == '.') {
        ++i;
        while (i < line.size() && line[i] >= '0' && line[i] <= '9') ++i, ++digits;
    }
    if (digits == 0) return 0;
    if (i < line.size() && (line[i] == 'e' || line[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < line.size() && (line[j] == '+' || line[j] == '-')) ++j;
        const std::size_t expStart = j;
        while (j < line.size() && line[j] >= '0' && line[j] <= '9') ++j;
        if (j > expStart) i = j;
    }
    double value = 0;
    const auto [end, ec] = std::from_chars(line.data() + numberStart, line.data() + i, value);
    constexpr int kLowest = std::numeric_limits<std::int16_t>::min();
    const bool negative = line[0] == '-';
    if (ec == std::errc::result_out_of_range) {
        // Too small to tell from 0, or far beyond 16 bits.
        const bool tiny = line.substr(numberStart, i - numberStart).find("e-") != std::string_view::npos ||
                          line.substr(numberStart, i - numberStart).find("E-") != std::string_view::npos;
        if (tiny) return 0;
        return negative ? std::optional<int>(kLowest) : std::nullopt;
    }
    if (ec != std::errc() || end != line.data() + i) return 0;
    if (negative) value = -value;
    const double rounded = std::nearbyint(value);  // the default mode rounds halves to even
    if (!(rounded <= std::numeric_limits<std::int16_t>::max())) return std::nullopt;
    // Only a count above the 16-bit range ends a load; any count of 0 or
    // less is an empty section, however far below 0 it is.
    if (rounded < kLowest) return kLowest;
    return static_cast<int>(rounded);
}

namespace {

class SectionReader {
public:
    explicit SectionReader(const std::filesystem::path& file) : in_(file, kMaxTextFileBytes, OtherBytes::Taken) {}
    bool isOpen() const { return in_.isOpen(); }
    // The next line without its surrounding spaces; nothing at the end.
    std::optional<std::string> next() {
        auto line = in_.readLine();
        if (!line) return std::nullopt;
        return stripSpaces(*line);
    }

private:
    TextLineReader in_;
};

// Puts entry i (from 1) where the category's placement says; false when a
// row-placed entry has no element left.
bool placeEntry(NodeReport& report, const HardwareCategory& category, int i, std::array<std::string, 3>& lines) {
    auto& table = report.ReportTable;
    const bool second = category.linesPerEntry >= 2;
    const bool third = category.linesPerEntry >= 3;
    const auto at = static_cast<std::size_t>(i);
    switch (category.placement) {
        case Placement::Slot:
            if (i - 1 < category.slotLimit) {
                table[at - 1][1] = std::move(lines[0]);
                if (second) table[10 + at - 1][1] = std::move(lines[1]);
            }
            return true;
        case Placement::Row:
            if (i >= NodeReport::kElements) return false;
            report.RowCursor = static_cast<std::int16_t>(i);
            table[0][at] = std::move(lines[0]);
            if (second) table[10][at] = std::move(lines[1]);
            if (third) table[20][at] = std::move(lines[2]);
            return true;
        case Placement::LastEntry:
            table[0][1] = std::move(lines[0]);
            if (second) table[10][1] = std::move(lines[1]);
            return true;
    }
    return true;
}

}  // namespace

LoadEnd loadReportFile(const std::filesystem::path& file, NodeReport& report, const BuilderTable& builders) {
    SectionReader in(file);
    if (!in.isOpen()) return LoadEnd::NoFile;
    for (const auto& category : kCatalogue) {
        report.RowCursor = 0;
        report.LastEntry = 0;
        auto keyword = in.next();
        if (!keyword) return LoadEnd::EndedEarly;
        if (*keyword != category.keyword) continue;  // the line is used up; the section is skipped
        auto countLine = in.next();
        if (!countLine) return LoadEnd::EndedEarly;
        const auto count = parseCount(*countLine);
        if (!count) return LoadEnd::CountOutOfRange;
        const int n = *count;
        std::array<std::string, 3> lines;
        for (int i = 1; i <= n; ++i) {
            for (int l = 0; l < category.linesPerEntry; ++l) {
                auto line = in.next();
                if (!line) return LoadEnd::EndedEarly;
                lines[static_cast<std::size_t>(l)] = std::move(*line);
            }
            if (!placeEntry(report, category, i, lines)) return LoadEnd::TooManyRows;
        }
        report.LastEntry = static_cast<std::int16_t>(n >= 1 ? n - 1 : -1);
        report.RowCursor = category.placement == Placement::Row ? report.LastEntry : std::int16_t{-1};
        for (int b = 0; b < category.builderCount; ++b) {
            const ReportBuilder& builder = builders.get(category.builders[static_cast<std::size_t>(b)]);
            if (!builder) continue;
            if (!attempt([&] { builder(report); })) return LoadEnd::BuilderFailed;
        }
    }
    return LoadEnd::Complete;
}

std::optional<std::string> reportFileProblem(const std::filesystem::path& file) {
    TextLineReader in(file, kMaxTextFileBytes, OtherBytes::Taken);
    const auto first = in.readLine();
    if (in.failed()) return "cannot read the report " + file.string() + " (it " + in.problem() + ")";
    if (!in.isOpen()) return "cannot read the report " + file.string();
    if (!first || stripSpaces(*first) != kCatalogue.front().keyword) return file.string() + " is not a report file";
    return std::nullopt;
}

LoadEnd LoadReport(const ProgramState& state, HardwareSession& session) {
    // A session bound to one report file reads it back from there too.
    if (!session.reportFileOverride.empty())
        return loadReportFile(session.reportFileOverride, session.report, session.builders);
    const int i = state.domain.nodes.currentNode;
    if (!state.domain.nodes.isNode(i)) return LoadEnd::NoFile;
    const auto file = state.folder.reportFile(state.domain.nodes.node(i).name);
    if (!file) return LoadEnd::NoFile;
    return loadReportFile(*file, session.report, session.builders);
}

}  // namespace vantrel
