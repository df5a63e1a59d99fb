// Controllers found on the PCI bus (/sys/bus/pci/devices) by their class
// code, named by udev's hardware database.

#include <cstdio>

#include "providers/linux/class_families.h"
#include "providers/linux/device_paths.h"
#include "providers/linux/property_mapping.h"

namespace vantrel::linuxhost {

namespace {

using C = Conversion;

constexpr PropertyMapping kMappings[] = {
    {"Win32_VideoController", "Description", "name", C::Text},
    {"Win32_VideoController", "Name", "name", C::Text},
    {"Win32_VideoController", "Caption", "name", C::Text},
    {"Win32_VideoController", "AdapterCompatibility", "vendor", C::Text},
    {"Win32_VideoController", "PNPDeviceID", "slot", C::Text},

    {"Win32_SoundDevice", "Name", "name", C::Text},
    {"Win32_SoundDevice", "Manufacturer", "vendor", C::Text},
    {"Win32_SoundDevice", "PNPDeviceID", "slot", C::Text},

    {"Win32_SCSIController", "Name", "name", C::Text},
    {"Win32_SCSIController", "Manufacturer", "vendor", C::Text},
    {"Win32_SCSIController", "PNPDeviceID", "slot", C::Text},

    {"Win32_1394Controller", "Name", "name", C::Text},
    {"Win32_1394Controller", "Manufacturer", "vendor", C::Text},
    {"Win32_1394Controller", "PNPDeviceID", "slot", C::Text},

    {"Win32_PCMCIAController", "Name", "name", C::Text},
    {"Win32_PCMCIAController", "Manufacturer", "vendor", C::Text},
    {"Win32_PCMCIAController", "PNPDeviceID", "slot", C::Text},
};

// Which PCI classes (base class and subclass, 0xBBSS) each controller class
// takes. SATA and IDE controllers are not SCSI controllers to the
// management interface; NVMe, SAS and RAID controllers are.
struct ClassCodes {
    std::string_view className;
    std::uint16_t codes[5];  // 0xBBSS; a 0 ends the list
    bool wholeBaseClass;     // match the base class BB whatever the subclass
};

constexpr ClassCodes kClassCodes[] = {
    {"Win32_VideoController", {0x0300}, true},
    {"Win32_SoundDevice", {0x0401, 0x0403}, false},
    {"Win32_SCSIController", {0x0100, 0x0104, 0x0107, 0x0108}, false},
    {"Win32_1394Controller", {0x0C00}, false},
    {"Win32_PCMCIAController", {0x0605, 0x0607}, false},
};

bool matches(const ClassCodes& wanted, unsigned classCode) {
    const unsigned baseAndSub = (classCode >> 8) & 0xFFFF;
    for (std::uint16_t code : wanted.codes) {
        if (code == 0) break;
        if (wanted.wholeBaseClass ? (baseAndSub >> 8) == (code >> 8u) : baseAndSub == code) return true;
    }
    return false;
}

std::string idsText(const SourceRoot& root, const std::string& path) {
    const auto vendor = root.readValue(path + "/vendor"), device = root.readValue(path + "/device");
    if (!vendor || !device) return "PCI device";
    auto strip = [](const std::string& s) { return s.rfind("0x", 0) == 0 ? s.substr(2) : s; };
    return "PCI device " + strip(*vendor) + ":" + strip(*device);
}

}  // namespace

wbem::Table readControllerClass(const MachineSources& sources, std::string_view className) {
    const ClassCodes* wanted = nullptr;
    for (const auto& c : kClassCodes)
        if (c.className == className) wanted = &c;
    if (!wanted) return {};
    std::vector<SourceRecord> records;
    for (const std::string& slot : sources.root.list("/sys/bus/pci/devices")) {
        if (!isPciFunctionName(slot)) continue;
        const auto path = sources.root.resolve("/sys/bus/pci/devices/" + slot);
        if (!path) continue;
        const auto classText = sources.root.readValue(*path + "/class");
        unsigned classCode = 0;
        if (!classText || std::sscanf(classText->c_str(), "%x", &classCode) != 1 || !matches(*wanted, classCode))
            continue;
        const HardwareName name = deviceName(sources, *path, "+pci:" + slot);
        SourceRecord record;
        record.set("name", name.model.empty() && name.vendor.empty() ? idsText(sources.root, *path) : joinedName(name));
        if (!name.vendor.empty()) record.set("vendor", name.vendor);
        record.set("slot", slot);
        records.push_back(std::move(record));
    }
    return mapRecords(kMappings, className, records);
}

}  // namespace vantrel::linuxhost
