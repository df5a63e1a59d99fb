// The device classes on small machine trees that show each rule: which
// devices count, how they are named, and what the interface type is.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include "provider_rows.h"
#include "source_tree.h"

using namespace vantrel::linuxhost;
using namespace vantrel::linuxhost::testing;

namespace {

const std::string kPci = "/sys/devices/pci0000:00/";

void pciFunction(const SourceTree& t, const std::string& slot, const std::string& classCode, const std::string& alias) {
    t.file(kPci + slot + "/class", classCode + "\n");
    t.file(kPci + slot + "/modalias", alias + "\n");
    t.file(kPci + slot + "/vendor", "0x" + alias.substr(9, 4) + "\n");
    t.file(kPci + slot + "/device", "0x" + alias.substr(18, 4) + "\n");
    t.link("/sys/bus/pci/devices/" + slot, "../../../devices/pci0000:00/" + slot);
}

void blockDevice(const SourceTree& t, const std::string& name, const std::string& devicePath, const std::string& dev) {
    t.file(devicePath + "/block/" + name + "/dev", dev + "\n");
    t.link("/sys/block/" + name, "../" + devicePath.substr(5) + "/block/" + name);
    t.link(devicePath + "/block/" + name + "/device", "../..");
}

// A desktop: SATA disk and DVD writer, NVMe disk, USB card reader, virtio
// disk, a floppy, and a loop device that is no drive at all.
void desktopDrives(const SourceTree& t) {
    const std::string sata = kPci + "0000:00:17.0/ata1/host0/target0:0:0/0:0:0:0";
    t.file(sata + "/vendor", "ATA     \n");
    t.file(sata + "/model", "Samsung SSD 860 \n");  // cut to 16 characters by the inquiry
    t.file(sata + "/type", "0\n");
    blockDevice(t, "sda", sata, "8:0");
    t.file("/run/udev/data/b8:0", "S:disk/by-id/x\nE:ID_MODEL=Samsung_SSD_860_EVO_500GB\nE:ID_MODEL_ENC=Samsung\\x20SSD\\x20860\\x20EVO\\x20500GB\\x20\\x20\nE:ID_BUS=ata\n");

    const std::string dvd = kPci + "0000:00:17.0/ata2/host1/target1:0:0/1:0:0:0";
    t.file(dvd + "/vendor", "HL-DT-ST\n");
    t.file(dvd + "/model", "DVD+-RW GHB0N   \n");
    t.file(dvd + "/type", "5\n");
    blockDevice(t, "sr0", dvd, "11:0");

    const std::string nvme = kPci + "0000:01:00.0/nvme/nvme0";
    t.file(nvme + "/model", "Samsung SSD 970 PRO 512GB               \n");
    blockDevice(t, "nvme0n1", nvme, "259:0");

    const std::string reader = kPci + "0000:00:14.0/usb1/1-4/1-4:1.0/host2/target2:0:0/2:0:0:0";
    t.file(reader + "/vendor", "Generic-\n");
    t.file(reader + "/model", "SD/MMC          \n");
    t.file(reader + "/type", "0\n");
    blockDevice(t, "sdb", reader, "8:16");

    pciFunction(t, "0000:00:04.0", "0x010000", "pci:v00001AF4d00001042sv00001AF4sd00001100bc01sc00i00");
    blockDevice(t, "vda", kPci + "0000:00:04.0/virtio1", "253:0");

    blockDevice(t, "fd0", "/sys/devices/platform/floppy.0", "2:0");
    t.file("/sys/devices/virtual/block/loop0/dev", "7:0\n");
    t.link("/sys/block/loop0", "../devices/virtual/block/loop0");
}

std::shared_ptr<const HardwareNames> desktopNames() {
    return std::make_shared<FixedNames>(std::map<std::string, HardwareName>{
        {"pci:v00001AF4d00001042", {"Red Hat, Inc.", "Virtio 1.0 block device"}},
        {"pci:v000010DEd00001C03", {"NVIDIA Corporation", "GP106 [GeForce GTX 1060 6GB]"}},
        {"pci:v00008086d0000A348", {"Intel Corporation", "Cannon Lake PCH cAVS"}},
        {"pci:v0000144Dd0000A808", {"Samsung Electronics Co Ltd", "NVMe SSD Controller SM981/PM981/PM983"}},
        {"pci:v00008086d0000A352", {"Intel Corporation", "Cannon Lake PCH SATA AHCI Controller"}},
        {"pci:v00001106d00003044", {"VIA Technologies, Inc.", "VT6306/7/8 [Fire II(M)] IEEE 1394 OHCI Controller"}},
    });
}

}  // namespace

