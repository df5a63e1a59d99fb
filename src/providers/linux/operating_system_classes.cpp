// The operating system from os-release (/etc/os-release, else
// /usr/lib/os-release): its PRETTY_NAME is the caption a user knows it by.

#include "providers/linux/class_families.h"
#include "providers/linux/property_mapping.h"

namespace vantrel::linuxhost {

namespace {

using C = Conversion;

constexpr PropertyMapping kMappings[] = {
    {"Win32_OperatingSystem", "Caption", "os-release PRETTY_NAME", C::Text},
    {"Win32_OperatingSystem", "Caption", "os-release NAME", C::Text},
    {"Win32_OperatingSystem", "Version", "os-release VERSION_ID", C::Text},
    {"Win32_OperatingSystem", "Manufacturer", "os-release NAME", C::Text},
    {"Win32_OperatingSystem", "BuildNumber", "kernel release", C::Text},
};

// KEY=value or KEY="value" with shell-style escapes of \", \\, \$ and \`.
std::string unquoted(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
        const char quote = value.front();
        value = value.substr(1, value.size() - 2);
        std::string out;
        for (std::size_t i = 0; i < value.size(); ++i) {
            if (quote == '"' && value[i] == '\\' && i + 1 < value.size()) ++i;
            out += value[i];
        }
        return out;
    }
    return std::string(value);
}

}  // namespace

SourceRecord parseOsRelease(std::string_view text) {
    SourceRecord record;
    while (!text.empty()) {
        const auto eol = text.find('\n');
        const std::string line = trimmed(text.substr(0, eol));
        text = eol == std::string_view::npos ? std::string_view() : text.substr(eol + 1);
        if (line.empty() || line[0] == '#') continue;
        const auto eq = line.find('=');
        if (eq == std::string::npos || eq == 0) continue;
        std::string value = unquoted(std::string_view(line).substr(eq + 1));
        if (!value.empty() && isCleanText(value)) record.set("os-release " + line.substr(0, eq), std::move(value));
    }
    return record;
}

wbem::Table readOperatingSystemClass(const MachineSources& sources, std::string_view className) {
    if (className != "Win32_OperatingSystem") return {};
    auto text = sources.root.readFile("/etc/os-release");
    if (!text) text = sources.root.readFile("/usr/lib/os-release");
    SourceRecord record = parseOsRelease(text.value_or(""));
    if (auto release = sources.root.readValue("/proc/sys/kernel/osrelease")) record.set("kernel release", *release);
    // Linux is running even when no os-release tells its distribution.
    if (!record.get("os-release PRETTY_NAME") && !record.get("os-release NAME")) record.set("os-release NAME", "Linux");
    return mapRecords(kMappings, className, {record});
}

}  // namespace vantrel::linuxhost
