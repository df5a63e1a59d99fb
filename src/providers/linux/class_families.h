#pragma once
// The class families of this computer, one file each. Every family is a pure
// function from the machine's sources to the rows of one of its classes; it
// answers no rows when its source is missing or unreadable.

#include <string_view>

#include "providers/linux/machine_sources.h"
#include "wbem/table_services.h"

namespace vantrel::linuxhost {

using ClassReader = wbem::Table (*)(const MachineSources& sources, std::string_view className);

// SMBIOS with /sys/class/dmi/id: Win32_BaseBoard, Win32_Bios,
// Win32_PhysicalMemory, Win32_SystemSlot, Win32_PortConnector,
// Win32_SystemEnclosure, Win32_MotherboardDevice.
wbem::Table readFirmwareClass(const MachineSources& sources, std::string_view className);
// /proc/cpuinfo, /sys/devices/system/cpu, hostname: Win32_Processor, Win32_ComputerSystem.
wbem::Table readProcessorClass(const MachineSources& sources, std::string_view className);
// /etc/os-release: Win32_OperatingSystem.
wbem::Table readOperatingSystemClass(const MachineSources& sources, std::string_view className);
// /sys/block, /sys/class/scsi_tape: Win32_DiskDrive, Win32_CDROMDrive,
// Win32_FloppyDrive, Win32_TapeDrive.
wbem::Table readStorageClass(const MachineSources& sources, std::string_view className);
// PCI functions by class: Win32_VideoController, Win32_SoundDevice,
// Win32_SCSIController, Win32_1394Controller, Win32_PCMCIAController.
wbem::Table readControllerClass(const MachineSources& sources, std::string_view className);
// /sys/class/net: Win32_NetworkAdapter, Win32_NetworkAdapterConfiguration.
wbem::Table readNetworkClass(const MachineSources& sources, std::string_view className);
// /sys/class/input, /sys/class/rc: Win32_Keyboard, Win32_PointingDevice, Win32_InfraredDevice.
wbem::Table readInputClass(const MachineSources& sources, std::string_view className);
// /sys/bus/usb: Win32_USBHub.
wbem::Table readUsbClass(const MachineSources& sources, std::string_view className);
// /sys/class/tty, parport: Win32_SerialPort, Win32_ParallelPort.
wbem::Table readPortClass(const MachineSources& sources, std::string_view className);
// hwmon and thermal: Win32_Fan, Win32_TemperatureProbe.
wbem::Table readSensorClass(const MachineSources& sources, std::string_view className);
// /sys/class/power_supply: Win32_Battery, Win32_PortableBattery.
wbem::Table readPowerClass(const MachineSources& sources, std::string_view className);

// os-release's KEY=value lines as "os-release KEY" fields.
class SourceRecord;
SourceRecord parseOsRelease(std::string_view text);

}  // namespace vantrel::linuxhost
