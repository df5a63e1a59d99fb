// Classes the firmware describes: the SMBIOS table when it can be read (it
// needs root), else the world-readable /sys/class/dmi/id files for what they
// hold. Sources "smbios string 0xNN" and "smbios byte 0xNN" name a field of
// the class's structure by its offset; "dmi NAME" a file of /sys/class/dmi/id.

#include <charconv>

#include "providers/linux/class_families.h"
#include "providers/linux/property_mapping.h"
#include "providers/linux/smbios_source.h"

namespace vantrel::linuxhost {

namespace {

using C = Conversion;

constexpr PropertyMapping kMappings[] = {
    {"Win32_BaseBoard", "Manufacturer", "smbios string 0x04", C::Text},
    {"Win32_BaseBoard", "Manufacturer", "dmi board_vendor", C::Text},
    {"Win32_BaseBoard", "Product", "smbios string 0x05", C::Text},
    {"Win32_BaseBoard", "Product", "dmi board_name", C::Text},
    {"Win32_BaseBoard", "Version", "smbios string 0x06", C::Text},
    {"Win32_BaseBoard", "Version", "dmi board_version", C::Text},
    {"Win32_BaseBoard", "SerialNumber", "smbios string 0x07", C::Text},
    {"Win32_BaseBoard", "SerialNumber", "dmi board_serial", C::Text},

    {"Win32_Bios", "Name", "smbios string 0x05", C::Text},
    {"Win32_Bios", "Name", "dmi bios_version", C::Text},
    {"Win32_Bios", "Manufacturer", "smbios string 0x04", C::Text},
    {"Win32_Bios", "Manufacturer", "dmi bios_vendor", C::Text},
    {"Win32_Bios", "SMBIOSBIOSVersion", "smbios string 0x05", C::Text},
    {"Win32_Bios", "SMBIOSBIOSVersion", "dmi bios_version", C::Text},

    {"Win32_PhysicalMemory", "FormFactor", "smbios byte 0x0E", C::SmbiosMemoryFormFactor},
    {"Win32_PhysicalMemory", "DeviceLocator", "smbios string 0x10", C::Text},
    {"Win32_PhysicalMemory", "BankLabel", "smbios string 0x11", C::Text},
    {"Win32_PhysicalMemory", "Manufacturer", "smbios string 0x17", C::Text},
    {"Win32_PhysicalMemory", "PartNumber", "smbios string 0x1A", C::Text},
    {"Win32_PhysicalMemory", "Capacity", "meminfo bytes", C::Integer},

    {"Win32_SystemSlot", "SlotDesignation", "smbios string 0x04", C::Text},
    {"Win32_SystemSlot", "CurrentUsage", "smbios byte 0x07", C::Integer},

    {"Win32_PortConnector", "InternalReferenceDesignator", "smbios string 0x04", C::Text},
    {"Win32_PortConnector", "ExternalReferenceDesignator", "smbios string 0x06", C::Text},
    {"Win32_PortConnector", "PortType", "smbios byte 0x08", C::Integer},

    {"Win32_SystemEnclosure", "ChassisTypes", "smbios byte 0x05", C::SmbiosChassisType},
    {"Win32_SystemEnclosure", "ChassisTypes", "dmi chassis_type", C::IntegerArray},
    {"Win32_SystemEnclosure", "LockPresent", "smbios byte 0x05", C::SmbiosLockPresent},
    {"Win32_SystemEnclosure", "Manufacturer", "smbios string 0x04", C::Text},
    {"Win32_SystemEnclosure", "Manufacturer", "dmi chassis_vendor", C::Text},

    {"Win32_MotherboardDevice", "Description", "fixed Motherboard", C::Text},
};

struct FirmwareClass {
    std::string_view className;
    std::uint8_t smbiosType;
    // Files of /sys/class/dmi/id that alone make a row when the table is unreadable.
    bool dmiFallback;
};

constexpr FirmwareClass kClasses[] = {
    {"Win32_BaseBoard", 2, true},       {"Win32_Bios", 0, true},         {"Win32_PhysicalMemory", 17, false},
    {"Win32_SystemSlot", 9, false},     {"Win32_PortConnector", 8, false}, {"Win32_SystemEnclosure", 3, true},
    {"Win32_MotherboardDevice", 2, true},
};

constexpr std::uint16_t kNoModuleInstalled = 0;

// "smbios string 0x04" -> string, 0x04
bool parseSmbiosSource(std::string_view source, bool& isString, std::size_t& offset) {
    constexpr std::string_view kString = "smbios string 0x", kByte = "smbios byte 0x";
    std::string_view hex;
    if (source.substr(0, kString.size()) == kString) {
        isString = true;
        hex = source.substr(kString.size());
    } else if (source.substr(0, kByte.size()) == kByte) {
        isString = false;
        hex = source.substr(kByte.size());
    } else {
        return false;
    }
    const auto [end, ec] = std::from_chars(hex.data(), hex.data() + hex.size(), offset, 16);
    return ec == std::errc() && end == hex.data() + hex.size();
}

SourceRecord fromStructure(const SmbiosStructure& s, std::string_view className) {
    SourceRecord record;
    for (std::string_view source : sourcesFor(kMappings, className, "smbios ")) {
        bool isString = false;
        std::size_t offset = 0;
        if (!parseSmbiosSource(source, isString, offset)) continue;
        if (isString) {
            if (auto text = s.string(offset)) record.set(std::string(source), *text);
        } else if (auto b = s.byte(offset)) {
            record.set(std::string(source), std::to_string(*b));
        }
    }
    record.set("fixed Motherboard", "Motherboard");
    return record;
}

SourceRecord fromDmiFiles(const SourceRoot& root, std::string_view className) {
    // The motherboard is there when the files name a board.
    if (className == "Win32_MotherboardDevice") className = "Win32_BaseBoard";
    SourceRecord record;
    for (std::string_view source : sourcesFor(kMappings, className, "dmi ")) {
        const std::string file = "/sys/class/dmi/id/" + std::string(source.substr(4));
        if (auto value = root.readValue(file)) record.set(std::string(source), *value);
    }
    if (!record.empty()) record.set("fixed Motherboard", "Motherboard");
    return record;
}

// Without the SMBIOS table (read by root only) the modules are unknown, but
// the memory is there: one row of form factor "Other" for all of it.
std::optional<SourceRecord> totalMemory(const SourceRoot& root) {
    const auto meminfo = root.readFile("/proc/meminfo");
    if (!meminfo) return std::nullopt;
    constexpr std::string_view kKey = "MemTotal:";
    const auto at = meminfo->find(kKey);
    if (at == std::string::npos) return std::nullopt;
    std::size_t pos = at + kKey.size();
    while (pos < meminfo->size() && (*meminfo)[pos] == ' ') ++pos;
    std::uint64_t kib = 0;
    const auto [end, ec] = std::from_chars(meminfo->data() + pos, meminfo->data() + meminfo->size(), kib);
    if (ec != std::errc() || end == meminfo->data() + pos || kib == 0) return std::nullopt;
    SourceRecord record;
    record.set("smbios byte 0x0E", "1");  // Other
    record.set("smbios string 0x10", "All memory (modules unknown without the SMBIOS table)");
    record.set("meminfo bytes", std::to_string(kib * 1024));
    return record;
}

bool isInstalledModule(const SmbiosStructure& s) {
    const auto size = s.word(0x0C);
    return size && *size != kNoModuleInstalled;
}

}  // namespace

wbem::Table readFirmwareClass(const MachineSources& sources, std::string_view className) {
    const FirmwareClass* cls = nullptr;
    for (const auto& c : kClasses)
        if (c.className == className) cls = &c;
    if (!cls) return {};
    std::vector<SourceRecord> records;
    if (const auto table = readSmbios(sources.root)) {
        for (const SmbiosStructure* s : table->ofType(cls->smbiosType)) {
            if (cls->smbiosType == 17 && !isInstalledModule(*s)) continue;
            records.push_back(fromStructure(*s, className));
        }
        if (className == "Win32_MotherboardDevice" && records.size() > 1) records.resize(1);
    } else if (cls->dmiFallback) {
        SourceRecord record = fromDmiFiles(sources.root, className);
        if (!record.empty()) records.push_back(std::move(record));
    } else if (className == "Win32_PhysicalMemory") {
        if (auto record = totalMemory(sources.root)) records.push_back(std::move(*record));
    }
    return mapRecords(kMappings, className, records);
}

}  // namespace vantrel::linuxhost
