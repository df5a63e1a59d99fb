#include "providers/linux/linux_provider.h"

#include "providers/linux/class_families.h"
#include "wbem/provider_router.h"
#include "wbem/wbem_error.h"
#include "wbem/wql.h"

namespace vantrel::linuxhost {

namespace {

struct LinuxClass {
    std::string_view name;
    ClassReader read;  // nullptr: Linux has no source for it
};

constexpr LinuxClass kClasses[] = {
    {"Win32_BaseBoard", readFirmwareClass},
    {"Win32_Battery", readPowerClass},
    {"Win32_Bios", readFirmwareClass},
    {"Win32_DiskDrive", readStorageClass},
    {"Win32_Fan", readSensorClass},
    {"Win32_HeatPipe", nullptr},
    {"Win32_InfraredDevice", readInputClass},
    {"Win32_MotherboardDevice", readFirmwareClass},
    {"Win32_ParallelPort", readPortClass},
    {"Win32_SystemSlot", readFirmwareClass},
    {"Win32_PCMCIAController", readControllerClass},
    {"Win32_PointingDevice", readInputClass},
    {"Win32_Refrigeration", nullptr},
    {"Win32_SCSIController", readControllerClass},
    {"Win32_SerialPort", readPortClass},
    {"Win32_SoundDevice", readControllerClass},
    {"Win32_PhysicalMemory", readFirmwareClass},
    {"Win32_TapeDrive", readStorageClass},
    {"Win32_TemperatureProbe", readSensorClass},
    {"Win32_VideoController", readControllerClass},
    {"Win32_CDROMDrive", readStorageClass},
    {"Win32_ComputerSystem", readProcessorClass},
    {"Win32_Processor", readProcessorClass},
    {"Win32_FloppyDrive", readStorageClass},
    {"Win32_OperatingSystem", readOperatingSystemClass},
    {"Win32_Keyboard", readInputClass},
    {"Win32_USBHub", readUsbClass},
    {"Win32_NetworkAdapter", readNetworkClass},
    {"Win32_1394Controller", readControllerClass},
    {"Win32_PortConnector", readFirmwareClass},
    {"Win32_SystemEnclosure", readFirmwareClass},
    {"Win32_PortableBattery", readPowerClass},
    {"Win32_NetworkAdapterConfiguration", readNetworkClass},
};

constexpr std::string_view kNamespace = "root\\cimv2";

class LinuxSource : public wbem::TableSource {
public:
    LinuxSource(std::filesystem::path root, std::shared_ptr<const HardwareNames> names)
        : root_(std::move(root)), names_(std::move(names)) {}

    std::shared_ptr<const wbem::Table> table(const wbem::WqlSelect& select) override {
        return readLinuxClass(root_, names_, select.className);
    }

private:
    std::filesystem::path root_;
    std::shared_ptr<const HardwareNames> names_;
};

}  // namespace

LinuxProvider::LinuxProvider(std::filesystem::path root, std::shared_ptr<const HardwareNames> names)
    : root_(std::move(root)), names_(std::move(names)) {}

std::unique_ptr<wbem::Services> LinuxProvider::connect(const wbem::ConnectRequest& request) {
    if (!wbem::isThisComputer(request.server))
        throw wbem::WbemError(wbem::ErrorCode::Failed,
                              "This computer's provider cannot answer for " + request.server);
    if (!wbem::sameNamespace(request.nameSpace, kNamespace))
        throw wbem::WbemError(wbem::ErrorCode::InvalidNamespace, "Invalid namespace: " + request.nameSpace);
    return std::make_unique<wbem::TableServices>(std::make_shared<LinuxSource>(root_, names_));
}

const std::vector<std::string_view>& linuxClassNames() {
    static const std::vector<std::string_view> names = [] {
        std::vector<std::string_view> out;
        for (const auto& c : kClasses) out.push_back(c.name);
        return out;
    }();
    return names;
}

std::shared_ptr<const wbem::Table> readLinuxClass(const std::filesystem::path& root,
                                                  std::shared_ptr<const HardwareNames> names,
                                                  std::string_view className) {
    return readLinuxClass(SourceRoot(root), std::move(names), className);
}

std::shared_ptr<const wbem::Table> readLinuxClass(const SourceRoot& root, std::shared_ptr<const HardwareNames> names,
                                                  std::string_view className) {
    const LinuxClass* cls = wbem::findIgnoringCase(kClasses, className, [](const LinuxClass& c) { return c.name; });
    if (!cls) return nullptr;
    if (!cls->read) return std::make_shared<const wbem::Table>();
    const MachineSources sources{root, std::move(names)};
    return std::make_shared<const wbem::Table>(cls->read(sources, cls->name));
}

}  // namespace vantrel::linuxhost
