// USB hubs from /sys/bus/usb/devices (device class 09), with the captions
// the management interface gives root hubs and the hubs behind them.

#include <cstdlib>

#include "providers/linux/class_families.h"
#include "providers/linux/property_mapping.h"

namespace vantrel::linuxhost {

namespace {

using C = Conversion;

constexpr PropertyMapping kMappings[] = {
    {"Win32_USBHub", "Caption", "caption", C::Text},
    {"Win32_USBHub", "Name", "caption", C::Text},
    {"Win32_USBHub", "Description", "caption", C::Text},
    {"Win32_USBHub", "DeviceID", "device", C::Text},
};

constexpr std::string_view kHubClass = "09";
constexpr long kSuperSpeedMbps = 5000;

std::string caption(bool rootHub, long speedMbps) {
    const bool super = speedMbps >= kSuperSpeedMbps;
    if (rootHub) return super ? "USB Root Hub (USB 3.0)" : "USB Root Hub";
    return super ? "Generic SuperSpeed USB Hub" : "Generic USB Hub";
}

}  // namespace

wbem::Table readUsbClass(const MachineSources& sources, std::string_view className) {
    if (className != "Win32_USBHub") return {};
    std::vector<SourceRecord> records;
    for (const std::string& device : sources.root.list("/sys/bus/usb/devices")) {
        // Interfaces ("1-1:1.0") are not devices.
        if (device.find(':') != std::string::npos) continue;
        const std::string base = "/sys/bus/usb/devices/" + device;
        if (sources.root.readValue(base + "/bDeviceClass") != kHubClass) continue;
        const long speed = std::strtol(sources.root.readValue(base + "/speed").value_or("0").c_str(), nullptr, 10);
        SourceRecord record;
        record.set("caption", caption(device.rfind("usb", 0) == 0, speed));
        record.set("device", device);
        records.push_back(std::move(record));
    }
    return mapRecords(kMappings, className, records);
}

}  // namespace vantrel::linuxhost
