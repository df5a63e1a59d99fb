// Changes between two scans drawn on the virtual PC: which part each change
// tints, where a removed part's ghost stands, what a click on it names, and
// the picture `render` draws of two stored scans.

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <functional>
#include <optional>
#include <string>

#include "model/change_marks.h"
#include "model/display_modes.h"
#include "model/model_fixture.h"
#include "model/part_table.h"
#include "render_gl/image_file.h"
#include "support/run_program.h"
#include "support/temp_folder.h"

namespace vantrel::model {
namespace {

using engine3d::MaterialTint;

class MarkedPc : public ::testing::Test {
protected:
    void SetUp() override {
        test::assemble(pc, device);
        // What a report of two disks, one module and a graphics card lights.
        for (const auto& frame : {pc.HardDiskFrame[1], pc.HardDiskFrame[2], pc.MemoryModuleFrame[1], pc.VideoCardFrame})
            frame->Enabled = true;
    }
    const ChangeMark& markOf(const std::string& name) {
        const auto found = std::find_if(pc.changeMarks.begin(), pc.changeMarks.end(),
                                        [&](const ChangeMark& m) { return m.change.name == name; });
        EXPECT_NE(found, pc.changeMarks.end()) << name;
        return *found;
    }
    VirtualPc pc;
    engine3d::RecordingDevice device;
};

TEST_F(MarkedPc, EachChangeTintsItsPartAndRemovedPartsStandWhereTheyWereAsGhosts) {
    markChanges(pc, {
                        {"Memory", ChangeKind::Changed, 1, "DIMM 1: 16 GiB"},
                        {"Memory", ChangeKind::Removed, 2, "DIMM 2: 8 GiB"},
                        {"Video", ChangeKind::Added, 2, "Example Graphics 500"},
                        {"Disk Drive", ChangeKind::Added, 2, "Example HD 4T (serial HD-C3)"},
                        {"Disk Drive", ChangeKind::Removed, 2, "Example HD 4T (serial HD-B2)"},
                        {"Disk Drive", ChangeKind::Removed, 1, "Example SSD 1T"},
                        {"BIOS", ChangeKind::Changed, 1, "Example BIOS version 2"},
                    });
    const struct {
        const char* name;
        FramePtr frame;
        std::optional<MaterialTint> tint;
    } cases[] = {
        {"DIMM 1: 16 GiB", pc.MemoryModuleFrame[1], kChangedTint},
        {"DIMM 2: 8 GiB", pc.MemoryModuleFrame[2], kRemovedGhost},         // its own place is empty
        {"Example Graphics 500", pc.VideoCardFrame, kAddedTint},
        {"Example HD 4T (serial HD-C3)", pc.HardDiskFrame[2], kAddedTint},
        {"Example HD 4T (serial HD-B2)", nullptr, std::nullopt},            // the new disk took its place
        {"Example SSD 1T", pc.HardDiskFrame[3], kRemovedGhost},            // its place is taken: the next empty one
        {"Example BIOS version 2", nullptr, std::nullopt},                 // no part of the model
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const ChangeMark& mark = markOf(c.name);
        EXPECT_EQ(mark.frame, c.frame);
        if (c.frame) {
            EXPECT_TRUE(c.frame->Enabled);
            EXPECT_EQ(c.frame->Tint, c.tint);
        }
    }
    EXPECT_FALSE(pc.HardDiskFrame[1]->Tint);
    EXPECT_FALSE(pc.MemoryModuleFrame[3]->Enabled);

    // The model reset takes every mark away: the ghosts go, the parts stay untinted.
    resetModel(pc);
    EXPECT_TRUE(pc.changeMarks.empty());
    for (const auto& part : pc.parts()) {
        EXPECT_FALSE(part.frame->Tint) << part.name;
    }
    EXPECT_FALSE(pc.MemoryModuleFrame[2]->Enabled);
    EXPECT_FALSE(pc.HardDiskFrame[3]->Enabled);
}

TEST_F(MarkedPc, AHitOnAGhostFindsItsMarkAndMarkingAgainClearsTheOldMarks) {
    markChanges(pc, {{"Memory", ChangeKind::Removed, 2, "DIMM 2: 8 GiB"}, {"Memory", ChangeKind::Changed, 1, "DIMM 1"}},
                "2026-12-10 06:00:00 UTC");
    // A mesh frame deep in the ghost, as a pick hits it.
    FramePtr deep = pc.MemoryModuleFrame[2];
    while (deep->GetChildFrameCount() > 0) deep = deep->GetChildFrame(0);
    ASSERT_NE(deep, pc.MemoryModuleFrame[2]);
    const ChangeMark* mark = changeMarkAt(pc, deep);
    ASSERT_NE(mark, nullptr);
    EXPECT_EQ(mark->change.name, "DIMM 2: 8 GiB");
    EXPECT_EQ(changeMarkAt(pc, pc.HardDiskFrame[1]), nullptr);
    EXPECT_EQ(changeMarkAt(pc, nullptr), nullptr);
    // A click names the part that is gone; on a changed part, the part as always.
    EXPECT_EQ(find_part(pc, deep), pc.MemoryModuleFrame[2]);
    EXPECT_EQ(pc.PickedPartLabel, "Removed: DIMM 2: 8 GiB (last seen 2026-12-10 06:00:00 UTC)");
    FramePtr present = pc.MemoryModuleFrame[1];
    while (present->GetChildFrameCount() > 0) present = present->GetChildFrame(0);
    find_part(pc, present);
    EXPECT_EQ(pc.PickedPartLabel.find("Removed"), std::string::npos) << pc.PickedPartLabel;
    EXPECT_FALSE(pc.PickedPartLabel.empty());

    markChanges(pc, {{"Memory", ChangeKind::Added, 1, "DIMM 1: 8 GiB"}});
    EXPECT_FALSE(pc.MemoryModuleFrame[2]->Enabled);
    EXPECT_FALSE(pc.MemoryModuleFrame[2]->Tint);
    EXPECT_EQ(pc.MemoryModuleFrame[1]->Tint, kAddedTint);
    EXPECT_EQ(changeMarkAt(pc, deep), nullptr);
}

// The screen point of a part's middle in the default view, with every part shown.
engine3d::D3DVECTOR partCentre(const VirtualPc& pc, const engine3d::RenderDevice& device, const std::string& part) {
    test::Box box;
    for (const auto& d : test::drawnFrames(pc)) {
        if (d.path != part) continue;
        box.lo = {std::min(box.lo.x, d.box.lo.x), std::min(box.lo.y, d.box.lo.y), std::min(box.lo.z, d.box.lo.z)};
        box.hi = {std::max(box.hi.x, d.box.hi.x), std::max(box.hi.y, d.box.hi.y), std::max(box.hi.z, d.box.hi.z)};
    }
    EXPECT_LT(box.lo.x, box.hi.x) << part << " is not drawn";
    return test::project(device, box.centre());
}

// The mean colour of the 5 x 5 pixels around a point.
std::array<int, 3> colourAt(const render_gl::RgbaImage& image, const engine3d::D3DVECTOR& at) {
    std::array<int, 3> sum{0, 0, 0};
    for (int dy = -2; dy <= 2; ++dy)
        for (int dx = -2; dx <= 2; ++dx) {
            const auto* p = image.pixel(static_cast<int>(at.x) + dx, static_cast<int>(at.y) + dy);
            for (int c = 0; c < 3; ++c) sum[static_cast<std::size_t>(c)] += p[c];
        }
    for (int& v : sum) v /= 25;
    return sum;
}

std::string profileWith(const std::function<void(nlohmann::ordered_json&)>& change) {
    auto profile = nlohmann::ordered_json::parse(vantrel::test::readBytes(VANTREL_STORE_TEST_DATA "/workstation.json"));
    change(profile["namespaces"]["root\\cimv2"]);
    return profile.dump(2);
}

TEST(RenderCompare, TwoStoredScansDrawTheAddedPartGreenTheChangedAmberAndTheRemovedAsARedGhost) {
    vantrel::test::TempFolder home, io;
    vantrel::test::writeBytes(home.path() / "vantrel.ini", "admin\r\nsecret\r\n0\r\n0\r\n0\r\n0\r\nNAME\r\n0\r\nroot\\cimv2\r\n");
    vantrel::test::writeBytes(home.path() / "lg.ini", "WS-7\r\n10.213.9.7\r\nWS-7\r\nTrue\r\n\r\n\r\nScanned\r\n");
    const nlohmann::ordered_json chip{{"Description", "Example UHD Graphics 630"},
                                      {"AdapterRAM", 1073741824},
                                      {"DriverVersion", "31.0.1"},
                                      {"PNPDeviceID", "PCI\\VEN_1234&DEV_0630\\0"}};
    // Before: two disks, two modules and the processor's graphics. After: the
    // second disk and module taken out, the first module another size, a
    // graphics card put in.
    vantrel::test::writeBytes(io.path() / "before.json", profileWith([&](auto& classes) {
                                  classes["Win32_VideoController"] = nlohmann::ordered_json::array({chip});
                              }));
    vantrel::test::writeBytes(io.path() / "after.json", profileWith([&](auto& classes) {
                                  classes["Win32_DiskDrive"].erase(1);
                                  classes["Win32_PhysicalMemory"].erase(1);
                                  classes["Win32_PhysicalMemory"][0]["Capacity"] = "17179869184";
                                  classes["Win32_VideoController"] = nlohmann::ordered_json::array(
                                      {chip, {{"Description", "Example Graphics 500"},
                                              {"AdapterRAM", 4294967295},
                                              {"DriverVersion", "31.0.1"},
                                              {"PNPDeviceID", "PCI\\VEN_1234&DEV_0500\\0"}}});
                              }));
    auto cli = [&](std::vector<std::string> args) {
        args.insert(args.begin(), {"--home", home.path().string()});
        return vantrel::test::runProgram(VANTREL_CLI_PATH, args, io.path());
    };
    for (const char* profile : {"before.json", "after.json"}) {
        const auto scan = cli({"scan", "--node", "WS-7", "--profile", (io.path() / profile).string()});
        ASSERT_EQ(scan.status, 0) << scan.err;
    }
    const std::string changes = (io.path() / "changes.png").string(), plain = (io.path() / "plain.png").string();
    for (const auto& [scans, png] : {std::pair{"1,2", changes}, std::pair{"2,2", plain}}) {
        const auto render = cli({"render", "--node", "ws-7", "--scans", scans, "--size", "800x600", "--background",
                                 "0xFF000000", "--png", png});
        ASSERT_EQ(render.status, 0) << render.err;
    }
    const auto marked = render_gl::readImageFile(changes);
    const auto unmarked = render_gl::readImageFile(plain);
    ASSERT_TRUE(marked && unmarked);

    VirtualPc pc;
    engine3d::RecordingDevice device;
    test::assemble(pc, device);
    showAllParts(pc);
    const auto changed = partCentre(pc, device, "MemoryModuleFrame[1]");
    const auto removed = partCentre(pc, device, "HardDiskFrame[2]");
    const auto added = partCentre(pc, device, "VideoCardFrame");

    const auto amber = colourAt(*marked, changed);
    EXPECT_GT(amber[0], amber[2] + 60) << amber[0] << "," << amber[1] << "," << amber[2];
    EXPECT_GT(amber[1], amber[2] + 30) << amber[0] << "," << amber[1] << "," << amber[2];
    EXPECT_GE(amber[0], amber[1]);
    const auto green = colourAt(*marked, added);
    EXPECT_GT(green[1], green[0] + 40) << green[0] << "," << green[1] << "," << green[2];
    EXPECT_GT(green[1], green[2] + 40) << green[0] << "," << green[1] << "," << green[2];
    // The ghost lets what is behind it show, reddened.
    const auto ghost = colourAt(*marked, removed);
    const auto behind = colourAt(*unmarked, removed);
    EXPECT_GT(ghost[0] - ghost[1], behind[0] - behind[1] + 30)
        << ghost[0] << "," << ghost[1] << "," << ghost[2] << " over " << behind[0] << "," << behind[1] << "," << behind[2];
    EXPECT_GT(ghost[0] - ghost[2], behind[0] - behind[2] + 30);
    // Without changes the same parts keep their own colours.
    EXPECT_NE(colourAt(*unmarked, changed), amber);
    EXPECT_NE(colourAt(*unmarked, added), green);
}

// Two report files compare entry by entry: a third module gone is a ghost in
// the third place, another drive in the third bay is an added part.
TEST(RenderCompare, AReportComparedWithAnOlderReportFile) {
    vantrel::test::TempFolder io;
    std::string older = vantrel::test::readBytes(VANTREL_COLLECT_TEST_DATA "/office_pc.report");
    for (const auto& [from, to] : {std::pair<std::string, std::string>{"Memory\r\n2\r\n8\r\n8\r\n", "Memory\r\n3\r\n8\r\n8\r\n8\r\n"},
                                   {"SATA\r\nExample SSD 1T\r\n", "SATA\r\nExample Old Disk\r\n"}}) {
        const auto at = older.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        older.replace(at, from.size(), to);
    }
    vantrel::test::writeBytes(io.path() / "older.report", older);
    const std::string png = (io.path() / "compare.png").string();
    const auto render = vantrel::test::runProgram(
        VANTREL_CLI_PATH,
        {"--home", io.path().string(), "render", "--report", VANTREL_COLLECT_TEST_DATA "/office_pc.report", "--compare",
         (io.path() / "older.report").string(), "--background", "0xFF000000", "--png", png},
        io.path());
    ASSERT_EQ(render.status, 0) << render.err;
    const auto image = render_gl::readImageFile(png);
    ASSERT_TRUE(image);
    VirtualPc pc;
    engine3d::RecordingDevice device;
    test::assemble(pc, device);
    showAllParts(pc);
    const auto green = colourAt(*image, partCentre(pc, device, "HardDiskFrame[3]"));
    EXPECT_GT(green[1], green[0] + 40) << green[0] << "," << green[1] << "," << green[2];
    EXPECT_GT(green[1], green[2] + 40) << green[0] << "," << green[1] << "," << green[2];
}

}  // namespace
}  // namespace vantrel::model
