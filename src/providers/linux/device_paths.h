#pragma once
// Reading sysfs device paths ("/sys/devices/pci0000:00/0000:00:1f.6/...").

#include <optional>
#include <string>
#include <string_view>

namespace vantrel::linuxhost {

// The deepest PCI function folder the path passes through, if any.
std::optional<std::string> pciFunctionOf(std::string_view devicePath);
// The last component of a path ("0000:00:1f.6").
std::string lastComponent(std::string_view path);
// True for a PCI function name "DDDD:BB:DD.F".
bool isPciFunctionName(std::string_view name);

}  // namespace vantrel::linuxhost
