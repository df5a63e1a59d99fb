// The part table and the naming of a picked frame by the nearest named frame
// above it.

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "model/part_table.h"

namespace vantrel::model {
namespace {

TEST(PartTable, LabelsOfNamesWhole) {
    struct Case {
        const char* name;
        const char* label;  // null: not in the table
    };
    const Case cases[] = {
        {"Frame5Cube_12", "USB 1 (Back)"},  {"Frame5Cube_1211", "USB 9 (Front)"},
        {"Frame1Cube_11", "Serial 1"},      {"Frame5Cube_1", "Ethernet 1"},
        {"Cube-56", "SD/MMC USB Device"},   {"Cube_60-4", "PCMIA Socket"},
        {"Cube_1-17 ", "SATA Connector"},   {"Cube_1-17", nullptr},
        {"frame0cube", nullptr},            {"CpuHeatsink", "Processor Heatsink"},
        {"PowerSupply", "Power Supply"},    {"FireWirePort", "FireWire Port"},
        {"EjectButton", "DVD/CD Drive"},    {"GpuFan", "Video Card Cooler"},
        {"", nullptr},
    };
    for (const auto& c : cases) {
        const auto label = partLabel(c.name);
        if (c.label) {
            EXPECT_EQ(label, c.label) << '"' << c.name << '"';
        } else {
            EXPECT_FALSE(label) << '"' << c.name << '"';
        }
    }
}

TEST(PartTable, EachNameIsListedOnceAndOnlyThePcCardSocketIsOne) {
    std::set<std::string_view> names;
    int pcCardSockets = 0;
    for (const auto& row : kPartTable) {
        EXPECT_TRUE(names.insert(row.frameName).second) << '"' << row.frameName << '"';
        EXPECT_FALSE(row.label.empty()) << row.frameName;
        if (row.label == "PCMIA Socket") ++pcCardSockets;
    }
    EXPECT_EQ(pcCardSockets, 1);
}

TEST(PartIdentification, AFrameWithoutANameTakesTheNameOfTheNearestNamedFrameAbove) {
    VirtualPc pc;
    const FramePtr board = engine3d::NewChildFrame(pc.BodyFrame);
    board->ObjectName = "Frame0Cube";  // "Motherboard"
    const FramePtr chip = engine3d::NewChildFrame(board);
    const FramePtr pin = engine3d::NewChildFrame(chip);
    pin->ObjectName = "NotInTheTable";
    const FramePtr loose = engine3d::NewChildFrame(pc.BodyFrame);
    const FramePtr elsewhere = engine3d::CD3DFrame::Create();
    for (const auto& part : pc.parts()) pc.PcRoot->AddChild(part.frame);
    struct Case {
        FramePtr hit;
        std::string label;
        FramePtr part;
    };
    const Case cases[] = {{board, "Motherboard", board}, {chip, "Motherboard", board}, {pin, "Motherboard", board},
                          {loose, "", nullptr},          {elsewhere, "", nullptr},     {nullptr, "", nullptr}};
    for (const auto& c : cases) {
        pc.PickedPartLabel = "stale";
        EXPECT_EQ(find_part(pc, c.hit), c.part) << pc.PickedFrameName;
        EXPECT_EQ(pc.PickedPartLabel, c.label) << pc.PickedFrameName;
        EXPECT_EQ(pc.PickedFrameName, c.hit ? c.hit->ObjectName : "");
    }
}

}  // namespace
}  // namespace vantrel::model
