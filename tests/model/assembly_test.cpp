// The generated media and the assembly: every file there and readable, the
// scene's shape, the chains, a missing file losing one part, the display modes.

#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <set>

#include "engine3d/device/light_levels.h"
#include "engine3d/math/d3d_math.h"
#include "model/assembly.h"
#include "model/display_modes.h"
#include "model/mesh_prefetch.h"
#include "model/model_fixture.h"
#include "model/part_table.h"

namespace vantrel::model {
namespace {

using namespace engine3d;
namespace fs = std::filesystem;

class AssembledPc : public ::testing::Test {
protected:
    void SetUp() override { test::assemble(pc, device); }
    VirtualPc pc;
    RecordingDevice device;
};

TEST(ModelMedia, TheBuildGeneratesExactlyTheFilesTheAssemblyLoads) {
    const auto files = modelFiles();
    EXPECT_EQ(files.size(), 248u);
    std::set<std::string> onDisk;
    for (const auto& entry : fs::directory_iterator(test::mediaFolder()))
        if (entry.path().extension() == ".x") onDisk.insert(entry.path().filename().string());
    EXPECT_EQ(onDisk, std::set<std::string>(files.begin(), files.end()));
}

TEST_F(AssembledPc, EveryFileLoadsAndOnlyTheFixedPartsStayShown) {
    EXPECT_TRUE(pc.failedLoads.empty()) << pc.failedLoads.front();
    EXPECT_TRUE(pc.ModelReady);
    EXPECT_FALSE(pc.AssemblyBusy);
    EXPECT_EQ(device.GetRenderState(D3DRS_AMBIENT), engine3d::kBrightAmbient);
    ASSERT_EQ(pc.parts().size(), 187u);
    std::vector<std::string> shown;
    for (const auto& part : pc.parts()) {
        if (part.frame->Enabled) shown.push_back(part.name);
        EXPECT_GT(part.frame->GetChildFrameCount(), 0u) << part.name << " holds nothing";
    }
    EXPECT_EQ(shown, (std::vector<std::string>{"BodyFrame", "Ps2PortsFrame", "NorthBridgeExtrasFrame", "AxesFrame",
                                               "BaseFrame"}));
}

TEST_F(AssembledPc, SceneRootHoldsPcRootThroughOneFrameAndTheTrackballTurnsPcRoot) {
    ASSERT_TRUE(pc.SceneRoot);
    ASSERT_EQ(pc.SceneRoot->GetChildFrameCount(), 1u);
    const auto middle = pc.SceneRoot->GetChildFrame(0);
    ASSERT_EQ(middle->GetChildFrameCount(), 1u);
    EXPECT_EQ(middle->GetChildFrame(0), pc.PcRoot);
    EXPECT_EQ(pc.ModelFrame, pc.PcRoot);
    ASSERT_EQ(pc.PcRoot->GetChildFrameCount(), 187u);
    for (DWORD i = 0; i < 187; ++i) EXPECT_EQ(pc.PcRoot->GetChildFrame(i), pc.parts()[i].frame);
}

TEST_F(AssembledPc, ChainsDrawRepeatedBaysAndCardsAtTheirSummedOffsets) {
    showAllParts(pc);
    // x of every drawn instance of a named part, by name.
    std::map<std::string, std::vector<float>> xs, ys;
    for (const auto& d : test::drawnFrames(pc)) {
        xs[d.name].push_back(d.box.lo.x);
        ys[d.name].push_back(d.box.lo.y);
    }
    const auto& disks = xs["Frame29Cylinder_3"];
    ASSERT_EQ(disks.size(), 3u);  // each bay once
    std::set<int> diskSteps;
    for (float x : disks) diskSteps.insert(static_cast<int>(std::lround((x - disks[0]) * 10)));
    EXPECT_EQ(diskSteps, (std::set<int>{0, 29, 58}));
    const auto& drives = ys["Frame9Cube_4"];
    std::set<int> driveSteps;
    for (float y : drives) driveSteps.insert(static_cast<int>(std::lround((y - drives[0]) * 10)));
    EXPECT_EQ(driveSteps, (std::set<int>{0, 9, 18}));
    const auto& cards = xs["Frame44Cube_20"];
    ASSERT_EQ(cards.size(), 7u);
    std::set<int> cardSteps;
    for (float x : cards) cardSteps.insert(static_cast<int>(std::lround((cards[0] - x) * 10)));
    EXPECT_EQ(cardSteps, (std::set<int>{0, 3, 6, 9, 12, 15, 17}));
    // Memory modules 0.2 apart, the fourth only 0.1 behind the third.
    EXPECT_NEAR(pc.MemoryModuleFrame[2]->GetPosition().z, 0.2f, 1e-6);
    EXPECT_NEAR(pc.MemoryModuleFrame[3]->GetPosition().z, 0.4f, 1e-6);
    EXPECT_NEAR(pc.MemoryModuleFrame[4]->GetPosition().z, 0.5f, 1e-6);
    EXPECT_NEAR(pc.AxesFrame->GetPosition().x, 7.0f, 1e-6);
    EXPECT_NEAR(pc.AxesFrame->GetPosition().z, 6.0f, 1e-6);
}

TEST_F(AssembledPc, AChainIsSeenOnlyWhileEveryFrameOnItIsEnabled) {
    pc.HardDiskFrame[3]->Enabled = true;
    pc.ExpansionCardFrame[2]->Enabled = true;
    int disks = 0, cards = 0;
    for (const auto& d : test::drawnFrames(pc)) {
        disks += d.name == "Frame29Cylinder_3";
        cards += d.name == "Frame44Cube_20";
    }
    EXPECT_EQ(disks, 0);
    EXPECT_EQ(cards, 0);
    pc.ExpansionCardFrame[1]->Enabled = true;
    cards = 0;
    for (const auto& d : test::drawnFrames(pc)) cards += d.name == "Frame44Cube_20";
    EXPECT_EQ(cards, 2);  // card 1 in its place, and again through card 2
}

// Every frame and mesh under frame, depth first, as one line per frame.
std::string sceneShape(const FramePtr& frame, int depth = 0) {
    std::string shape = std::string(static_cast<std::size_t>(depth), ' ') + frame->ObjectName + " " +
                        std::to_string(frame->GetChildMeshCount()) + "\n";
    for (DWORD i = 0; i < frame->GetChildFrameCount(); ++i) shape += sceneShape(frame->GetChildFrame(i), depth + 1);
    return shape;
}

TEST(ModelAssembly, AMissingFileLosesThatOneLoadAndTheRestIsBuiltWhetherReadAheadOrInPlace) {
    const fs::path folder = fs::temp_directory_path() / ("vantrel_media_" + std::to_string(::getpid()));
    fs::remove_all(folder);
    fs::copy(test::mediaFolder(), folder);
    fs::remove(folder / "vm23.x");
    {
        std::ofstream broken(folder / "vm280.x", std::ios::trunc);
        broken << "xof 0303txt 0032\nFrame Frame44Cube_20 { Mesh { 3; 0;0;0;, 1;0;";
    }
    std::vector<std::string> shapes;
    for (const bool readAhead : {false, true}) {
        SCOPED_TRACE(readAhead ? "read ahead" : "read in place");
        VirtualPc pc;
        RecordingDevice device;
        pc.MediaFolder = folder.string() + "/";
        std::optional<MeshPrefetch> prefetch;
        if (readAhead) prefetch.emplace(pc.MediaFolder, modelFiles());
        load_start(pc, device, prefetch ? &*prefetch : nullptr);
        EXPECT_EQ(pc.failedLoads, (std::vector<std::string>{"vm23.x", "vm280.x"}));
        EXPECT_EQ(pc.IntelCpuFrame->GetChildFrameCount(), 0u);
        EXPECT_GT(pc.AmdCpuFrame->GetChildFrameCount(), 0u);
        EXPECT_TRUE(pc.ModelReady);
        EXPECT_EQ(pc.PcRoot->GetChildFrameCount(), 187u);
        shapes.push_back(sceneShape(pc.SceneRoot));
    }
    fs::remove_all(folder);
    EXPECT_EQ(shapes[0], shapes[1]);
}

TEST(ModelAssembly, AReadAheadLeftUnusedOrAskedForOtherFilesStopsCleanly) {
    {
        MeshPrefetch unused(test::mediaFolder(), modelFiles());
    }
    MeshPrefetch prefetch(test::mediaFolder(), {"vm1.x", "no-such-file.x"});
    EXPECT_TRUE(prefetch.take("vm1.x").has_value());
    EXPECT_FALSE(prefetch.take("no-such-file.x").has_value());  // the assembly reads it and says why
    EXPECT_FALSE(prefetch.take("vm2.x").has_value());           // not in the list
    // Taken twice: each part sharing a file gets the whole file.
    auto first = prefetch.take("vm1.x"), second = prefetch.take("vm1.x");
    ASSERT_TRUE(first && second);
    int firstObjects = 0, secondObjects = 0;
    while (first->next()) ++firstObjects;
    while (second->next()) ++secondObjects;
    EXPECT_GT(firstObjects, 0);
    EXPECT_EQ(firstObjects, secondObjects);
}

TEST(ModelAssembly, AWrongMediaFolderGivesAnEmptyModelThatStillWorks) {
    VirtualPc pc;
    RecordingDevice device;
    pc.MediaFolder = "/nonexistent/vantrel/media/";
    int renders = 0;
    pc.hooks.renderScene = [&] { ++renders; };
    load_start(pc, device);
    EXPECT_EQ(pc.failedLoads.size(), 263u);  // 248 files, five of them in all four memory modules
    EXPECT_TRUE(pc.ModelReady);
    EXPECT_EQ(renders, 1);
    showAllParts(pc);
    test::applyDefaultView(device);
    EXPECT_EQ(test::pickAt(device, pc, 400, 300), "");
}

TEST(ModelAssembly, ASecondAssemblyWhileOneRunsReturnsAtOnce) {
    VirtualPc pc;
    RecordingDevice device;
    pc.MediaFolder = test::mediaFolder();
    int nested = 0;
    pc.hooks.doEvents = [&] {
        // A window event arriving between two loads asks for the model again.
        if (nested++ == 0) load_start(pc, device);
    };
    std::vector<bool> pointer;
    pc.hooks.setBusyPointer = [&](bool busy) { pointer.push_back(busy); };
    load_start(pc, device);
    EXPECT_EQ(pointer, (std::vector<bool>{true, false}));
    EXPECT_EQ(nested, 263) << "one load per event break, none from the refused second call";
    EXPECT_TRUE(pc.failedLoads.empty());
    EXPECT_FALSE(pc.AssemblyBusy);
}

TEST(ModelAssembly, AFailureInTheMiddlePassesToTheCallerWithoutLeavingTheGuardSet) {
    VirtualPc pc;
    RecordingDevice device;
    pc.MediaFolder = test::mediaFolder();
    int loads = 0;
    pc.hooks.doEvents = [&] {
        if (++loads == 40) throw Error("the window went away");
    };
    std::vector<bool> pointer;
    pc.hooks.setBusyPointer = [&](bool busy) { pointer.push_back(busy); };
    EXPECT_THROW(load_start(pc, device), Error);
    EXPECT_FALSE(pc.AssemblyBusy);
    EXPECT_FALSE(pc.ModelReady);
    EXPECT_EQ(pointer, (std::vector<bool>{true, false}));
}

TEST_F(AssembledPc, ResetAfterTheAllPartsViewLeavesTheFixedPartsAndTheTogglesAlone) {
    showAllParts(pc);
    int shownOptional = 0;
    for (const auto& part : pc.parts()) shownOptional += part.optional && part.frame->Enabled;
    EXPECT_EQ(shownOptional, 161);
    EXPECT_FALSE(pc.UsbMouseFrame[2]->Enabled);
    EXPECT_TRUE(pc.UsbDeviceCommonFrame[8]->Enabled);
    toggleBase(pc);
    EXPECT_FALSE(pc.BaseFrame->Enabled);
    EXPECT_FALSE(pc.baseIndicatorLit);
    pc.Ps2PortsFrame->Enabled = false;
    pc.UsbDeviceCount = 3;
    resetModel(pc);
    for (const auto& part : pc.parts()) {
        if (part.optional) {
            EXPECT_FALSE(part.frame->Enabled) << part.name;
        }
    }
    EXPECT_EQ(pc.UsbDeviceCount, 0);
    EXPECT_FALSE(pc.BaseFrame->Enabled);
    EXPECT_FALSE(pc.Ps2PortsFrame->Enabled);
    EXPECT_TRUE(pc.AxesFrame->Enabled);
    toggleBase(pc);
    toggleAxes(pc);
    toggleAxes(pc);
    EXPECT_TRUE(pc.BaseFrame->Enabled && pc.BaseShown && pc.baseIndicatorLit);
    EXPECT_TRUE(pc.AxesFrame->Enabled && pc.AxesShown && pc.axesIndicatorLit);
}

TEST_F(AssembledPc, TheDefaultCameraSeesTheWholeCaseOnItsDesk) {
    int corners = 0;
    for (const auto& d : test::drawnFrames(pc)) {
        if (d.path != "BodyFrame" && d.path != "BaseFrame") continue;
        for (float x : {d.box.lo.x, d.box.hi.x})
            for (float y : {d.box.lo.y, d.box.hi.y})
                for (float z : {d.box.lo.z, d.box.hi.z}) {
                    const D3DVECTOR at = test::project(device, {x, y, z});
                    EXPECT_TRUE(at.x >= 0 && at.x <= test::kViewWidth && at.y >= 0 && at.y <= test::kViewHeight)
                        << d.name << " corner (" << x << ", " << y << ", " << z << ") is out of view";
                    ++corners;
                }
    }
    EXPECT_GT(corners, 100);
}

TEST_F(AssembledPc, EveryNameOfThePartTableIsAFrameOfTheMedia) {
    showAllParts(pc);
    std::set<std::string> names;
    for (const auto& d : test::drawnFrames(pc)) names.insert(d.name);
    for (const auto& row : kPartTable) EXPECT_TRUE(names.count(std::string(row.frameName))) << '"' << row.frameName << '"';
}

// Seen from straight in front, a pick at the projected centre of each part a
// report can show names that part: it is where its box says and nothing
// hides its middle.
TEST_F(AssembledPc, InTheAllPartsViewAPickAtEachNamedPartsCentreNamesIt) {
    showAllParts(pc);
    device.SetTransform(D3DTS_VIEW, D3DXMatrixLookAtLH({0, 0, -10}, {0, 0, 0}, {0, 1, 0}));
    std::set<std::string_view> partNames;
    for (std::size_t row = 0; row < kStructureRowsFrom; ++row) partNames.insert(kPartTable[row].frameName);
    int checked = 0;
    for (const auto& d : test::drawnFrames(pc)) {
        const auto expected = partLabel(d.name);
        if (!expected || !partNames.count(d.name)) continue;
        ++checked;
        const D3DVECTOR at = test::project(device, d.box.centre());
        EXPECT_TRUE(at.x >= 0 && at.x < test::kViewWidth && at.y >= 0 && at.y < test::kViewHeight)
            << d.name << " of " << d.path << " is outside the default view";
        pc.PickedPartLabel = "none";
        find_part(pc, test::pickFrameAt(device, pc, at.x, at.y));
        EXPECT_EQ(pc.PickedPartLabel, *expected) << d.name << " of " << d.path << " hidden by \"" << pc.PickedFrameName << '"';
    }
    EXPECT_GT(checked, 150);
}

// Seen from behind, the sockets show through the back panel's openings.
TEST_F(AssembledPc, FromBehindAPickAtEachBackSocketNamesIt) {
    showAllParts(pc);
    device.SetTransform(D3DTS_VIEW, D3DXMatrixLookAtLH({0, -1, 22}, {0, -1, 0}, {0, 1, 0}));
    const std::set<std::string> sockets = {"Frame5Cube_12", "Frame5Cube_1", "Frame1Cube_11", "Frame5Cube_83",
                                           "Cube_11-8",     "Frame1Cube_2209", "Frame91Cube_32"};
    std::set<std::string> seen;
    for (const auto& d : test::drawnFrames(pc)) {
        if (!sockets.count(d.name) || !seen.insert(d.name).second) continue;
        const D3DVECTOR at = test::project(device, d.box.centre());
        pc.PickedPartLabel = "none";
        find_part(pc, test::pickFrameAt(device, pc, at.x, at.y));
        EXPECT_EQ(pc.PickedPartLabel, *partLabel(d.name)) << d.name << " hidden by \"" << pc.PickedFrameName << '"';
    }
    EXPECT_EQ(seen, sockets);
}

// Every frame with a mesh belongs to a named part, and a click on it names a
// part: its own, or the one in front of it, never the label of a click before.
TEST_F(AssembledPc, AClickOnAnyDrawnFrameNamesAPart) {
    for (const auto& part : pc.parts()) part.frame->Enabled = true;
    int named = 0;
    for (const auto& d : test::drawnFrames(pc)) {
        const auto own = identifyPart(pc.PcRoot, d.frame);
        ASSERT_TRUE(own) << '"' << d.name << "\" of " << d.path << " has no part name";
        EXPECT_EQ(own->frame, d.frame) << d.name;
        const D3DVECTOR at = test::project(device, d.box.centre());
        const FramePtr hit = test::pickFrameAt(device, pc, at.x, at.y);
        ASSERT_NE(hit, nullptr) << d.name << " of " << d.path;
        pc.PickedPartLabel = "stale";
        find_part(pc, hit);
        EXPECT_EQ(pc.PickedPartLabel, identifyPart(pc.PcRoot, hit)->label) << d.name << " of " << d.path;
        EXPECT_FALSE(pc.PickedPartLabel.empty()) << d.name;
        ++named;
    }
    EXPECT_GT(named, 300);
}

// Parts that a report can show together never cut through each other: with
// every part on, the boxes of frames of different parts share no volume.
TEST_F(AssembledPc, NoTwoPartsCutThroughEachOther) {
    for (const auto& part : pc.parts()) part.frame->Enabled = true;
    const auto drawn = test::drawnFrames(pc);
    constexpr float kTouch = 0.002f;  // faces may touch
    auto overlap = [&](const test::Box& a, const test::Box& b) {
        return a.lo.x + kTouch < b.hi.x && b.lo.x + kTouch < a.hi.x && a.lo.y + kTouch < b.hi.y &&
               b.lo.y + kTouch < a.hi.y && a.lo.z + kTouch < b.hi.z && b.lo.z + kTouch < a.hi.z;
    };
    for (std::size_t i = 0; i < drawn.size(); ++i)
        for (std::size_t j = i + 1; j < drawn.size(); ++j) {
            if (drawn[i].path == drawn[j].path) continue;
            EXPECT_FALSE(overlap(drawn[i].box, drawn[j].box))
                << drawn[i].name << " of " << drawn[i].path << " cuts " << drawn[j].name << " of " << drawn[j].path;
        }
}

// Every picture a mesh file names is generated next to it, so no surface of
// the model falls back to plain colour.
TEST(ModelMedia, EveryPictureTheMeshFilesNameIsInTheMediaFolder) {
    VirtualPc pc;
    RecordingDevice device;
    device.setTextureFolder(test::mediaFolder());
    test::assemble(pc, device);
    for (const auto& part : pc.parts()) part.frame->Enabled = true;
    std::set<std::string> named;
    for (const auto& d : test::drawnFrames(pc))
        for (DWORD i = 0; i < d.frame->GetChildMeshCount(); ++i) {
            const auto mesh = d.frame->GetChildMesh(i);
            for (DWORD m = 0; m < mesh->GetMaterialCount(); ++m) {
                if (mesh->GetTextureName(m).empty()) continue;
                named.insert(mesh->GetTextureName(m));
                EXPECT_NE(mesh->GetMaterialTexture(m), nullptr) << mesh->GetTextureName(m) << " of " << d.name;
            }
        }
    EXPECT_GT(named.size(), 15u);
}

TEST(ModelMedia, DebiansAssimpReadsTheGeneratedFiles) {
    const std::string tool = VANTREL_ASSIMP_TOOL;
    if (tool.empty()) GTEST_SKIP() << "assimp-utils is not installed";
    // vm9, vm25 and vm206a hold bent tubes, chamfered blocks and frames sharing a name.
    for (const char* file : {"vm1.x", "vm_ps2.x", "vid1.x", "vm969.x", "sata4.x", "cad_xyz.x", "vm9.x", "vm25.x", "vm206a.x"}) {
        const std::string command = tool + " info '" + test::mediaFolder() + file + "' > /dev/null 2>&1";
        EXPECT_EQ(std::system(command.c_str()), 0) << file;
    }
}

}  // namespace
}  // namespace vantrel::model
