// The mapping rules, one table of cases per builder: a section as the loader
// places it goes in, the tree items and the parts switched on come out.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "collect/hardware_tree.h"
#include "model/builders.h"
#include "model/display_modes.h"

namespace vantrel::model {
namespace {

using Builder = void (*)(BuildTarget&, NodeReport&);
using Lines = std::vector<std::vector<std::string>>;  // entries, each its lines

struct Outcome {
    std::vector<std::string> items;  // "key|text|image" under every category, in order added
    std::vector<std::string> parts;  // optional parts switched on, in PcRoot order
};

class Builders : public ::testing::Test {
protected:
    Builders() {
        resetModel(pc);
        tree.addRoot("1 node", "LAB-07", ImageKey::Computer);
        for (const auto& node : kHardwareTreeNodes)
            tree.add("1 node", TreeRelationship::Child, std::string(node.key), std::string(node.text), node.image);
        baseItems = tree.itemCount();
    }

    // Places entries as the loader does for slot (limit 10) or row placement.
    void slots(const Lines& entries) {
        for (std::size_t k = 0; k < entries.size() && k < 10; ++k) {
            report.ReportTable[k][1] = entries[k][0];
            if (entries[k].size() > 1) report.ReportTable[10 + k][1] = entries[k][1];
        }
        report.LastEntry = static_cast<std::int16_t>(entries.size()) - 1;
    }
    void rows(const Lines& entries) {
        for (std::size_t i = 0; i < entries.size(); ++i)
            for (std::size_t line = 0; line < entries[i].size(); ++line)
                report.ReportTable[10 * line][i + 1] = entries[i][line];
        report.LastEntry = static_cast<std::int16_t>(entries.size()) - 1;
    }

    Outcome outcome() const {
        Outcome o;
        for (int i = baseItems; i < tree.itemCount(); ++i) {
            const auto& item = tree.item(i);
            o.items.push_back(item.key + "|" + item.text + "|" + std::string(imageKeyName(item.image)));
        }
        for (const auto& part : pc.parts())
            if (part.optional && part.frame->Enabled) o.parts.push_back(part.name);
        return o;
    }

    Outcome run(Builder builder, const Lines& entries, bool rowPlaced = false) {
        rowPlaced ? rows(entries) : slots(entries);
        builder(target, report);
        return outcome();
    }

