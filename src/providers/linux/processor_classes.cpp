// Processors from /proc/cpuinfo, one row per physical package with the maker
// and model name as the kernel reports them, and the computer system with
// the number of packages. Sources "cpuinfo KEY" are lines of the package's
// first logical processor.

#include "providers/linux/class_families.h"
#include "providers/linux/cpuinfo.h"
#include "providers/linux/property_mapping.h"

namespace vantrel::linuxhost {

namespace {

using C = Conversion;

constexpr PropertyMapping kMappings[] = {
    {"Win32_Processor", "Name", "cpuinfo model name", C::Text},
    {"Win32_Processor", "Name", "cpuinfo cpu model", C::Text},
    {"Win32_Processor", "Name", "cpuinfo cpu", C::Text},
    {"Win32_Processor", "Manufacturer", "cpuinfo vendor_id", C::Text},
    {"Win32_Processor", "NumberOfCores", "cpuinfo cpu cores", C::Integer},
    {"Win32_Processor", "NumberOfLogicalProcessors", "logical processors", C::Integer},
    {"Win32_Processor", "DeviceID", "device id", C::Text},

    {"Win32_ComputerSystem", "Name", "hostname", C::Text},
    {"Win32_ComputerSystem", "NumberOfProcessors", "packages", C::Integer},
    {"Win32_ComputerSystem", "Manufacturer", "dmi sys_vendor", C::Text},
    {"Win32_ComputerSystem", "Model", "dmi product_name", C::Text},
};

wbem::Table processors(const MachineSources& sources) {
    std::vector<SourceRecord> records;
    for (const auto& package : processorPackages(sources.root)) {
        SourceRecord record;
        for (const auto& [key, value] : package.logical.front()) record.set("cpuinfo " + key, value);
        record.set("logical processors", std::to_string(package.logical.size()));
        record.set("device id", "CPU" + std::to_string(records.size()));
        records.push_back(std::move(record));
    }
    return mapRecords(kMappings, "Win32_Processor", records);
}

wbem::Table computerSystem(const MachineSources& sources) {
    SourceRecord record;
    if (auto name = sources.root.readValue("/proc/sys/kernel/hostname"))
        record.set("hostname", *name);
    else if (auto etc = sources.root.readValue("/etc/hostname"))
        record.set("hostname", *etc);
    const auto packages = processorPackages(sources.root);
    if (!packages.empty()) record.set("packages", std::to_string(packages.size()));
    for (std::string_view source : sourcesFor(kMappings, "Win32_ComputerSystem", "dmi "))
        if (auto value = sources.root.readValue("/sys/class/dmi/id/" + std::string(source.substr(4))))
            record.set(std::string(source), *value);
    // There is always this one computer, whatever its files say.
    return mapRecords(kMappings, "Win32_ComputerSystem", {record});
}

}  // namespace

wbem::Table readProcessorClass(const MachineSources& sources, std::string_view className) {
    if (className == "Win32_Processor") return processors(sources);
    if (className == "Win32_ComputerSystem") return computerSystem(sources);
    return {};
}

}  // namespace vantrel::linuxhost
