#pragma once
// Vendor and model names of devices by their modalias ("pci:v00008086d...",
// "usb:v046Dp..."), as udev's hardware database gives them. Behind an
// interface so that tests do not depend on the database this machine has.

#include <memory>
#include <string>
#include <string_view>

namespace vantrel::linuxhost {

struct HardwareName {
    std::string vendor;  // "Intel Corporation"
    std::string model;   // "Ethernet Connection (4) I219-LM"
};

class HardwareNames {
public:
    virtual ~HardwareNames() = default;
    // Empty texts for what the database does not know.
    virtual HardwareName lookup(std::string_view modalias) const = 0;
};

// udev's hardware database (libudev); knows nothing when the database is
// not installed.
std::shared_ptr<const HardwareNames> hardwareDatabaseNames();

}  // namespace vantrel::linuxhost