    VirtualPc pc;
    TreeControl tree;
    NodeReport report;
    BuildTarget target{pc, tree};
    int baseItems = 0;
};

using Strings = std::vector<std::string>;

struct Case {
    const char* what;
    Builder builder;
    Lines entries;
    Strings items;
    Strings parts;
    bool rowPlaced = false;
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.what; }

class BuilderCases : public Builders, public ::testing::WithParamInterface<Case> {};

TEST_P(BuilderCases, TreeItemsAndPartsFollowTheRule) {
    const Case& c = GetParam();
    const Outcome o = run(c.builder, c.entries, c.rowPlaced);
    EXPECT_EQ(o.items, c.items);
    EXPECT_EQ(o.parts, c.parts);
}

const Case kSlotCases[] = {
    {"an empty section says not detected", build_pci, {}, {"7a node|NON DETECTED|nd"}, {}},
    {"PCI slot in use shows slot and card", build_pci, {{"pci1", "4"}}, {"71e node|PCI1|slots"},
     {"PciSlotFrame[1]", "ExpansionCardFrame[1]"}},
    {"PCIEX16 has no EXPRESS: plain PCI", build_pci, {{"PCIEX16", "3"}}, {"71e node|PCIEX16|slots"}, {"PciSlotFrame[1]"}},
    {"x16 and x8 in one designation", build_pci, {{"PCI EXPRESS X16 X8", "3"}},
     {"7b node|PCI EXPRESS X16 X8|slots", "7c node|PCI EXPRESS X16 X8|slots"}, {"PcieX16SlotFrame[1]", "PcieX8SlotFrame[1]"}},
    {"x1 in slot 1", build_pci, {{"PCI Express x1", "3"}}, {"7e node|PCI EXPRESS X1|slots"}, {"PcieX1SlotFrame[1]"}},
    {"EXPRESS at position 1 is no PCI Express", build_pci, {{"EXPRESS16", "4"}}, {}, {}},
    {"EXPRESS at position 2 with PCI later is PCI", build_pci, {{"XEXPRESS PCI", "4"}}, {"71e node|XEXPRESS PCI|slots"},
     {"PciSlotFrame[1]", "ExpansionCardFrame[1]"}},
    {"slot 2 in use with slot 1 free: the card frame is on, its chain is not", build_pci,
     {{"PCI1", "3"}, {"PCI2", "4"}}, {"71e node|PCI1|slots", "72e node|PCI2|slots"},
     {"PciSlotFrame[1]", "PciSlotFrame[2]", "ExpansionCardFrame[2]"}},
    {"slots 5 to 7 use their own keys", build_pci,
     {{"A", "3"}, {"B", "3"}, {"C", "3"}, {"D", "3"}, {"PCI5", "3"}, {"PCI EXPRESS X4", "3"}, {"PCI EXPRESS X8", "4"}, {"PCI8", "4"}},
     {"73g node|PCI5|slots", "7x node|PCI EXPRESS X4|slots", "7sz node|PCI EXPRESS X8|slots"},
     {"PciSlotFrame[5]", "PcieX8SlotFrame[7]", "PcieX4SlotFrame[6]", "ExpansionCardFrame[7]"}},
    {"DIMM modules shown per bank", build_systemmemory, {{"8"}, {"8"}, {"8"}},
     {"6c node|Memory Bank 1|mem", "6d node|Memory Bank 2|mem", "6e node|Memory Bank 3|mem"},
     {"MemoryModuleFrame[1]", "MemoryModuleFrame[2]", "MemoryModuleFrame[3]"}},
    {"another form factor lists banks only", build_systemmemory, {{"9"}, {"8"}}, {"6c node|Memory Bank 1|mem", "6d node|Memory Bank 2|mem"}, {}},
    {"memory of no known kind says so", build_systemmemory, {{"1"}}, {"6c node|Memory Bank 1 (modules not known)|mem"}, {}},
    {"five modules: nothing at all", build_systemmemory, {{"8"}, {"8"}, {"8"}, {"8"}, {"8"}}, {}, {}},
    {"Intel processor shows the north bridge", build_cpu, {{"Intel Pentium 4"}}, {"5b node|Intel Pentium 4|cpu"},
     {"IntelCpuFrame", "NorthBridgeFrame"}},
    {"AMD processor leaves the north bridge hidden", build_cpu, {{"AMD Athlon"}}, {"5c node|AMD Athlon|cpu"}, {"AmdCpuFrame"}},
    {"video words light their parts, one item per word", build_video, {{"On-board video CHIP on card"}, {"Case display"}},
     {"9b node|On-board video CHIP on card|agp", "9c node|On-board video CHIP on card|agp", "9g node|Case display|agp"},
     {"VideoCardFrame", "VideoChipFrame"}},
    {"adapters naming no word are cards; a fourth is ignored", build_video, {{"x"}, {"y"}, {"z"}, {"video card"}},
     {"9c node|x|agp", "9f node|y|agp", "9i node|z|agp"}, {"VideoCardFrame"}},
    {"integrated graphics are the chip, other adapters the card", build_video,
     {{"Intel(R) UHD Graphics 620"}, {"NVIDIA GeForce RTX 4060"}, {"AMD Radeon(TM) Graphics"}},
     {"9b node|Intel(R) UHD Graphics 620|agp", "9f node|NVIDIA GeForce RTX 4060|agp", "9h node|AMD Radeon(TM) Graphics|agp"},
     {"VideoCardFrame", "VideoChipFrame"}},
    {"a numbered Radeon is a card, a basic adapter the chip", build_video,
     {{"AMD Radeon RX 7600"}, {"Microsoft Basic Display Adapter"}},
     {"9c node|AMD Radeon RX 7600|agp", "9e node|Microsoft Basic Display Adapter|agp"},
     {"VideoCardFrame", "VideoChipFrame"}},
    {"temperature probes by place", build_tempprobe, {{"CPU temp"}, {"Motherboard"}, {"Case"}},
     {"27b node|CPU temp|temp", "27f node|Motherboard|temp", "27j node|Case|temp"},
     {"CaseSensorFrame", "BoardSensorFrame", "CpuSensorFrame"}},
    {"disks fill the bays in order", build_diskdrive, {{"IDE", "Disk A"}, {"SATA", "Disk B"}, {"SCSI", "Disk C"}, {"USB", "Disk D"}},
     {"8b node|Disk A|hd", "8e node|Disk B|hd", "8h node|Disk C|hd"}, {"HardDiskFrame[1]", "HardDiskFrame[2]", "HardDiskFrame[3]"}},
    {"optical drives", build_cd, {{"D:", "DVD-RW"}}, {"28b node|DVD-RW|dvd"}, {"OpticalDriveFrame[1]"}},
    {"two fans", build_fan, {{"CPU fan"}, {"Power fan"}}, {"16b node|CPU fan|fan", "16c node|Power fan|fan"},
     {"RearFanFrame", "CpuFanFrame"}},
    {"four fans: nothing", build_fan, {{"a"}, {"b"}, {"c"}, {"d"}}, {}, {}},
    {"two UPS batteries", build_battery, {{"x"}, {"y"}}, {"12b node|Battery (UPS)|ups", "12c node|Battery (UPS)|ups"}, {"UpsBatteryFrame"}},
    {"no UPS battery", build_battery, {}, {"12e node|NON DETECTED|nd"}, {}},
    {"portable battery", build_pbattery, {{"Internal"}}, {"40b node|Portable Battery|ups"}, {"PortableBatteryFrame"}},
    {"no portable battery", build_pbattery, {}, {"40e node|NON DETECTED|nd"}, {}},
    {"two portable batteries: nothing", build_pbattery, {{"a"}, {"b"}}, {}, {}},
    {"one heat pipe", build_heatpipe, {{"Pipe"}}, {"26b node|Pipe|pipe"}, {"HeatPipeFrame"}},
    {"two heat pipes", build_heatpipe, {{"P1"}, {"P2"}}, {"26c node|P1|pipe", "26d node|P2|pipe"}, {"HeatPipeFrame"}},
    {"infrared", build_infrared, {{"IrDA"}, {"IrDA 2"}}, {"18c node|IrDA|ir", "18d node|IrDA 2|ir"}, {"InfraredFrame"}},
    {"one BIOS: maker then name", build_bios, {{"Default System BIOS", "Example Firmware"}},
     {"15b node|Example Firmware Default System BIOS|bios"}, {}},
    {"two BIOS entries: only the second", build_bios, {{"A", "M1"}, {"B", "M2"}}, {"15c node|M2 B|bios"}, {}},
    {"baseboard twice shows entry 1", build_baseboard, {{"Board A"}, {"Board B"}}, {"4c node|Board A|mb"}, {}},
    {"floppy twice shows entry 2", build_floppy, {{"A:"}, {"B:"}}, {"29c node|B:|fd"}, {}},
    {"sound twice shows both", build_sound, {{"S1"}, {"S2"}}, {"14b node|S1|snd", "14c node|S2|snd"}, {}},
    {"refrigeration has a fixed text", build_refrigeration, {{"Cooler"}}, {"25b node|Refrigeration|refg"}, {}},
    {"three tapes: nothing", build_tape, {{"a"}, {"b"}, {"c"}}, {}, {}},
    {"os, scsi and pcmcia as floppy", build_os, {{"OS"}}, {"32b node|OS|os"}, {}},
    {"motherboard adds nothing, even when empty", build_motherboard, {}, {}, {}},
    {"three serial ports, only port 2 working", build_serial, {{"COM1", "Error"}, {"COM2", "OK"}, {"COM3", ""}},
     {"10d node|COM1|ser", "10e node|COM2|ser", "10f node|COM3|ser"}, {"SerialPortFrame[2]"}},
    {"one serial port not working: nothing", build_serial, {{"COM1", "Error"}}, {}, {}},
    {"two serial ports listed whatever their state", build_serial, {{"COM1", "OK"}, {"COM2", "Degraded"}},
     {"10b node|COM1|ser", "10c node|COM2|ser"}, {"SerialPortFrame[1]"}},
    {"parallel ports only when working", build_parallel, {{"LPT1", "OK"}, {"LPT2", "Error"}, {"LPT3", "OK"}},
     {"11b node|LPT1|par", "11d node|LPT3|par"}, {"ParallelPortFrame[1]", "ParallelPortFrame[3]"}},
    {"two Ethernet adapters", build_ethernet, {{"NIC1"}, {"NIC2"}}, {"20b node|NIC1|nw", "20c node|NIC2|nw"},
     {"EthernetPortFrame[1]", "EthernetPortFrame[2]"}},
    {"five Ethernet adapters: nothing", build_ethernet, {{"a"}, {"b"}, {"c"}, {"d"}, {"e"}}, {}, {}},
    {"FireWire controllers: items only", build_1394, {{"OHCI"}, {"OHCI 2"}}, {"17b node|OHCI|fw", "17c node|OHCI 2|fw"}, {}},
    {"a single USB hub is named", build_usb, {{"USB Root Hub"}}, {"34b node|USB Root Hub|usb", "Node34 1|USB 1|usb"}, {"UsbPortFrame[1]"}},
    {"USB keyboard and PS/2 in one text", build_keyboard, {{"USB PS Keyboard"}},
     {"2b node|USB PS Keyboard|kb", "2c node|PS/2 Keyboard|kb"}, {"UsbDeviceCommonFrame[1]", "UsbKeyboardFrame[1]", "Ps2KeyboardFrame"}},
    {"PS/2 mouse", build_pointing, {{"PS/2 Compatible Mouse"}}, {"3c node|PS/2 Mouse|ms"}, {"Ps2MouseFrame"}},
    {"HID and Bluetooth mice are USB devices, each once", build_pointing,
     {{"HID-compliant mouse"}, {"USB HID mouse"}, {"Bluetooth Mouse"}},
     {"3b node|HID-compliant mouse|ms", "3d node|USB HID mouse|ms", "3f node|Bluetooth Mouse|ms"},
     {"UsbDeviceCommonFrame[1]", "UsbDeviceCommonFrame[2]", "UsbDeviceCommonFrame[3]", "UsbMouseFrame[1]",
      "UsbMouseFrame[2]", "UsbMouseFrame[3]"}},
    {"a HID keyboard is a USB device", build_keyboard, {{"HID Keyboard Device"}},
     {"2b node|HID Keyboard Device|kb"}, {"UsbDeviceCommonFrame[1]", "UsbKeyboardFrame[1]"}},
    {"four pointing devices: nothing", build_pointing, {{"USB"}, {"USB"}, {"USB"}, {"USB"}}, {}, {}},
};
INSTANTIATE_TEST_SUITE_P(SlotSections, BuilderCases, ::testing::ValuesIn(kSlotCases));

const Case kRowCases[] = {
    {"memory cards by kind; SD lists only", build_memcard, {{" flash ", "CF 1"}, {"SD", "SD 1"}, {"ms", "MS 1"}, {"MMC", "MMC 1"}},
     {"Node30 1|CF 1|mc", "Node30 2|SD 1|mc", "Node30 3|MS 1|mc", "Node30 4|MMC 1|mc"},
     {"FlashCardFrame[1]", "MmcCardFrame[1]", "MsCardFrame[1]"}, true},
    {"wireless adapters from table 0", build_wireless, {{"intel wifi"}, {"other wifi"}},
     {"44b node|intel wifi|wireless", "44c node|other wifi|wireless"}, {}, true},
    {"connectors: RJ45, IDE, SATA, HDMI, audio, FireWire", build_connectors,
     {{"RJ45 1", "LAN", "11"}, {"", "IDE1", "0"}, {"", "SATA1", "0"}, {"", "SATA2", "0"}, {"HDMI", "hdmi out", "0"},
      {"Rear Line out", "J8", "29"}, {"", "FireWire 1", "0"}, {"Audio", "J9", "29"}},
     {},
     {"EthernetPortFrame[1]", "RearAudioFrame[1]", "RearAudioFrame[2]", "IdeConnectorFrame[1]",
      "SataConnectorFrame[1]", "SataConnectorFrame[2]", "HdmiFrame", "FireWirePortFrame[1]"},
     true},
    {"SATA connectors 5 and 6 never from a report", build_connectors,
     {{"", "SATA", ""}, {"", "SATA", ""}, {"", "SATA", ""}, {"", "SATA", ""}, {"", "SATA", ""}, {"", "SATA", ""}},
     {},
     {"SataConnectorFrame[1]", "SataConnectorFrame[2]", "SataConnectorFrame[3]", "SataConnectorFrame[4]"},
     true},
    {"an empty connector section adds nothing", build_connectors, {}, {}, {}, true},
};
INSTANTIATE_TEST_SUITE_P(RowSections, BuilderCases, ::testing::ValuesIn(kRowCases));

TEST_F(Builders, TwentyUsbHubsGiveTwentyItemsAndSixteenSockets) {
    Lines hubs(20, {"Hub"});
    const Outcome o = run(build_usb, hubs);
    ASSERT_EQ(o.items.size(), 20u);
    EXPECT_EQ(o.items.front(), "Node34 1|USB 1|usb");
    EXPECT_EQ(o.items.back(), "Node34 20|USB 20|usb");
    EXPECT_EQ(tree.item(*tree.find("Node34 20")).tag, "20");
    EXPECT_EQ(o.parts.size(), 16u);
}

TEST_F(Builders, PointingDevicesTakeTheLowerUsbPositionsAndTheSameReportPlacesThemAlike) {
    for (int round = 0; round < 2; ++round) {
        resetModel(pc);
        slots({{"USB Mouse"}});
        build_pointing(target, report);
        slots({{"USB Keyboard"}});
        build_keyboard(target, report);
        EXPECT_TRUE(pc.UsbMouseFrame[1]->Enabled);
        EXPECT_TRUE(pc.UsbKeyboardFrame[2]->Enabled);
        EXPECT_FALSE(pc.UsbKeyboardFrame[1]->Enabled);
        EXPECT_EQ(pc.UsbDeviceCount, 2);
        // No keyboard under the one of position 2: it comes down onto the desk.
        EXPECT_FLOAT_EQ(pc.UsbKeyboardFrame[2]->GetPosition().y, -0.3f);
        EXPECT_FLOAT_EQ(pc.UsbMouseFrame[1]->GetPosition().y, 0.0f);
        tree.clear();
        tree.addRoot("1 node", "", ImageKey::Computer);
        for (const auto& node : kHardwareTreeNodes)
            tree.add("1 node", TreeRelationship::Child, std::string(node.key), std::string(node.text), node.image);
    }
}

TEST_F(Builders, ThreeUsbMiceAndThreeUsbKeyboardsTakePositionsOneToSix) {
    slots({{"USB"}, {"USB"}, {"USB"}});
    build_pointing(target, report);
    build_keyboard(target, report);
    for (int c = 1; c <= 3; ++c) EXPECT_TRUE(pc.UsbMouseFrame[c]->Enabled);
    for (int c = 4; c <= 6; ++c) EXPECT_TRUE(pc.UsbKeyboardFrame[c]->Enabled);
    EXPECT_FALSE(pc.UsbDeviceCommonFrame[7]->Enabled);
    // Each kind stacks from the desk up on what is there: the media draw
    // position c 0.3 (c - 1) high, the frame takes it down to its level.
    for (int c = 1; c <= 3; ++c) {
        EXPECT_NEAR(0.3f * (c - 1) + pc.UsbMouseFrame[c]->GetPosition().y, 0.3f * (c - 1), 1e-5f) << c;
        EXPECT_NEAR(0.3f * (c + 2) + pc.UsbKeyboardFrame[c + 3]->GetPosition().y, 0.3f * (c - 1), 1e-5f) << c;
    }
}

TEST_F(Builders, TheNinthFlashCardAddsItsItemOnly) {
    const Outcome o = run(build_memcard, Lines(9, {"FLASH", "CARD"}), true);
    EXPECT_EQ(o.items.size(), 9u);
    EXPECT_EQ(o.parts.size(), 8u);
    EXPECT_EQ(report.ReportTable[0][9], "FLASH");
}

TEST_F(Builders, UpsAndPortableBatteryTogetherShowOnlyThePortableOne) {
    slots({{"UPS"}});
    build_battery(target, report);
    slots({{"Internal"}});
    build_pbattery(target, report);
    EXPECT_FALSE(pc.UpsBatteryFrame->Enabled);
    EXPECT_TRUE(pc.PortableBatteryFrame->Enabled);
    EXPECT_TRUE(tree.find("12b node"));
    EXPECT_TRUE(tree.find("40b node"));
}

TEST_F(Builders, ConnectorFansLightOnlyWhenTheFanSectionListedNone) {
    slots({{"CPU Fan"}});
    build_fan(target, report);
    rows({{"Processor Fan", "J1", "0"}, {"Front fan", "J2", "0"}});
    pc.CpuFanFrame->Enabled = false;
    build_connectors(target, report);
    EXPECT_FALSE(pc.CpuFanFrame->Enabled);
    EXPECT_FALSE(pc.FrontFanFrame->Enabled);
    EXPECT_FALSE(pc.FansReported);  // cleared for the next report
    build_connectors(target, report);
    EXPECT_TRUE(pc.CpuFanFrame->Enabled);
    EXPECT_TRUE(pc.FrontFanFrame->Enabled);
}

TEST_F(Builders, EnclosureLowersItsTextAndSetsThePs2Sockets) {
    struct EnclosureCase {
        const char* chassis;
        const char* item;
        bool ps2;
    };
    for (const auto& c : {EnclosureCase{"Chassis: Notebook (LAPTOP)", "37b node|chassis: notebook (laptop)|pc", false},
                          EnclosureCase{"Tower", "37c node|tower|tower", true},
                          EnclosureCase{"laptop first", "", false}}) {
        tree.clear();
        tree.addRoot("1 node", "", ImageKey::Computer);
        tree.add("1 node", TreeRelationship::Child, "37 node", "Enclosure", ImageKey::Tower);
        baseItems = tree.itemCount();
        pc.Ps2PortsFrame->Enabled = false;
        slots({{c.chassis, "True"}});
        build_enclosure(target, report);
        const auto items = outcome().items;
        EXPECT_EQ(items, c.item[0] ? Strings{c.item} : Strings{}) << c.chassis;
        EXPECT_EQ(pc.Ps2PortsFrame->Enabled, c.ps2) << c.chassis;
    }
}

TEST_F(Builders, LockShowsTheLineAsReportedAndLightsOnTrue) {
    const Outcome o = run(build_lock, {{"Tower", "TRUE"}});
    EXPECT_EQ(o.items, Strings{"38b node|TRUE|lock"});
    EXPECT_EQ(o.parts, Strings{"LockFrame"});
    EXPECT_EQ(report.ReportTable[10][1], "true");
}

TEST_F(Builders, AnItemKeyAlreadyPresentRaisesAndStopsTheBuilder) {
    slots({{"CPU"}});
    build_fan(target, report);
    EXPECT_THROW(build_fan(target, report), TreeError);
}

TEST_F(Builders, EveryBuilderIsInTheDispatchTable) {
    BuilderTable table;
    installBuilders(table, target);
    for (std::size_t i = 0; i < kBuilderCount; ++i) EXPECT_TRUE(table.entries[i]) << builderName(static_cast<BuilderId>(i));
    slots({{"PCI1", "4"}});
    table.get(BuilderId::build_pci)(report);
    EXPECT_TRUE(pc.PciSlotFrame[1]->Enabled);
}

}  // namespace
}  // namespace vantrel::model
