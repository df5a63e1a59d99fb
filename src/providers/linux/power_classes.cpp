// Batteries from /sys/class/power_supply. A system battery (a laptop's) is
// both a battery and a portable battery to the management interface; a UPS
// is a battery only. Batteries of peripherals (scope "Device": mice,
// headsets) power nothing of this computer and are left out.

#include "providers/linux/class_families.h"
#include "providers/linux/property_mapping.h"

namespace vantrel::linuxhost {

namespace {

using C = Conversion;

constexpr PropertyMapping kMappings[] = {
    {"Win32_Battery", "Description", "battery description", C::Text},
    {"Win32_Battery", "Name", "sysfs model_name", C::Text},
    {"Win32_Battery", "DeviceID", "supply", C::Text},
    {"Win32_Battery", "EstimatedChargeRemaining", "sysfs capacity", C::Integer},

    {"Win32_PortableBattery", "Description", "fixed Portable Battery", C::Text},
    {"Win32_PortableBattery", "Name", "sysfs model_name", C::Text},
    {"Win32_PortableBattery", "Manufacturer", "sysfs manufacturer", C::Text},
    {"Win32_PortableBattery", "DeviceID", "supply", C::Text},
};

std::vector<SourceRecord> supplies(const SourceRoot& root, bool portableOnly) {
    std::vector<SourceRecord> records;
    for (const std::string& supply : root.list("/sys/class/power_supply")) {
        const std::string base = "/sys/class/power_supply/" + supply + "/";
        const auto type = root.readValue(base + "type");
        const bool battery = type == "Battery", ups = type == "UPS";
        if (!(battery || (ups && !portableOnly))) continue;
        if (root.readValue(base + "scope") == "Device") continue;
        SourceRecord record;
        record.set("supply", supply);
        for (const char* file : {"model_name", "manufacturer", "capacity"})
            if (auto value = root.readValue(base + file)) record.set(std::string("sysfs ") + file, *value);
        record.set("battery description", battery ? "Internal Battery" : "UPS Battery");
        record.set("fixed Portable Battery", "Portable Battery");
        records.push_back(std::move(record));
    }
    return records;
}

}  // namespace

wbem::Table readPowerClass(const MachineSources& sources, std::string_view className) {
    if (className == "Win32_Battery") return mapRecords(kMappings, className, supplies(sources.root, false));
    if (className == "Win32_PortableBattery") return mapRecords(kMappings, className, supplies(sources.root, true));
    return {};
}

}  // namespace vantrel::linuxhost