TEST(DeviceClasses, DrivesByKindWithTheInterfaceTypeAndModel) {
    SourceTree t;
    desktopDrives(t);
    const auto names = desktopNames();
    EXPECT_EQ(query(t.root(), names, "Win32_DiskDrive", {"InterfaceType", "Model", "DeviceID"}),
              (std::vector<PropertyTexts>{
                  {"SCSI", "Samsung SSD 970 PRO 512GB", "/dev/nvme0n1"},
                  {"IDE", "Samsung SSD 860 EVO 500GB", "/dev/sda"},  // udev's full name, not the cut inquiry
                  {"USB", "Generic- SD/MMC USB Device", "/dev/sdb"},
                  {"SCSI", "Red Hat, Inc. Virtio 1.0 block device SCSI Disk Device", "/dev/vda"},
              }));
    EXPECT_EQ(query(t.root(), names, "Win32_CDROMDrive", {"Drive", "Name"}),
              (std::vector<PropertyTexts>{{"/dev/sr0", "HL-DT-ST DVD+-RW GHB0N"}}));
    EXPECT_EQ(query(t.root(), names, "Win32_FloppyDrive", {"Name"}),
              (std::vector<PropertyTexts>{{"Floppy disk drive"}}));
}

TEST(DeviceClasses, AContainersDriveWithoutItsDeviceAndMemoryWithoutTheTable) {
    SourceTree t;
    // An optical drive whose block entry has no device link; a disk without one stays out.
    t.file("/sys/devices/virtual/block/sr1/dev", "11:1\n");
    t.link("/sys/block/sr1", "../devices/virtual/block/sr1");
    t.file("/run/udev/data/b11:1", "E:ID_MODEL_ENC=Virtual\\x20DVD-ROM\n");
    t.file("/sys/devices/virtual/block/sr2/dev", "11:2\n");
    t.link("/sys/block/sr2", "../devices/virtual/block/sr2");
    t.file("/sys/devices/virtual/block/sdz/dev", "8:200\n");
    t.link("/sys/block/sdz", "../devices/virtual/block/sdz");
    t.file("/proc/meminfo", "MemTotal:       16303024 kB\nMemFree:         1000 kB\n");
    const auto names = desktopNames();
    EXPECT_EQ(query(t.root(), names, "Win32_CDROMDrive", {"Drive", "Name"}),
              (std::vector<PropertyTexts>{{"/dev/sr1", "Virtual DVD-ROM"}, {"/dev/sr2", "CD-ROM Drive"}}));
    EXPECT_TRUE(query(t.root(), names, "Win32_DiskDrive", {"Model"}).empty());
    EXPECT_EQ(query(t.root(), names, "Win32_PhysicalMemory", {"FormFactor", "Capacity"}),
              (std::vector<PropertyTexts>{{"1", std::to_string(16303024ULL * 1024)}}));
}

