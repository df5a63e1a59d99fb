#include "store/hardware_components.h"

#include <array>
#include <cstdio>
#include <map>
#include <sstream>

#include "collect/catalogue.h"
#include "collect/collectors.h"
#include "collect/text_case.h"
#include "core/text_file.h"
#include "wbem/ascii.h"

namespace vantrel {

namespace {

// How one report category is read from the identity answers.
struct IdentityRule {
    std::string_view category;
    std::string_view wmiClass;
    std::string_view serial;                    // empty: none to match on
    std::array<std::string_view, 3> position;   // the fallback key, beside the model
    std::array<std::string_view, 5> details;    // compared for "changed"
    bool (*keep)(const wbem::TableRow&);
    std::string (*describe)(const wbem::TableRow&);  // the name people read
    std::string_view serialLabel = "serial";
};

std::string valueText(const wbem::TableRow& row, std::string_view name) {
    for (const auto& [property, value] : row.properties)
        if (wbem::equalsIgnoreCase(property, name)) return stripSpaces(value.toText().value_or(std::string()));
    return {};
}

// A size in bytes as people say it: binary units for memory, decimal for disks.
std::string sizeText(const std::string& bytesText, bool binary) {
    if (bytesText.empty() || bytesText.size() > 19 || bytesText.find_first_not_of("0123456789") != std::string::npos)
        return bytesText;
    const double bytes = std::stod(bytesText);
    const double giga = binary ? 1024.0 * 1024 * 1024 : 1e9;
    const double mega = binary ? 1024.0 * 1024 : 1e6;
    char text[32];
    if (bytes >= 1000 * giga) std::snprintf(text, sizeof text, "%.1f %s", bytes / (1000 * giga), binary ? "TiB" : "TB");
    else if (bytes >= giga) std::snprintf(text, sizeof text, "%.0f %s", bytes / giga, binary ? "GiB" : "GB");
    else std::snprintf(text, sizeof text, "%.0f %s", bytes / mega, binary ? "MiB" : "MB");
    std::string out = text;
    if (const auto point = out.find(".0 "); point != std::string::npos) out.erase(point, 2);
    return out;
}

// The non-empty parts, joined by spaces.
std::string joined(std::initializer_list<std::string> parts) {
    std::string out;
    for (const auto& p : parts)
        if (!p.empty()) out += (out.empty() ? "" : " ") + p;
    return out;
}

std::string describeBoard(const wbem::TableRow& r) { return joined({valueText(r, "Manufacturer"), valueText(r, "Product")}); }
std::string describeBios(const wbem::TableRow& r) {
    const std::string version = valueText(r, "SMBIOSBIOSVersion");
    return joined({valueText(r, "Manufacturer"), valueText(r, "Name"), version.empty() ? "" : "version " + version});
}
std::string describeDisk(const wbem::TableRow& r) {
    return joined({valueText(r, "Model"), sizeText(valueText(r, "Size"), false)});
}
std::string describeModule(const wbem::TableRow& r) {
    const std::string slot = valueText(r, "DeviceLocator");
    return joined({slot.empty() ? "" : slot + ":", sizeText(valueText(r, "Capacity"), true), valueText(r, "Manufacturer"),
                   valueText(r, "PartNumber")});
}
std::string describeVideo(const wbem::TableRow& r) {
    return joined({valueText(r, "Description"), sizeText(valueText(r, "AdapterRAM"), true)});
}
std::string describeProcessor(const wbem::TableRow& r) {
    const std::string cores = valueText(r, "NumberOfCores");
    return joined({valueText(r, "Name"), cores.empty() ? "" : "(" + cores + " cores)"});
}
std::string describeAdapter(const wbem::TableRow& r) { return valueText(r, "Name"); }
std::string describeEnclosure(const wbem::TableRow& r) {
    return joined({valueText(r, "Manufacturer"), "case"});
}

bool everyRow(const wbem::TableRow&) { return true; }
bool installedModule(const wbem::TableRow& row) { return valueText(row, "FormFactor") != "0"; }
bool internalDisk(const wbem::TableRow& row) {
    const std::string type = valueText(row, "InterfaceType");
    return type == "IDE" || type == "SATA" || type == "SCSI";
}
bool wiredCard(const wbem::TableRow& row) {
    const std::string name = valueText(row, "Name");
    return valueText(row, "AdapterType").find("Ethernet") != std::string::npos &&
           !isVirtualAdapter(name, valueText(row, "Manufacturer")) && !isWirelessAdapter(name);
}

const std::array<IdentityRule, 8> kIdentityRules{{
    {"Baseboard", "Win32_BaseBoard", "SerialNumber", {"Manufacturer", "Product"}, {"Manufacturer", "Product", "Version"},
     everyRow, describeBoard},
    {"BIOS", "Win32_BIOS", "", {"Manufacturer"}, {"Manufacturer", "Name", "SMBIOSBIOSVersion", "SerialNumber"}, everyRow,
     describeBios},
    {"Disk Drive", "Win32_DiskDrive", "SerialNumber", {"Model", "Index"}, {"Model", "Size", "InterfaceType"},
     internalDisk, describeDisk},
    {"Memory", "Win32_PhysicalMemory", "SerialNumber", {"BankLabel", "DeviceLocator", "PartNumber"},
     {"DeviceLocator", "Capacity", "PartNumber", "Manufacturer", "BankLabel"}, installedModule, describeModule},
    {"Video", "Win32_VideoController", "", {"Description", "PNPDeviceID"}, {"Description", "AdapterRAM", "DriverVersion"},
     everyRow, describeVideo},
    {"CPU", "Win32_Processor", "", {"DeviceID", "Name"}, {"Name", "NumberOfCores"}, everyRow, describeProcessor},
    {"Ethernet", "Win32_NetworkAdapter", "MACAddress", {"Name"}, {"Name", "MACAddress", "Manufacturer"}, wiredCard,
     describeAdapter, "MAC"},
    {"Enclosure", "Win32_SystemEnclosure", "SerialNumber", {"Manufacturer"}, {"Manufacturer", "SMBIOSAssetTag"},
     everyRow, describeEnclosure},
}};

const IdentityRule* ruleFor(std::string_view category) {
    for (const auto& rule : kIdentityRules)
        if (rule.category == category) return &rule;
    return nullptr;
}

// Two parts alike in every key property keep apart by their order.
class KeyCounter {
public:
    std::string unique(std::string key) {
        const int n = ++seen_[key];
        return n == 1 ? key : key + " #" + std::to_string(n);
    }

private:
    std::map<std::string, int> seen_;
};

void addFromAnswers(const IdentityRule& rule, const AnsweredClass& answered, std::vector<Component>& out) {
    KeyCounter keys;
    for (const auto& row : answered.rows) {
        if (!rule.keep(row)) continue;
        Component part;
        part.category = std::string(rule.category);
        const std::string serial = rule.serial.empty() ? std::string() : valueText(row, rule.serial);
        std::string key;
        if (isRealSerial(serial)) {
            key = "serial " + serial;
        } else {
            for (auto property : rule.position)
                if (!property.empty()) key += std::string(key.empty() ? "" : " | ") + valueText(row, property);
        }
        part.key = keys.unique(std::move(key));
        for (auto property : rule.details)
            if (!property.empty()) part.details.emplace_back(std::string(property), valueText(row, property));
        part.name = rule.describe(row);
        if (isRealSerial(serial)) part.name = joined({part.name, "(" + std::string(rule.serialLabel) + " " + serial + ")"});
        if (part.name.empty()) part.name = part.key;
        out.push_back(std::move(part));
    }
}

// The report's lines, one by one, spaces removed as the loader removes them.
std::vector<std::string> reportLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(stripSpaces(line));
        start = end + 1;
    }
    return lines;
}

