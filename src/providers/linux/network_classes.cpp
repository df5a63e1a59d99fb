// Network adapters from /sys/class/net: the interfaces with a device behind
// them (loopback, bridges and tunnels have none). Wired and wireless
// Ethernet both report "Ethernet 802.3", as the management interface does.

#include "providers/linux/class_families.h"
#include "providers/linux/property_mapping.h"

namespace vantrel::linuxhost {

namespace {

using C = Conversion;

constexpr PropertyMapping kMappings[] = {
    {"Win32_NetworkAdapter", "AdapterType", "adapter type", C::Text},
    {"Win32_NetworkAdapter", "Name", "name", C::Text},
    {"Win32_NetworkAdapter", "Manufacturer", "vendor", C::Text},
    {"Win32_NetworkAdapter", "MACAddress", "sysfs address", C::Text},
    {"Win32_NetworkAdapter", "NetConnectionID", "interface", C::Text},
    {"Win32_NetworkAdapter", "PhysicalAdapter", "physical", C::Boolean},

    {"Win32_NetworkAdapterConfiguration", "Description", "name", C::Text},
    {"Win32_NetworkAdapterConfiguration", "MACAddress", "sysfs address", C::Text},
};

constexpr std::string_view kArpEthernet = "1";

std::vector<SourceRecord> adapters(const MachineSources& sources) {
    std::vector<SourceRecord> records;
    for (const std::string& interface : sources.root.list("/sys/class/net")) {
        const std::string base = "/sys/class/net/" + interface;
        const auto device = sources.root.resolve(base + "/device");
        if (!device) continue;
        SourceRecord record;
        record.set("interface", interface);
        // A device behind it, virtio and other paravirtual ones included: the
        // adapter of this machine, not one the system made up.
        record.set("physical", "true");
        if (sources.root.readValue(base + "/type") == kArpEthernet) record.set("adapter type", "Ethernet 802.3");
        const auto index = sources.root.readValue(base + "/ifindex");
        HardwareName name = deviceName(sources, *device, index ? "n" + *index : std::string());
        record.set("name", name.model.empty() ? interface : joinedName(name));
        if (!name.vendor.empty()) record.set("vendor", name.vendor);
        if (auto address = sources.root.readValue(base + "/address")) record.set("sysfs address", *address);
        records.push_back(std::move(record));
    }
    return records;
}

}  // namespace

wbem::Table readNetworkClass(const MachineSources& sources, std::string_view className) {
    if (className != "Win32_NetworkAdapter" && className != "Win32_NetworkAdapterConfiguration") return {};
    return mapRecords(kMappings, className, adapters(sources));
}

}  // namespace vantrel::linuxhost