TEST(DeviceClasses, ControllersByPciClass) {
    SourceTree t;
    pciFunction(t, "0000:01:00.0", "0x030000", "pci:v000010DEd00001C03sv00001043sd000085AEbc03sc00i00");
    pciFunction(t, "0000:00:1f.3", "0x040380", "pci:v00008086d0000A348sv00001028sd0000085Abc04sc03i80");
    pciFunction(t, "0000:02:00.0", "0x010802", "pci:v0000144Dd0000A808sv0000144Dsd0000A801bc01sc08i02");
    pciFunction(t, "0000:00:17.0", "0x010601", "pci:v00008086d0000A352sv00001028sd0000085Abc01sc06i01");
    pciFunction(t, "0000:03:00.0", "0x0c0010", "pci:v00001106d00003044sv00001106sd00003044bc0Csc00i10");
    pciFunction(t, "0000:04:00.0", "0x060700", "pci:v00001180d00000476sv00000000sd00000000bc06sc07i00");
    const auto names = desktopNames();
    EXPECT_EQ(query(t.root(), names, "Win32_VideoController", {"Description", "AdapterCompatibility"}),
              (std::vector<PropertyTexts>{{"NVIDIA Corporation GP106 [GeForce GTX 1060 6GB]", "NVIDIA Corporation"}}));
    EXPECT_EQ(query(t.root(), names, "Win32_SoundDevice", {"Name"}),
              (std::vector<PropertyTexts>{{"Intel Corporation Cannon Lake PCH cAVS"}}));
    // NVMe is a SCSI controller to the interface; SATA AHCI is not.
    EXPECT_EQ(query(t.root(), names, "Win32_SCSIController", {"Name"}),
              (std::vector<PropertyTexts>{{"Samsung Electronics Co Ltd NVMe SSD Controller SM981/PM981/PM983"}}));
    EXPECT_EQ(query(t.root(), names, "Win32_1394Controller", {"Name"}).size(), 1u);
    // A CardBus bridge the names database does not know keeps its numbers.
    EXPECT_EQ(query(t.root(), names, "Win32_PCMCIAController", {"Name", "Manufacturer"}),
              (std::vector<PropertyTexts>{{"PCI device 1180:0476", "<absent>"}}));
}

TEST(DeviceClasses, KeyboardsAndPointingDevicesByBusAndCapabilities) {
    SourceTree t;
    auto input = [&](const std::string& name, const std::string& device, const std::string& bus,
                     const std::string& ev, const std::string& key, const std::string& rel) {
        const std::string path = device + "/" + name;
        t.file(path + "/name", "Device " + name + "\n");
        t.file(path + "/id/bustype", bus + "\n");
        t.file(path + "/capabilities/ev", ev + "\n");
        t.file(path + "/capabilities/key", key + "\n");
        t.file(path + "/capabilities/rel", rel + "\n");
        t.link("/sys/class/input/" + name, "../../" + path.substr(5));
    };
    // AT keyboard on the i8042 controller: every key from Esc to S.
    input("input3", "/sys/devices/platform/i8042/serio0/input", "0011", "120013",
          "402000000 3803078f800d001 feffffdfffefffff fffffffffffffffe", "0");
    // USB mouse, known to udev.
    input("input5", kPci + "0000:00:14.0/usb1/1-2/1-2:1.0/0003:046D:C077.0001/input", "0003", "17", "ff0000 0 0 0 0",
          "903");
    t.file("/run/udev/data/+input:input5", "E:ID_INPUT=1\nE:ID_INPUT_MOUSE=1\n");
    // Power button: keys, but not a keyboard.
    input("input0", "/sys/devices/LNXSYSTM:00/LNXPWRBN:00/input", "0019", "3", "10000000000000 0", "0");
    // Made by a program, not hardware.
    input("input9", "/sys/devices/virtual/input", "0006", "120013", "fffffffffffffffe", "0");
    t.link("/sys/class/input/event3", "../../devices/platform/i8042/serio0/input/input3/event3");
    EXPECT_EQ(query(t.root(), nullptr, "Win32_Keyboard", {"Description", "Name"}),
              (std::vector<PropertyTexts>{{"Standard PS/2 Keyboard", "Device input3"}}));
    EXPECT_EQ(query(t.root(), nullptr, "Win32_PointingDevice", {"HardwareType"}),
              (std::vector<PropertyTexts>{{"HID-compliant mouse"}}));
}

