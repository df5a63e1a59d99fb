#pragma once
// What every class family reads from: the source root and the names
// database, with the helpers they share for sysfs devices and udev records.

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "providers/linux/hardware_names.h"
#include "providers/linux/source_root.h"

namespace vantrel::linuxhost {

struct MachineSources {
    SourceRoot root;
    std::shared_ptr<const HardwareNames> names;  // may be null: no names
};

// One property of udev's record of a device (/run/udev/data/<id>, lines
// "E:KEY=value"); id is "b8:0" for a block device, "n2" for a network
// interface, "+pci:0000:00:1f.6" for others.
std::optional<std::string> udevProperty(const SourceRoot& root, std::string_view id, std::string_view key);

// The vendor and model of a device folder ("/sys/devices/.../0000:00:1f.6"):
// udev's record under the root first, then the names database by the
// device's modalias.
HardwareName deviceName(const MachineSources& sources, std::string_view deviceFolder, std::string_view udevId);

// "vendor model", or whichever of the two is known.
std::string joinedName(const HardwareName& name);

}  // namespace vantrel::linuxhost
