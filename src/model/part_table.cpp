#include "model/part_table.h"

#include "engine3d/scene/frame_path.h"
#include "model/change_marks.h"

namespace vantrel::model {

// Names listed twice once had two labels: "Frame1Cube_11" and "Frame5Cube_1"
// keep the later one; "Cube-56" is the memory-card reader's MMC card, not a
// second PC-card socket. Rows after the first block name the parts of the
// generated model that the older files left unnamed.
const std::array<PartName, kPartTableSize> kPartTable{{
    {"Frame16Cylinder", "PS2 Keyboard Socket"},
    {"Frame31Cylinder", "PS2 Mouse Socket"},
    {"Frame1Cube_2209", "PS2"},
    {"Cube-12", "PS2 Keyboard"},
    {"Cube_17-18", "PS2 Pointing Device"},
    {"Frame0Cube", "Motherboard"},
    {"Frame11Cube_20", "Intel Processor"},
    {"Frame0Cube_1294", "Memory Card"},
    {"Frame0Cube_1293", "Memory Card"},
    {"Frame0Cube_1292", "Memory Card"},
    {"Frame0Cube_1291", "Memory Card"},
    {"Frame7Cube_3", "PCI Slot"},
    {"Frame29Cylinder_3", "Hard Disk"},
    {"Frame15Cube_1", "BIOS"},
    {"Frame9Cube_4", "DVD/CD Drive"},
    {"Cube_11-8", "Monitor Connector"},
    {"Frame11Cube_16", "Hard Disk Controller"},
    {"Frame44Cube_20", "PCI Card"},
    {"Frame2Cube_3", "USB Memory Stick"},
    {"Cube_17-8", "USB Pointing Device"},
    {"Cylinder-1", "Fan"},
    {"Cube-7", "UPS Battery"},
    {"Frame1Cylinder_18", "Heat Pipe"},
    {"Frame3Cylinder_19", "Heat Pipe"},
    {"Frame6Cylinder_20", "Heat Pipe"},
    {"Frame1Cube_11", "Serial 1"},
    {"Frame91Cube_32", "Sound Port"},
    {"Frame5Cube_8", "Parallel Port"},
    {"Frame1Cube", "Ethernet Socket"},
    {"Frame2Cube_22", "Bridge"},
    {"Frame25Cube_11", "Temperature Sensor"},
    {"Frame35Cube_1", "InfraRed"},
    {"Frame1Cube_21", "AGP Card"},
    {"Cube_2-83", "MS/MS-Pro USB Device"},
    {"Cube_1-18", "SM/xD-Picture USB Device"},
    {"Cube-56", "SD/MMC USB Device"},
    {"Cube_5-18", "Compact Flash USB Device"},
    {"Cube_1-5", "USB Socket"},
    {"Frame73Cylinder_4", "Speaker"},
    {"Frame9Cylinder_2", "Battery"},
    {"Frame152Cylinder_2", "Crystal"},
    {"Frame95Cube_3", "AGP Socket"},
    {"Frame158Cube_1", "I/O Controller"},
    {"Frame5Cube_1", "Ethernet 1"},
    {"Cube_8-13", "SATA Connector"},
    {"Cube_1-17 ", "SATA Connector"},
    {"Cube_10-18", "HDMI"},
    {"Cube-5", "Laptop Battery"},
    {"Cube_57-3 ", "Laptop Battery"},
    {"Cube_60-4", "PCMIA Socket"},
    {"Cut_cone_1-1", "Lock"},
    {"Cylinder_3-1", "Audio"},
    {"Cube_2-1", "IDE Connector"},
    {"Cube_16-5", "IDE Connector"},
    {"Frame5Cube_12", "USB 1 (Back)"},
    {"Frame5Cube_13", "USB 2 (Back)"},
    {"Frame5Cube_14", "USB 3 (Back)"},
    {"Frame5Cube_15", "USB 4 (Back)"},
    {"Frame5Cube_16", "USB 5 (Back)"},
    {"Frame5Cube_17", "USB 6 (Back)"},
    {"Frame5Cube_18", "USB 7 (Back)"},
    {"Frame5Cube_19", "USB 8 (Back)"},
    {"Frame1Cube45", "Ethernet 2"},
    {"Frame1Cube46", "Ethernet 3"},
    {"Frame1Cube49", "Ethernet 4"},
    {"Frame5Cube_83", "Parallel 1"},
    {"Frame5Cube_89", "Parallel 2"},
    {"Frame5Cube_82", "Parallel 3"},
    {"Frame5Cube_81", "Parallel 4"},
    {"Frame1Cube_191", "Serial 2"},
    {"Frame1Cube_311", "Serial 3"},
    {"Frame1Cube_161", "Serial 4"},
    {"Frame5Cube_1211", "USB 9 (Front)"},
    {"Frame5Cube_1212", "USB 10 (Front)"},
    {"Frame5Cube_1214", "USB 11 (Front)"},
    {"Frame5Cube_1215", "USB 12 (Front)"},
    {"Frame5Cube_1216", "USB 13 (Front)"},
    {"Frame5Cube_1218", "USB 14 (Front)"},
    {"Frame5Cube_1219", "USB 15 (Front)"},
    {"Frame5Cube_1221", "USB 16 (Front)"},
    {"CaseFloor", "Case"},
    {"LeftPillar", "Case"},
    {"LeftTopRail", "Case"},
    {"RightPillar", "Case"},
    {"RightTopRail", "Case"},
    {"FrontTopRail", "Case"},
    {"SpareCaseFoot", "Case Foot"},
    {"BackPanel", "Back Panel"},
    {"FrontPanelPlate", "Front Panel"},
    {"FrontFanBracket", "Fan Bracket"},
    {"PowerSupply", "Power Supply"},
    {"AtxPowerConnector", "ATX Power Connector"},
    {"BoardStandoffs", "Motherboard Standoffs"},
    {"IntelCpuSocket", "Processor Socket"},
    {"AmdCpuSocket", "Processor Socket"},
    {"AmdProcessor", "AMD Processor"},
    {"MemorySockets", "Memory Sockets"},
    {"ClockChip", "Clock Generator"},
    {"CpuCapacitors", "Capacitors"},
    {"NorthBridgeClips", "Heatsink Clips"},
    {"CpuHeatsink", "Processor Heatsink"},
    {"HeatPipeFins", "Heat Pipe Fins"},
    {"VideoChip", "Video Chip"},
    {"FrontUsbBoard", "Front USB Board"},
    {"FireWirePort", "FireWire Port"},
    {"CardReaderShelf", "Memory Card Reader"},
    {"CardReaderSlot", "Memory Card Reader"},
    {"DiskLabel", "Hard Disk"},
    {"DiskDataConnector", "Hard Disk"},
    {"DiskPowerConnector", "Hard Disk"},
    {"DiskCircuitBoard", "Hard Disk"},
    {"DiskSpindleCover", "Hard Disk"},
    {"DiskScrew", "Hard Disk"},
    {"DiskJumper", "Hard Disk"},
    {"TrayLine", "DVD/CD Drive"},
    {"EjectButton", "DVD/CD Drive"},
    {"ActivityLed", "DVD/CD Drive"},
    {"HeadphoneJack", "DVD/CD Drive"},
    {"VolumeWheel", "DVD/CD Drive"},
    {"EmergencyEject", "DVD/CD Drive"},
    {"DriveLogo", "DVD/CD Drive"},
    {"TopScrewLeft", "DVD/CD Drive"},
    {"TopScrewRight", "DVD/CD Drive"},
    {"SideScrewFront", "DVD/CD Drive"},
    {"SideScrewBack", "DVD/CD Drive"},
    {"DriveAudioOut", "DVD/CD Drive"},
    {"DriveDataConnector", "DVD/CD Drive"},
    {"DriveJumpers", "DVD/CD Drive"},
    {"DrivePowerConnector", "DVD/CD Drive"},
    {"DriveVents", "DVD/CD Drive"},
    {"DriveSerialLabel", "DVD/CD Drive"},
    {"BottomPlate", "DVD/CD Drive"},
    {"SideRailLeft", "DVD/CD Drive"},
    {"SideRailRight", "DVD/CD Drive"},
    {"BezelTrim", "DVD/CD Drive"},
    {"SpareSlotRiser", "Slot Riser"},
    {"CardBracket", "PCI Card"},
    {"CardChip", "PCI Card"},
    {"GpuHeatsink", "Video Card Cooler"},
    {"GpuFan", "Video Card Cooler"},
    {"VideoBracket", "AGP Card"},
    {"VideoVgaOut", "AGP Card"},
    {"VideoDviOut", "AGP Card"},
    {"VideoMemoryFront", "AGP Card"},
    {"VideoPowerPins", "AGP Card"},
    {"VideoCapacitors", "AGP Card"},
    {"VideoMemoryBack", "AGP Card"},
    {"VideoLabel", "AGP Card"},
    {"UsbKeyboard", "USB Keyboard"},
    {"AxisOrigin", "Axes"},
    {"AxisX", "X Axis"},
    {"AxisY", "Y Axis"},
    {"AxisZ", "Z Axis"},
    {"BasePlate", "Desk"},
}};

std::optional<std::string_view> partLabel(std::string_view frameName) {
    std::optional<std::string_view> label;
    for (const auto& row : kPartTable)
        if (row.frameName == frameName) label = row.label;
    return label;
}

std::optional<IdentifiedPart> identifyPart(const FramePtr& root, const FramePtr& hit) {
    const std::vector<FramePtr> path = engine3d::framePath(root, hit);
    for (auto it = path.rbegin(); it != path.rend(); ++it)
        if (const auto label = partLabel((*it)->ObjectName)) return IdentifiedPart{*it, *label};
    return std::nullopt;
}

FramePtr find_part(VirtualPc& pc, const FramePtr& hit, const FramePtr& root) {
    pc.PickedFrameName = hit ? hit->ObjectName : std::string();
    // A removed part's ghost is named as the part that is gone.
    if (const ChangeMark* mark = changeMarkAt(pc, hit); mark && mark->change.kind == ChangeKind::Removed) {
        pc.PickedPartLabel = ghostLabel(*mark);
        return mark->frame;
    }
    const auto part = identifyPart(root ? root : pc.PcRoot, hit);
    pc.PickedPartLabel = part ? std::string(part->label) : std::string();
    return part ? part->frame : nullptr;
}

}  // namespace vantrel::model
