#include "collect/catalogue.h"

namespace vantrel {

namespace {
using B = BuilderId;
using P = Placement;
using R = CollectorRule;
constexpr int kSlots = 10;  // slot limit unless a category names its own

constexpr std::array<std::string_view, kBuilderCount> kBuilderNames{
    "build_baseboard", "build_battery", "build_bios", "build_diskdrive", "build_fan", "build_heatpipe",
    "build_infrared", "build_motherboard", "build_parallel", "build_pci", "build_pcmcia", "build_pointing",
    "build_refrigeration", "build_scsi", "build_serial", "build_sound", "build_systemmemory", "build_tape",
    "build_tempprobe", "build_video", "build_memcard", "build_cd", "build_cpu", "build_floppy", "build_os",
    "build_keyboard", "build_usb", "build_ethernet", "build_1394", "build_connectors", "build_enclosure",
    "build_lock", "build_pbattery", "build_wireless",
};
}  // namespace

const std::array<HardwareCategory, kCategoryCount> kCatalogue{{
    {1, "Baseboard", "Win32_BaseBoard", "Collecting motherboard information for ",
     "Select Manufacturer From Win32_BaseBoard", "", 1, {"Manufacturer"}, P::Slot, kSlots,
     {B::build_baseboard}, 1, R::Plain},
    {2, "Battery", "Win32_Battery", "Collecting battery (UPS) information for ",
     "Select Description From Win32_Battery", "", 1, {"Description"}, P::Slot, kSlots,
     {B::build_battery}, 1, R::Plain},
    {3, "BIOS", "Win32_Bios", "Collecting BIOS information for ",
     "Select Name,Manufacturer From Win32_Bios", "", 2, {"Name", "Manufacturer"}, P::Slot, kSlots,
     {B::build_bios}, 1, R::Plain},
    {4, "Disk Drive", "Win32_DiskDrive", "Collecting Disk Drive information for ",
     "Select InterfaceType, Model From Win32_DiskDrive", "", 2, {"InterfaceType", "Model"}, P::Slot, kSlots,
     {B::build_diskdrive}, 1, R::DiskDrive},
    {5, "Fan", "Win32_Fan", "Collecting Fan information for ",
     "Select Description From Win32_Fan", "", 1, {"Description"}, P::Slot, kSlots,
     {B::build_fan}, 1, R::Plain},
    {6, "Heat pipe", "Win32_HeatPipe", "Collecting Heat Pipe information for ",
     "Select Name From Win32_HeatPipe", "", 1, {"Name"}, P::Slot, kSlots,
     {B::build_heatpipe}, 1, R::Plain},
    {7, "Infra red", "Win32_InfraredDevice", "Collecting Infrared Device information for ",
     "Select Name From Win32_InfraredDevice", "", 1, {"Name"}, P::Slot, kSlots,
     {B::build_infrared}, 1, R::Plain},
    {8, "Motherboard", "Win32_MotherboardDevice", "Collecting Motherboard Device information for ",
     "Select Description From Win32_MotherboardDevice", "", 1, {"Description"}, P::Slot, kSlots,
     {B::build_motherboard}, 1, R::Motherboard},
    {9, "Parallel", "Win32_ParallelPort", "Collecting Parallel Port information for ",
     "Select Name,Status From Win32_ParallelPort", "", 2, {"Name", "Status"}, P::Slot, kSlots,
     {B::build_parallel}, 1, R::Plain},
    {10, "PCI", "Win32_SystemSlot", "Collecting System Slot information for ",
     "Select SlotDesignation, CurrentUsage From Win32_SystemSlot", "", 2, {"SlotDesignation", "CurrentUsage"},
     P::Slot, kSlots, {B::build_pci}, 1, R::Plain},
    {11, "pcmcia", "Win32_PCMCIAController", "Collecting PCMCIA Controller information for ",
     "Select Name From Win32_PCMCIAController", "", 1, {"Name"}, P::Slot, kSlots,
     {B::build_pcmcia}, 1, R::Plain},
    {12, "Pointing", "Win32_PointingDevice", "Collecting Pointing Device information for ",
     "Select HardwareType From Win32_PointingDevice", "", 1, {"HardwareType"}, P::Slot, kSlots,
     {B::build_pointing}, 1, R::Plain},
    {13, "Refrigeration", "Win32_Refrigeration", "Collecting Refrigeration information for ",
     "Select Name From Win32_Refrigeration", "", 1, {"Name"}, P::Slot, kSlots,
     {B::build_refrigeration}, 1, R::Plain},
    {14, "SCSI", "Win32_SCSIController", "Collecting SCSI Controller information for ",
     "Select Name From Win32_SCSIController", "", 1, {"Name"}, P::Slot, kSlots,
     {B::build_scsi}, 1, R::Plain},
    {15, "Serial", "Win32_SerialPort", "Collecting Serial Port information for ",
     "Select Name,Status From Win32_SerialPort", "", 2, {"Name", "Status"}, P::Slot, kSlots,
     {B::build_serial}, 1, R::Plain},
    {16, "Sound", "Win32_SoundDevice", "Collecting Sound Device information for ",
     "Select Name From Win32_SoundDevice", "", 1, {"Name"}, P::Slot, kSlots,
     {B::build_sound}, 1, R::Plain},
    {17, "Memory", "Win32_PhysicalMemory", "Collecting Physical Memory information for ",
     "Select FormFactor From Win32_PhysicalMemory", "", 1, {"FormFactor"}, P::Slot, kSlots,
     {B::build_systemmemory}, 1, R::Memory},
    {18, "Tape", "Win32_TapeDrive", "Collecting Tape Drive information for ",
     "Select Name From Win32_TapeDrive", "", 1, {"Name"}, P::Slot, kSlots,
     {B::build_tape}, 1, R::Plain},
    {19, "Temperature", "Win32_TemperatureProbe", "Collecting Temperature Probe information for ",
     "Select Description From Win32_TemperatureProbe", "", 1, {"Description"}, P::Slot, kSlots,
     {B::build_tempprobe}, 1, R::Plain},
    {20, "Video", "Win32_VideoController", "Collecting Video information for ",
     "Select Description From Win32_VideoController", "", 1, {"Description"}, P::Slot, kSlots,
     {B::build_video}, 1, R::Plain},
    {21, "Memory cards", "Win32_DiskDrive", "Collecting Memory Card information for ",
     "Select InterfaceType, Model From Win32_DiskDrive", "", 2, {"card kind", "Model"}, P::Row, 0,
     {B::build_memcard}, 1, R::MemoryCards},
    {22, "CD", "Win32_CDROMDrive", "Collecting Optical Drive information for ",
     "Select Drive, Name From Win32_CDROMDrive", "", 2, {"Drive", "Name"}, P::Slot, kSlots,
     {B::build_cd}, 1, R::Plain},
    {23, "CPU", "Win32_Processor", "Collecting Processor information for ",
     "Select NumberOfProcessors From Win32_ComputerSystem", "Select Manufacturer,Name From Win32_Processor", 1,
     {"Name"}, P::Slot, 1, {B::build_cpu}, 1, R::Cpu},
    {24, "Floppy", "Win32_FloppyDrive", "Collecting Floppy Disk Drive information for ",
     "Select Name From Win32_FloppyDrive", "", 1, {"Name"}, P::Slot, kSlots,
     {B::build_floppy}, 1, R::Plain},
    {25, "OS", "Win32_OperatingSystem", "Collecting Operating System information for ",
     "Select Caption From Win32_OperatingSystem", "", 1, {"Caption"}, P::Slot, kSlots,
     {B::build_os}, 1, R::Plain},
    {26, "Keyboard", "Win32_Keyboard", "Collecting Keyboard information for ",
     "Select Description From Win32_Keyboard", "", 1, {"Description"}, P::Slot, kSlots,
     {B::build_keyboard}, 1, R::Plain},
    {27, "USB", "Win32_USBHub", "Collecting USB information for ",
     "Select Caption From Win32_USBHub", "", 1, {"Caption"}, P::Slot, kSlots,
     {B::build_usb}, 1, R::Plain},
    {28, "Ethernet", "Win32_NetworkAdapter", "Collecting Ethernet information for ",
     "Select AdapterType, Name, Manufacturer From Win32_NetworkAdapter", "", 1, {"Name"}, P::Slot, kSlots,
     {B::build_ethernet}, 1, R::Ethernet},
    {29, "1394", "Win32_1394Controller", "Collecting 1394 Controller information for ",
     "Select Name From Win32_1394Controller", "", 1, {"Name"}, P::Slot, kSlots,
     {B::build_1394}, 1, R::Plain},
    {30, "Connectors", "Win32_PortConnector", "Collecting Port Connectors information for ",
     "Select ExternalReferenceDesignator, InternalReferenceDesignator, PortType From Win32_PortConnector", "", 3,
     {"ExternalReferenceDesignator", "InternalReferenceDesignator", "PortType"}, P::Row, 0,
     {B::build_connectors}, 1, R::Plain},
    {31, "Enclosure", "Win32_SystemEnclosure", "Collecting Enclosure information for ",
     "Select ChassisTypes, LockPresent From Win32_SystemEnclosure", "", 2, {"chassis line", "LockPresent"},
     P::LastEntry, 0, {B::build_enclosure, B::build_lock}, 2, R::Enclosure},
    {32, "PBattery", "Win32_PortableBattery", "Collecting Portable Battery information for ",
     "Select Description From Win32_PortableBattery", "", 1, {"Description"}, P::Slot, 2,
     {B::build_pbattery}, 1, R::Plain},
    {33, "Wireless", "Win32_NetworkAdapterConfiguration", "Collecting Wireless information for ",
     "Select Description From Win32_NetworkAdapterConfiguration", "", 1, {"Description"}, P::Row, 0,
     {B::build_wireless}, 1, R::Wireless},
}};

std::string_view builderName(BuilderId id) { return kBuilderNames.at(static_cast<std::size_t>(id)); }

const HardwareCategory* findCategory(std::string_view keyword) {
    for (const auto& c : kCatalogue)
        if (c.keyword == keyword) return &c;
    return nullptr;
}

}  // namespace vantrel
