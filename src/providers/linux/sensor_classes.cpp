// Fans and temperature probes from hwmon and the thermal framework. A probe
// is described by where it measures, so that a reader can tell the
// processor's from the board's: "CPU Thermal Probe (coretemp)".

#include "providers/linux/class_families.h"
#include "providers/linux/property_mapping.h"

namespace vantrel::linuxhost {

namespace {

using C = Conversion;

constexpr PropertyMapping kMappings[] = {
    {"Win32_Fan", "Description", "fixed Cooling Device", C::Text},
    {"Win32_Fan", "Name", "name", C::Text},

    {"Win32_TemperatureProbe", "Description", "description", C::Text},
    {"Win32_TemperatureProbe", "Name", "name", C::Text},
};

// Sensor chips and thermal zones by what they sit on.
constexpr std::string_view kCpuSensors[] = {"coretemp", "k10temp", "k8temp", "zenpower", "x86_pkg_temp",
                                            "cpu_thermal", "cpu-thermal", "cpu0_thermal", "soc_thermal"};
constexpr std::string_view kBoardSensors[] = {"acpitz", "pch_", "it87", "nct6", "w83627", "f71882fg"};

std::string probeDescription(std::string_view sensor) {
    for (auto cpu : kCpuSensors)
        if (sensor.substr(0, cpu.size()) == cpu) return "CPU Thermal Probe (" + std::string(sensor) + ")";
    for (auto board : kBoardSensors)
        if (sensor.substr(0, board.size()) == board) return "Motherboard Thermal Probe (" + std::string(sensor) + ")";
    return "Thermal Probe (" + std::string(sensor) + ")";
}

bool startsWithNumbered(std::string_view name, std::string_view prefix, std::string_view suffix) {
    if (name.size() <= prefix.size() + suffix.size() || name.substr(0, prefix.size()) != prefix ||
        name.substr(name.size() - suffix.size()) != suffix)
        return false;
    for (char c : name.substr(prefix.size(), name.size() - prefix.size() - suffix.size()))
        if (c < '0' || c > '9') return false;
    return true;
}

std::vector<SourceRecord> fans(const SourceRoot& root) {
    std::vector<SourceRecord> records;
    for (const std::string& hwmon : root.list("/sys/class/hwmon")) {
        const std::string base = "/sys/class/hwmon/" + hwmon + "/";
        const std::string chip = root.readValue(base + "name").value_or(hwmon);
        for (const std::string& file : root.list(base)) {
            if (!startsWithNumbered(file, "fan", "_input")) continue;
            const std::string fan = file.substr(0, file.size() - 6);
            SourceRecord record;
            record.set("name", root.readValue(base + fan + "_label").value_or(chip + " " + fan));
            record.set("fixed Cooling Device", "Cooling Device");
            records.push_back(std::move(record));
        }
    }
    for (const std::string& device : root.list("/sys/class/thermal")) {
        if (device.rfind("cooling_device", 0) != 0) continue;
        const auto type = root.readValue("/sys/class/thermal/" + device + "/type");
        if (type != "Fan") continue;
        SourceRecord record;
        record.set("name", "Fan (" + device + ")");
        record.set("fixed Cooling Device", "Cooling Device");
        records.push_back(std::move(record));
    }
    return records;
}

std::vector<SourceRecord> probes(const SourceRoot& root) {
    std::vector<SourceRecord> records;
    std::vector<std::string> zoneTypes;
    for (const std::string& zone : root.list("/sys/class/thermal")) {
        if (zone.rfind("thermal_zone", 0) != 0) continue;
        const auto type = root.readValue("/sys/class/thermal/" + zone + "/type");
        if (!type) continue;
        zoneTypes.push_back(*type);
        SourceRecord record;
        record.set("name", *type);
        record.set("description", probeDescription(*type));
        records.push_back(std::move(record));
    }
    for (const std::string& hwmon : root.list("/sys/class/hwmon")) {
        const std::string base = "/sys/class/hwmon/" + hwmon + "/";
        const auto chip = root.readValue(base + "name");
        if (!chip) continue;
        // A thermal zone also shows up as a hwmon chip of its type.
        bool isZone = false;
        for (const auto& t : zoneTypes) isZone = isZone || t == *chip;
        if (isZone) continue;
        bool hasTemperature = false;
        for (const std::string& file : root.list(base)) hasTemperature = hasTemperature || startsWithNumbered(file, "temp", "_input");
        if (!hasTemperature) continue;
        SourceRecord record;
        record.set("name", *chip);
        record.set("description", probeDescription(*chip));
        records.push_back(std::move(record));
    }
    return records;
}

}  // namespace

wbem::Table readSensorClass(const MachineSources& sources, std::string_view className) {
    if (className == "Win32_Fan") return mapRecords(kMappings, className, fans(sources.root));
    if (className == "Win32_TemperatureProbe") return mapRecords(kMappings, className, probes(sources.root));
    return {};
}

}  // namespace vantrel::linuxhost
