#include "model/assembly.h"

#include <exception>
#include <optional>
#include <set>
#include <variant>

#include "engine3d/device/light_levels.h"
#include "engine3d/math/d3d_types.h"
#include "engine3d/scene/xfile_scene_loader.h"
#include "model/display_modes.h"

namespace vantrel::model {
namespace {

using engine3d::D3DVECTOR;

struct Load {
    FramePtr frame;
    std::string file;
};
// parent shows child's subtree (a chain link).
struct Link {
    FramePtr parent, child;
};
struct Move {
    FramePtr frame;
    D3DVECTOR offset;
};
using Step = std::variant<Load, Link, Move>;

std::string numbered(const char* prefix, int n) { return prefix + std::to_string(n) + ".x"; }

// The assembly as data, in the order the files are loaded.
std::vector<Step> assemblyPlan(VirtualPc& pc) {
    std::vector<Step> s;
    auto load = [&](const FramePtr& f, std::string file) { s.push_back(Load{f, std::move(file)}); };

    for (int i = 1; i <= 15; ++i)
        if (i != 6) load(pc.BodyFrame, numbered("vm", i));
    load(pc.Ps2PortsFrame, "vm_ps2.x");
    load(pc.NorthBridgeExtrasFrame, "vm_nbc1.x");
    load(pc.NorthBridgeExtrasFrame, "vm_nbc2.x");
    load(pc.BodyFrame, "vm_sb.x");
    load(pc.NorthBridgeFrame, "vm_nb.x");
    for (int i = 1; i <= 8; ++i) load(pc.UsbPortFrame[i], numbered("vm_usb", i));
    load(pc.UsbPortFrame[9], "vm630.x");
    load(pc.UsbPortFrame[9], "vm800.x");
    for (int i = 10; i <= 16; ++i) load(pc.UsbPortFrame[i], numbered("vm", 801 + i - 10));
    struct CardGroup {
        FrameArray<8>* frames;
        int extra, first, rest;
    };
    for (const CardGroup& g : {CardGroup{&pc.FlashCardFrame, 818, 810, 811}, CardGroup{&pc.MmcCardFrame, 828, 820, 821},
                               CardGroup{&pc.SmCardFrame, 838, 830, 831}, CardGroup{&pc.MsCardFrame, 848, 840, 841}}) {
        load((*g.frames)[1], numbered("vm", g.extra));
        load((*g.frames)[1], numbered("vm", g.first));
        for (int k = 2; k <= 8; ++k) load((*g.frames)[k], numbered("vm", g.rest + k - 2));
    }
    for (int i = 1; i <= 4; ++i) load(pc.EthernetPortFrame[i], numbered("vm_eth", i));
    for (int i = 1; i <= 4; ++i) load(pc.ParallelPortFrame[i], numbered("vm_par", i));
    for (int i = 1; i <= 4; ++i) load(pc.SerialPortFrame[i], numbered("vm_ser", i));
    load(pc.BodyFrame, "vm22.x");
    load(pc.IntelCpuFrame, "vm23.x");
    load(pc.AmdCpuFrame, "vm24.x");
    load(pc.BodyFrame, "vm25.x");
    for (int i = 30; i <= 40; ++i) load(pc.HardDiskFrame[1], numbered("vm", i));

    // The second and third bays show the first again, 2.9 further right each.
    s.push_back(Link{pc.HardDiskFrame[2], pc.HardDiskFrame[1]});
    s.push_back(Move{pc.HardDiskFrame[2], {2.9f, 0, 0}});
    s.push_back(Link{pc.HardDiskFrame[3], pc.HardDiskFrame[2]});
    s.push_back(Move{pc.HardDiskFrame[3], {2.9f, 0, 0}});

    for (int i = 1; i <= 22; ++i) load(pc.OpticalDriveFrame[1], numbered("vid", i));
    s.push_back(Move{pc.OpticalDriveFrame[1], {-3.2f, 0, -3.2f}});
    s.push_back(Link{pc.OpticalDriveFrame[2], pc.OpticalDriveFrame[1]});
    s.push_back(Move{pc.OpticalDriveFrame[2], {0, 0.9f, 0}});
    s.push_back(Link{pc.OpticalDriveFrame[3], pc.OpticalDriveFrame[2]});
    s.push_back(Move{pc.OpticalDriveFrame[3], {0, 0.9f, 0}});

    for (int i = 80; i <= 90; ++i) load(pc.VideoCardFrame, numbered("vm", i));
    const char* moduleBoards[] = {"vm140a.x", "vm140b.x", "vm140c.x", "vm140d.x"};
    // Module 4 sits only 0.1 behind module 3.
    const float moduleZ[] = {0, 0.2f, 0.4f, 0.5f};
    for (int m = 1; m <= 4; ++m) {
        load(pc.MemoryModuleFrame[m], "vm901.x");
        load(pc.MemoryModuleFrame[m], moduleBoards[m - 1]);
        for (int i = 117; i <= 120; ++i) load(pc.MemoryModuleFrame[m], numbered("vm", i));
        if (m > 1) s.push_back(Move{pc.MemoryModuleFrame[m], {0, 0, moduleZ[m - 1]}});
    }
    const int pciFiles[] = {200, 201, 202, 203, 204, 205, 207};
    for (int k = 1; k <= 7; ++k) load(pc.PciSlotFrame[k], numbered("vm", pciFiles[k - 1]));
    for (const char* f : {"vm206.x", "vm206a.x", "vm206b.x", "vm206c.x"}) load(pc.HeatPipeFrame, f);
    for (int k = 1; k <= 7; ++k) load(pc.PcieX16SlotFrame[k], numbered("vm", 299 + k));
    load(pc.SpareSlotPartFrame, "vm208.x");
    for (int k = 1; k <= 7; ++k) load(pc.PcieX8SlotFrame[k], numbered("vm", 499 + k));
    for (int k = 1; k <= 7; ++k) load(pc.PcieX4SlotFrame[k], numbered("vm", 599 + k));
    for (int k = 1; k <= 7; ++k) load(pc.PcieX1SlotFrame[k], numbered("vm", 699 + k));
    for (int c = 1; c <= 8; ++c) load(pc.UsbDeviceCommonFrame[c], numbered("vm", 749 + c));
    for (int c = 1; c <= 8; ++c) load(pc.UsbMouseFrame[c], numbered("vm", 779 + c));
    for (int c = 1; c <= 8; ++c) load(pc.UsbKeyboardFrame[c], numbered("vm", 789 + c));
    for (int c = 1; c <= 8; ++c) load(pc.UsbExtraDeviceFrame[c], numbered("vm", 759 + c));
    load(pc.Ps2MouseFrame, "vmpsmouse.x");
    load(pc.Ps2KeyboardFrame, "vmpskey.x");
    load(pc.CpuFanFrame, "vm905.x");
    load(pc.RearFanFrame, "vm906.x");
    load(pc.FrontFanFrame, "vm907.x");
    load(pc.CaseSensorFrame, "vm960.x");
    load(pc.BoardSensorFrame, "vm961.x");
    load(pc.CpuSensorFrame, "vm962.x");
    load(pc.UpsBatteryFrame, "vm963.x");
    load(pc.InfraredFrame, "vm964.x");
    load(pc.VideoChipFrame, "vm19a.x");

    // Card k shows card k - 1 again, 0.3 further left (the seventh only 0.2).
    load(pc.ExpansionCardFrame[1], "vm280.x");
    for (int k = 2; k <= 7; ++k) {
        s.push_back(Link{pc.ExpansionCardFrame[k], pc.ExpansionCardFrame[k - 1]});
        s.push_back(Move{pc.ExpansionCardFrame[k], {k == 7 ? -0.2f : -0.3f, 0, 0}});
    }

    load(pc.PortableBatteryFrame, "vm969.x");
    load(pc.LockFrame, "vm970.x");
    load(pc.SpareCasePartFrame, "vm971.x");
    load(pc.FrontAudioFrame[1], "vm314.x");
    load(pc.FrontAudioFrame[2], "vm312.x");
    load(pc.RearAudioFrame[1], "vm311.x");
    load(pc.RearAudioFrame[2], "vm310.x");
    for (int i = 1; i <= 6; ++i) load(pc.SataConnectorFrame[i], numbered("sata", i));
    for (int i = 1; i <= 3; ++i) load(pc.IdeConnectorFrame[i], numbered("ide", i));
    load(pc.HdmiFrame, "hdmi.x");
    for (int i = 1; i <= 4; ++i) load(pc.FireWirePortFrame[i], numbered("fw", i));
    load(pc.AxesFrame, "cad_xyz.x");
    s.push_back(Move{pc.AxesFrame, {7, 0, 6}});
    load(pc.BaseFrame, "base1.x");
    return s;
}

void run(const std::function<void()>& hook) {
    if (hook) hook();
}

// Loads one file into its part frame; false when it cannot be read or built
// (what was attached before the failure stays).
bool loadFile(const FramePtr& frame, engine3d::RenderDevice& device, const std::string& folder,
              const std::string& file, MeshPrefetch* prefetch) {
    std::optional<engine3d::XFileEnumerator> parsed = prefetch ? prefetch->take(file) : std::nullopt;
    if (!parsed) return frame->InitFromFile(&device, folder + file);
    try {
        engine3d::loadXFileScene(&device, std::move(*parsed), frame);
    } catch (const std::exception&) {
        return false;
    }
    return true;
}

}  // namespace

std::vector<std::string> modelFiles() {
    VirtualPc scratch;
    std::vector<std::string> files;
    std::set<std::string> seen;
    for (const auto& step : assemblyPlan(scratch))
        if (const auto* l = std::get_if<Load>(&step))
            if (seen.insert(l->file).second) files.push_back(l->file);
    return files;
}

void load_start(VirtualPc& pc, engine3d::RenderDevice& device, MeshPrefetch* prefetch) {
    if (pc.AssemblyBusy) return;
    pc.AssemblyBusy = true;
    if (pc.hooks.setBusyPointer) pc.hooks.setBusyPointer(true);
    // A device failure passes to the caller, but must not leave the guard set
    // and the hourglass showing.
    struct Unbusy {
        VirtualPc& pc;
        ~Unbusy() {
            if (!pc.AssemblyBusy) return;
            pc.AssemblyBusy = false;
            if (pc.hooks.setBusyPointer) pc.hooks.setBusyPointer(false);
        }
    } unbusy{pc};
    pc.failedLoads.clear();

    for (const auto& step : assemblyPlan(pc)) {
        if (const auto* l = std::get_if<Load>(&step)) {
            // The window stays responsive between loads.
            run(pc.hooks.doEvents);
            if (!loadFile(l->frame, device, pc.MediaFolder, l->file, prefetch)) pc.failedLoads.push_back(l->file);
        } else if (const auto* k = std::get_if<Link>(&step)) {
            k->parent->AddChild(k->child);
        } else {
            const auto& m = std::get<Move>(step);
            m.frame->SetPosition(m.offset);
        }
    }

    device.SetRenderState(engine3d::D3DRS_AMBIENT, engine3d::kBrightAmbient);
    pc.SceneRoot = engine3d::CD3DFrame::Create();
    pc.ModelFrame = engine3d::NewChildFrame(pc.SceneRoot);
    for (const auto& part : pc.parts()) pc.PcRoot->AddChild(part.frame);
    pc.ModelFrame->AddChild(pc.PcRoot);

    resetModel(pc);  // draws the bare model once

    // From here on the trackball turns PcRoot itself.
    pc.ModelFrame = pc.PcRoot;
    pc.ModelReady = true;
    if (pc.hooks.setBusyPointer) pc.hooks.setBusyPointer(false);
    pc.AssemblyBusy = false;
    run(pc.hooks.focusView);
}

}  // namespace vantrel::model
