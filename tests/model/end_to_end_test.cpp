// From a computer described by a profile to the parts of the virtual PC: the
// collection writes the report, showing the node reads it back through the
// loader and the builders into the hardware tree and the model. And the same
// through vantrel-cli.

#include <gtest/gtest.h>

#include <algorithm>

#include <array>
#include <cstdio>
#include <map>
#include <memory>
#include <set>

#include "collect/collection_run.h"
#include "collect/hardware_tree.h"
#include "collect/report_loader.h"
#include "collect/show_node.h"
#include "support/collect_fixture.h"
#include "model/display_modes.h"
#include "model/model_fixture.h"
#include "model/part_table.h"
#include "model/builders.h"
#include "model/model_session.h"

namespace vantrel::model {
namespace {

// Its SCSI disk array takes the third bay, its "Example Graphics" adapter is a
// card, and its "Example Fast Ethernet" adapter the second socket.
const std::vector<std::string> kOfficePcParts{
    "BodyFrame", "IntelCpuFrame", "HardDiskFrame[1]", "HardDiskFrame[2]", "HardDiskFrame[3]", "VideoCardFrame",
    "MemoryModuleFrame[1]", "MemoryModuleFrame[2]", "UsbPortFrame[1]", "UsbPortFrame[2]", "FlashCardFrame[1]",
    "NorthBridgeFrame", "NorthBridgeExtrasFrame", "EthernetPortFrame[1]", "EthernetPortFrame[2]",
    "ParallelPortFrame[1]", "SerialPortFrame[1]",
    "PciSlotFrame[1]", "Ps2MouseFrame", "CpuFanFrame", "OpticalDriveFrame[1]", "PortableBatteryFrame",
    "AxesFrame", "BaseFrame"};

std::vector<std::string> shownParts(const VirtualPc& pc) {
    std::vector<std::string> names;
    for (const auto& part : pc.parts())
        if (part.frame->Enabled) names.push_back(part.name);
    return names;
}

TEST(EndToEnd, AProfileCollectedAndShownSwitchesOnItsPartsAndFillsItsTree) {
    vantrel::test::TempFolder home;
    vantrel::test::NodeFixture f{home.path()};
    f.session.provider = vantrel::test::profileProviderFromFile(VANTREL_COLLECT_TEST_DATA "/office_pc.json");
    f.state.domain.currentLogin = CurrentLogin{"10.0.0.7", "admin", "secret"};
    ASSERT_TRUE(CollectHardware(f.state, f.session));

    VirtualPc pc;
    engine3d::RecordingDevice device;
    test::assemble(pc, device);
    showAllParts(pc);  // whatever was shown before goes with the reset
    BuildTarget target{pc, f.state.windows.main.hardwareTree};
    attachModel(f.session, target);
    int pictures = 0;
    pc.hooks.renderScene = [&] { ++pictures; };

    for (int round = 0; round < 2; ++round) {
        showStoredNode(f.state, f.session);
        EXPECT_EQ(shownParts(pc), kOfficePcParts);
        const auto& tree = f.state.windows.main.hardwareTree;
        ASSERT_TRUE(tree.find("5b node"));
        EXPECT_EQ(tree.item(*tree.find("5b node")).text, "Example CPU 3000 MHz");
        EXPECT_EQ(tree.item(*tree.find("37b node")).text, "chassis: notebook (laptop)");
        EXPECT_EQ(tree.item(*tree.find("Node30 1")).text, "MULTI FLASH READER");
        EXPECT_EQ(tree.item(*tree.find("12e node")).text, "NON DETECTED");
        EXPECT_EQ(tree.item(*tree.find("6d node")).text, "Memory Bank 2");
        EXPECT_FALSE(tree.find("2b node"));  // a keyboard neither USB nor PS/2
        EXPECT_EQ(tree.item(*tree.find("8e node")).text, "Example Array");
        EXPECT_EQ(tree.item(*tree.find("9c node")).text, "Example Graphics");
        EXPECT_EQ(tree.itemCount(), 33 + 36);
    }
    EXPECT_EQ(pictures, 4);  // the reset draws, and so does the end of the show
}

std::string run(const std::string& args) {
    std::string out;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen((std::string(VANTREL_CLI_PATH) + " " + args + " 2>&1").c_str(), "r"), pclose);
    std::array<char, 4096> buffer{};
    while (pipe && fgets(buffer.data(), buffer.size(), pipe.get())) out += buffer.data();
    return out;
}

// Computers of today: NVMe disks report "SCSI", graphics name no old word,
// network adapters come from every maker next to virtual and wireless ones,
// keyboards and mice call themselves HID.
TEST(EndToEnd, TodaysComputersShowEveryDiskGraphicsAndNetworkAdapterOnce) {
    using Items = std::vector<std::pair<std::string, std::string>>;
    const struct {
        const char* profile;
        Items items;  // key and text of the items that must be there
        std::vector<std::string> parts;  // parts that must be on
        std::vector<std::string> absentKeys;
    } cases[] = {
        {"desktop_2025.json",
         {{"8b node", "Samsung SSD 990 PRO 2TB"}, {"8e node", "WDC WD40EZAZ-00SF3B0"},
          {"9c node", "NVIDIA GeForce RTX 4070"}, {"9e node", "Intel(R) UHD Graphics 770"},
          {"20b node", "Realtek PCIe 2.5GbE Family Controller"}, {"44b node", "intel(r) wi-fi 6e ax211 160mhz"},
          {"2b node", "HID Keyboard Device"}, {"3b node", "HID-compliant mouse"}},
         {"HardDiskFrame[1]", "HardDiskFrame[2]", "VideoCardFrame", "VideoChipFrame", "EthernetPortFrame[1]",
          "UsbMouseFrame[1]", "UsbKeyboardFrame[2]"},
         // The Wi-Fi, Hyper-V and Bluetooth adapters are not Ethernet; the USB disk is no hard drive.
         {"20c node", "8h node", "44c node"}},
        {"laptop_2025.json",
         {{"8b node", "KBG50ZNV512G KIOXIA"}, {"9b node", "Intel(R) Iris(R) Xe Graphics"},
          {"20b node", "Realtek USB GbE Family Controller"}, {"44b node", "intel(r) wi-fi 6 ax201 160mhz"},
          {"3b node", "HID-compliant mouse"}, {"2d node", "HID Keyboard Device"}},
         {"HardDiskFrame[1]", "VideoChipFrame", "EthernetPortFrame[1]", "Ps2KeyboardFrame", "UsbKeyboardFrame[2]"},
         {"20c node", "9c node", "8e node"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.profile);
        vantrel::test::TempFolder home;
        vantrel::test::NodeFixture f{home.path()};
        f.session.provider =
            vantrel::test::profileProviderFromFile(std::string(VANTREL_COLLECT_TEST_DATA) + "/" + c.profile);
        f.state.domain.currentLogin = CurrentLogin{"10.0.0.7", "admin", "secret"};
        ASSERT_TRUE(CollectHardware(f.state, f.session));
        VirtualPc pc;
        engine3d::RecordingDevice device;
        test::assemble(pc, device);
        BuildTarget target{pc, f.state.windows.main.hardwareTree};
        attachModel(f.session, target);
        showStoredNode(f.state, f.session);
        const auto& tree = f.state.windows.main.hardwareTree;
        for (const auto& [key, text] : c.items) {
            ASSERT_TRUE(tree.find(key)) << key;
            EXPECT_EQ(tree.item(*tree.find(key)).text, text);
        }
        for (const auto& key : c.absentKeys) EXPECT_FALSE(tree.find(key)) << key;
        const auto shown = shownParts(pc);
        for (const auto& part : c.parts)
            EXPECT_NE(std::find(shown.begin(), shown.end(), part), shown.end()) << part;
        EXPECT_EQ(std::find(shown.begin(), shown.end(), "EthernetPortFrame[2]"), shown.end());
    }
}

TEST(EndToEnd, CliShowPrintsTheTreeThenTheShownParts) {
    const std::string out = run(std::string("show --node LAB-07 --report ") + VANTREL_COLLECT_TEST_DATA "/office_pc.report");
    EXPECT_EQ(out.rfind("1 node|LAB-07|pc\n  32 node|OS|os\n    32b node|Example OS Professional|os\n", 0), 0u) << out;
    EXPECT_NE(out.find("\n  7 node|System Slot|slots\n    71e node|PCI1|slots\n"), std::string::npos);
    std::string parts;
    for (const auto& p : kOfficePcParts) parts += p + "\n";
    EXPECT_NE(out.find("\n--\n" + parts), std::string::npos) << out;
    EXPECT_EQ(out.substr(out.size() - parts.size()), parts);

    EXPECT_EQ(run("show --reset"), "--\nBodyFrame\nPs2PortsFrame\nNorthBridgeExtrasFrame\nAxesFrame\nBaseFrame\n");
    EXPECT_EQ(run("show --report /nonexistent/report"), "vantrel-cli show: cannot read the report /nonexistent/report\n");
}

TEST(EndToEnd, CliPickNamesThePartUnderThePoint) {
    VirtualPc pc;
    engine3d::RecordingDevice device;
    test::assemble(pc, device);
    showAllParts(pc);
    const std::map<std::string, std::string> named = {{"Frame2Cube_3", "\"Frame2Cube_3\"|USB Memory Stick\n"},
                                                      {"Cube_57-3 ", "\"Cube_57-3 \"|Laptop Battery\n"}};
    for (const auto& d : test::drawnFrames(pc)) {
        const auto expected = named.find(d.name);
        if (expected == named.end()) continue;
        const auto at = test::project(device, d.box.centre());
        ASSERT_EQ(test::pickAt(device, pc, at.x, at.y), d.name) << "hidden from the start camera";
        const std::string point = std::to_string(at.x) + "," + std::to_string(at.y);
        EXPECT_EQ(run("pick --all --at " + point), expected->second);
        EXPECT_NE(run("pick --at " + point), expected->second) << "the bare model has no such part";
    }
    // Parts the older files left unnamed: the CLI names what a click there hits.
    const std::set<std::string> subParts = {"PowerSupply", "CpuHeatsink", "EjectButton", "FireWirePort", "Cube-56"};
    std::set<std::string> seen;
    for (const auto& d : test::drawnFrames(pc)) {
        if (!subParts.count(d.name) || !seen.insert(d.name).second) continue;
        const auto at = test::project(device, d.box.centre());
        const auto hit = test::pickFrameAt(device, pc, at.x, at.y);
        ASSERT_NE(hit, nullptr) << d.name;
        const auto part = identifyPart(pc.PcRoot, hit);
        ASSERT_TRUE(part) << d.name;
        const std::string point = std::to_string(at.x) + "," + std::to_string(at.y);
        EXPECT_EQ(run("pick --all --at " + point), '"' + hit->ObjectName + "\"|" + std::string(part->label) + "\n") << d.name;
    }
    EXPECT_EQ(seen, subParts);
    EXPECT_EQ(run("pick --all --at 2,2"), "nothing found\n");
    EXPECT_EQ(run("pick --all --at '2;2'"), "vantrel-cli pick: --at needs X,Y, not '2;2'\n");
    EXPECT_EQ(run("pick --all --at nan,1"), "vantrel-cli pick: --at needs X,Y, not 'nan,1'\n");
    EXPECT_EQ(run("pick --all --at 1,1 --size 0x600"), "vantrel-cli pick: --size needs WxH in pixels, not '0x600'\n");
}

// Every section full of entries whose texts trip every rule at once, with
// bytes that are no text at all: the whole report loads, each builder keeps to
// its parts, and the counted places stop at their last frame.
TEST(EndToEnd, AHostileReportLoadsThroughEveryBuilderWithoutHarm) {
    std::string text;
    const std::string everything =
        "USB PS EXPRESS 16 8 4 PCI laptop amd chip card case cpu motherboard fan processor front rear power "
        "rj45 ide hdmi fire sata 29 fr true FLASH \xC3\x89\xFF\x01";
    for (const auto& category : kCatalogue) {
        const int entries = category.placement == Placement::Row ? 255 : 300;
        text += std::string(category.keyword) + "\r\n" + std::to_string(entries) + "\r\n";
        for (int e = 0; e < entries; ++e)
            for (int line = 0; line < category.linesPerEntry; ++line) text += everything + " " + std::to_string(e) + "\r\n";
    }
    vantrel::test::TempFolder dir;
    vantrel::test::writeBytes(dir.path() / "report", text);

    VirtualPc pc;
    TreeControl tree;
    tree.addRoot("1 node", "LAB-07", ImageKey::Computer);
    for (const auto& node : kHardwareTreeNodes)
        tree.add("1 node", TreeRelationship::Child, std::string(node.key), std::string(node.text), node.image);
    resetModel(pc);
    BuildTarget target{pc, tree};
    BuilderTable builders;
    installBuilders(builders, target);
    NodeReport report;
    EXPECT_EQ(loadReportFile(dir.path() / "report", report, builders), LoadEnd::Complete);
    EXPECT_TRUE(tree.find("Node34 300"));   // every hub listed
    EXPECT_TRUE(tree.find("Node30 255"));   // every memory card listed
    EXPECT_TRUE(pc.UsbPortFrame[16]->Enabled);
    EXPECT_FALSE(pc.FlashCardFrame[1]->Enabled);     // a kind must be exactly FLASH, MS, SM or MMC
    EXPECT_TRUE(pc.SataConnectorFrame[4]->Enabled);
    EXPECT_FALSE(pc.SataConnectorFrame[5]->Enabled);
    EXPECT_FALSE(pc.MemoryModuleFrame[1]->Enabled);  // 300 modules: none drawn
    EXPECT_EQ(pc.UsbDeviceCount, 0);                 // 300 keyboards: no device placed
}

}  // namespace
}  // namespace vantrel::model
