#pragma once
// The properties that tell one piece of hardware from another (serial and
// part numbers, sizes, slots, versions, addresses). A collection asks them
// beside the report's own queries when its answers are kept; they never
// reach the report.

#include <array>
#include <string_view>

#include "collect/hardware_session.h"
#include "core/program_state.h"

namespace vantrel {

struct IdentityQuery {
    std::string_view wmiClass;
    std::string_view query;
};

inline constexpr std::array<IdentityQuery, 8> kIdentityQueries{{
    {"Win32_PhysicalMemory",
     "Select BankLabel,DeviceLocator,Capacity,PartNumber,SerialNumber,Manufacturer,FormFactor From Win32_PhysicalMemory"},
    {"Win32_DiskDrive", "Select Index,Model,Size,SerialNumber,InterfaceType From Win32_DiskDrive"},
    {"Win32_Processor", "Select DeviceID,Name,NumberOfCores From Win32_Processor"},
    {"Win32_BaseBoard", "Select Manufacturer,Product,SerialNumber,Version From Win32_BaseBoard"},
    {"Win32_BIOS", "Select Manufacturer,Name,SerialNumber,SMBIOSBIOSVersion From Win32_BIOS"},
    {"Win32_SystemEnclosure", "Select Manufacturer,SerialNumber,SMBIOSAssetTag From Win32_SystemEnclosure"},
    {"Win32_VideoController", "Select Description,AdapterRAM,DriverVersion,PNPDeviceID From Win32_VideoController"},
    {"Win32_NetworkAdapter", "Select Name,Manufacturer,AdapterType,MACAddress From Win32_NetworkAdapter"},
}};

// Asks every identity query into session.answers. The report is complete by
// now, so no failure of these queries may cost it: each is ignored.
void collectIdentityAnswers(const ProgramState& state, HardwareSession& session);

}  // namespace vantrel