// Adds the entries of the report's sections; `skip` says which come from answers.
void addFromReport(const std::string& reportText, const std::function<bool(std::string_view)>& skip,
                   std::vector<Component>& out) {
    const std::vector<std::string> lines = reportLines(reportText);
    std::size_t at = 0;
    for (const auto& category : kCatalogue) {
        // A missing section is skipped; a malformed one ends the reading.
        if (at + 1 >= lines.size()) return;
        if (lines[at] != category.keyword) continue;
        const std::string& countLine = lines[at + 1];
        if (countLine.empty() || countLine.size() > 5 || countLine.find_first_not_of("0123456789") != std::string::npos)
            return;
        const std::size_t count = std::stoul(countLine);
        const auto perEntry = static_cast<std::size_t>(category.linesPerEntry);
        at += 2;
        if (count * perEntry > lines.size() - at) return;
        KeyCounter keys;
        for (std::size_t i = 0; i < count; ++i, at += perEntry) {
            if (skip(category.keyword)) continue;
            Component part;
            part.category = std::string(category.keyword);
            for (std::size_t l = 0; l < perEntry; ++l)
                part.name += (l == 0 ? "" : " / ") + lines[at + l];
            part.key = keys.unique(part.name);
            out.push_back(std::move(part));
        }
    }
}

}  // namespace

bool isRealSerial(std::string_view serial) {
    const std::string s = lowerCase(stripSpaces(serial));
    if (s.empty() || s.find_first_not_of("0") == std::string::npos) return false;
    for (std::string_view placeholder : {"to be filled by o.e.m.", "default string", "not specified", "none", "n/a",
                                         "unknown", "system serial number", "0x00000000", "serial", "123456789"})
        if (s == placeholder) return false;
    return true;
}

std::vector<Component> scanComponents(const std::string& reportText, const ScanAnswers& answers, bool useAnswers) {
    std::vector<Component> parts;
    auto fromAnswers = [&](std::string_view category) -> const AnsweredClass* {
        if (!useAnswers) return nullptr;
        const IdentityRule* rule = ruleFor(category);
        return rule ? answers.find(rule->wmiClass) : nullptr;
    };
    addFromReport(reportText, [&](std::string_view category) { return fromAnswers(category) != nullptr; }, parts);
    for (const auto& category : kCatalogue) {
        if (const AnsweredClass* answered = fromAnswers(category.keyword))
            addFromAnswers(*ruleFor(category.keyword), *answered, parts);
    }
    return parts;
}

}  // namespace vantrel