TEST(DeviceClasses, PortsHubsSensorsAndBatteries) {
    SourceTree t;
    t.file("/sys/class/tty/ttyS0/type", "4\n");   // a 16550A
    t.file("/sys/class/tty/ttyS1/type", "0\n");   // a node for a port that is not there
    t.file("/sys/class/tty/ttyUSB0/dev", "188:0\n");
    t.file("/sys/class/tty/tty1/dev", "4:1\n");
    t.file("/proc/sys/dev/parport/parport0/base-addr", "888\t1912\n");
    t.file("/sys/bus/usb/devices/usb1/bDeviceClass", "09\n");
    t.file("/sys/bus/usb/devices/usb1/speed", "480\n");
    t.file("/sys/bus/usb/devices/usb2/bDeviceClass", "09\n");
    t.file("/sys/bus/usb/devices/usb2/speed", "10000\n");
    t.file("/sys/bus/usb/devices/1-1/bDeviceClass", "09\n");
    t.file("/sys/bus/usb/devices/1-1/speed", "480\n");
    t.file("/sys/bus/usb/devices/1-2/bDeviceClass", "00\n");
    t.file("/sys/bus/usb/devices/1-1:1.0/bInterfaceClass", "09\n");
    t.file("/sys/class/hwmon/hwmon2/name", "nct6798\n");
    t.file("/sys/class/hwmon/hwmon2/fan1_input", "1200\n");
    t.file("/sys/class/hwmon/hwmon2/fan2_input", "0\n");
    t.file("/sys/class/hwmon/hwmon2/fan2_label", "Rear fan\n");
    t.file("/sys/class/hwmon/hwmon2/temp1_input", "31000\n");
    t.file("/sys/class/hwmon/hwmon1/name", "coretemp\n");
    t.file("/sys/class/hwmon/hwmon1/temp1_input", "45000\n");
    t.file("/sys/class/hwmon/hwmon0/name", "acpitz\n");
    t.file("/sys/class/hwmon/hwmon0/temp1_input", "27800\n");
    t.file("/sys/class/thermal/thermal_zone0/type", "acpitz\n");
    t.file("/sys/class/power_supply/ups/type", "UPS\n");
    t.file("/sys/class/power_supply/ups/model_name", "Back-UPS ES 700\n");
    t.file("/sys/class/power_supply/hidpp_battery_0/type", "Battery\n");
    t.file("/sys/class/power_supply/hidpp_battery_0/scope", "Device\n");

    EXPECT_EQ(query(t.root(), nullptr, "Win32_SerialPort", {"Name", "Status"}),
              (std::vector<PropertyTexts>{{"Communications Port (COM1)", "OK"}, {"USB Serial Port (ttyUSB0)", "OK"}}));
    EXPECT_EQ(query(t.root(), nullptr, "Win32_ParallelPort", {"Name", "Status"}),
              (std::vector<PropertyTexts>{{"Printer Port (LPT1)", "OK"}}));
    EXPECT_EQ(query(t.root(), nullptr, "Win32_USBHub", {"Caption"}),
              (std::vector<PropertyTexts>{{"Generic USB Hub"}, {"USB Root Hub"}, {"USB Root Hub (USB 3.0)"}}));
    EXPECT_EQ(query(t.root(), nullptr, "Win32_Fan", {"Description", "Name"}),
              (std::vector<PropertyTexts>{{"Cooling Device", "nct6798 fan1"}, {"Cooling Device", "Rear fan"}}));
    // The ACPI zone once, though it also shows as a hwmon chip.
    EXPECT_EQ(query(t.root(), nullptr, "Win32_TemperatureProbe", {"Description"}),
              (std::vector<PropertyTexts>{{"Motherboard Thermal Probe (acpitz)"},
                                          {"CPU Thermal Probe (coretemp)"},
                                          {"Motherboard Thermal Probe (nct6798)"}}));
    // A UPS is a battery but not a portable one; a mouse's battery is neither.
    EXPECT_EQ(query(t.root(), nullptr, "Win32_Battery", {"Description", "Name"}),
              (std::vector<PropertyTexts>{{"UPS Battery", "Back-UPS ES 700"}}));
    EXPECT_TRUE(query(t.root(), nullptr, "Win32_PortableBattery", {"Description"}).empty());
}

