// The provider on a recorded /proc and /sys of a real machine (a Dell
// server's DMI files, a laptop's battery and network card, a tape drive),
// unpacked from the shared text archive.

#include <gtest/gtest.h>

#include <fstream>

#include "provider_rows.h"
#include "source_tree.h"

using namespace vantrel::linuxhost;
using namespace vantrel::linuxhost::testing;

namespace {

struct ClassCase {
    const char* className;
    std::vector<std::string> properties;
    std::vector<PropertyTexts> rows;
};

}  // namespace

TEST(SysfsFixture, EveryCategoryReadsWhatTheRecordedMachineHolds) {
    const auto fixtures = sharedFixtures();
    if (fixtures.empty()) GTEST_SKIP() << "shared fixtures are absent";
    std::ifstream in(fixtures / "sysfs" / "prometheus_procfs_fixtures.ttar", std::ios::binary);
    const std::string archive((std::istreambuf_iterator<char>(in)), {});
    SourceTree tree;
    tree.unpackTtar(archive);
    const auto root = tree.root() / "fixtures";
    auto names = std::make_shared<FixedNames>(std::map<std::string, HardwareName>{
        {"pci:v00008086d000015D7", {"Intel Corporation", "Ethernet Connection (4) I219-LM"}}});

    const ClassCase cases[] = {
        // No SMBIOS table (it needs root): the DMI files stand in for what they hold.
        {"Win32_BaseBoard", {"Manufacturer", "Product"}, {{"Dell Inc.", "07PXPY"}}},
        {"Win32_Bios", {"Name", "Manufacturer"}, {{"2.2.4", "Dell Inc."}}},
        {"Win32_SystemEnclosure", {"ChassisTypes", "LockPresent"}, {{"[23]", "<absent>"}}},
        {"Win32_MotherboardDevice", {"Description"}, {{"Motherboard"}}},
        // Without the table the modules are unknown; all of /proc/meminfo's memory is one row of kind "Other".
        {"Win32_PhysicalMemory", {"FormFactor"}, {{"1"}}},
        {"Win32_SystemSlot", {"SlotDesignation", "CurrentUsage"}, {}},
        {"Win32_PortConnector", {"ExternalReferenceDesignator", "PortType"}, {}},
        // Eight logical processors of one package.
        {"Win32_ComputerSystem", {"NumberOfProcessors", "Manufacturer", "Model"}, {{"1", "Dell Inc.", "PowerEdge R6515"}}},
        {"Win32_Processor",
         {"Manufacturer", "Name", "NumberOfLogicalProcessors"},
         {{"GenuineIntel", "Intel(R) Core(TM) i7-8650U CPU @ 1.90GHz", "8"}}},
        {"Win32_NetworkAdapter",
         {"AdapterType", "Name", "Manufacturer", "MACAddress", "PhysicalAdapter"},
         {{"Ethernet 802.3", "Intel Corporation Ethernet Connection (4) I219-LM", "Intel Corporation",
           "01:01:01:01:01:01", "True"}}},
        {"Win32_NetworkAdapterConfiguration", {"Description"}, {{"Intel Corporation Ethernet Connection (4) I219-LM"}}},
        // The laptop battery, not the mains supply.
        {"Win32_Battery", {"Description", "Name"}, {{"Internal Battery", "LNV-45N1"}}},
        {"Win32_PortableBattery", {"Description", "Manufacturer"}, {{"Portable Battery", "LGC"}}},
        {"Win32_TemperatureProbe",
         {"Description"},
         {{"Thermal Probe (bcm2835_thermal)"}, {"Motherboard Thermal Probe (acpitz)"}}},
        // Cooling devices that are processor throttles, not fans.
        {"Win32_Fan", {"Description"}, {}},
        // st0 once, not its nst0 and mode doors; the recording has no inquiry strings.
        {"Win32_TapeDrive", {"Name", "DeviceID"}, {{"<absent>", "/dev/st0"}}},
        // sda and dm-0 are recorded without a device behind them.
        {"Win32_DiskDrive", {"InterfaceType", "Model"}, {}},
        {"Win32_HeatPipe", {"Name"}, {}},
        {"Win32_Refrigeration", {"Name"}, {}},
        // No os-release in the recording: the kernel still tells what runs.
        {"Win32_OperatingSystem", {"Caption"}, {{"Linux"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.className);
        EXPECT_EQ(query(root, names, c.className, c.properties), c.rows);
    }
}