TEST(DeviceClasses, OddFilesGiveAbsentValuesNotFailures) {
    SourceTree t;
    t.file("/etc/os-release", "# comment\nNAME=\"Fancy \\\"Linux\\\"\"\nPRETTY_NAME='Fancy Linux 9'\nBROKEN\n=x\n");
    t.file("/proc/cpuinfo", std::string("processor\t: 0\nvendor_id\t: Genuine\x01Bad\nmodel name\t: Chip \xff\xfe\n\n"));
    t.file("/sys/class/dmi/id/board_vendor", std::string("Acme\0Corp\n", 10));
    t.file("/sys/class/dmi/id/board_name", std::string(2u << 20, 'x'));  // larger than any real value
    t.file("/sys/class/dmi/id/bios_vendor", "   \n");
    t.file("/sys/class/dmi/id/chassis_type", "ten\n");
    ASSERT_EQ(::mkfifo((t.root() / "sys/class/dmi/id/bios_version").c_str(), 0600), 0);  // must not hang
    EXPECT_EQ(query(t.root(), nullptr, "Win32_OperatingSystem", {"Caption", "Manufacturer"}),
              (std::vector<PropertyTexts>{{"Fancy Linux 9", "Fancy \"Linux\""}}));
    EXPECT_EQ(query(t.root(), nullptr, "Win32_Processor", {"Manufacturer", "Name"}),
              (std::vector<PropertyTexts>{{"<absent>", "<absent>"}}));
    const auto board = query(t.root(), nullptr, "Win32_BaseBoard", {"Manufacturer", "Product"});
    ASSERT_EQ(board.size(), 1u);
    EXPECT_EQ(board[0][0], "<absent>");
    EXPECT_EQ(board[0][1].size(), 1u << 20) << "read only up to the limit";
    EXPECT_EQ(query(t.root(), nullptr, "Win32_Bios", {"Name", "Manufacturer"}), std::vector<PropertyTexts>{});
    // The enclosure is there; its type is not a number.
    EXPECT_EQ(query(t.root(), nullptr, "Win32_SystemEnclosure", {"ChassisTypes"}),
              (std::vector<PropertyTexts>{{"<absent>"}}));
}

TEST(DeviceClasses, ConnectionRulesAndClassNames) {
    SourceTree t;
    LinuxProvider provider(t.root(), nullptr);
    EXPECT_TRUE(provider.connect({"", "ROOT/CIMV2", "anyone", "anything"}));
    EXPECT_TRUE(provider.connect({"localhost", "root\\cimv2", "", ""}));
    for (const auto& [server, ns, code] : {std::tuple{"10.0.0.7", "root\\cimv2", vantrel::wbem::ErrorCode::Failed},
                                          std::tuple{"", "root\\default", vantrel::wbem::ErrorCode::InvalidNamespace}}) {
        try {
            provider.connect({server, ns, "", ""});
            ADD_FAILURE() << server << " " << ns << " connected";
        } catch (const vantrel::wbem::WbemError& e) {
            EXPECT_EQ(e.code(), code);
        }
    }
    // Every class the categories ask for is known, in any case.
    for (std::string_view name : linuxClassNames()) {
        std::string upper(name);
        for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        EXPECT_TRUE(readLinuxClass(t.root(), nullptr, upper)) << upper;
    }
    EXPECT_EQ(linuxClassNames().size(), 33u);
    EXPECT_FALSE(readLinuxClass(t.root(), nullptr, "Win32_Printer"));
}
