#pragma once
// The virtual PC: one fixed model holding every part the program can show,
// assembled once from the mesh files. Afterwards only the parts' Enabled flags
// change (the builders switch parts on from a report, the display modes switch
// them all on or off) and PcRoot turns under the trackball.

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "engine3d/scene/cd3d_frame.h"
#include "model/change_mark.h"
#include "model/frame_array.h"
#include "model/nameplates.h"

namespace vantrel::model {

using engine3d::FramePtr;

// What the window does for the model: let pending events run, show the
// hourglass, draw one picture, give the 3D view the keyboard focus. Empty
// hooks are skipped (headless use).
struct WindowHooks {
    std::function<void()> doEvents;
    std::function<void(bool busy)> setBusyPointer;
    std::function<void()> renderScene;
    std::function<void()> focusView;
};

// A part frame with the name it goes by ("UsbPortFrame[3]").
struct PartEntry {
    std::string name;
    FramePtr frame;
    bool optional;  // hidden by the model reset
};

struct VirtualPc {
    // Creates every part frame, empty and enabled, PcRoot first.
    VirtualPc();

    // Scene skeleton.
    FramePtr PcRoot;
    FramePtr SceneRoot;   // absent until the assembly has made it
    FramePtr ModelFrame;  // turned by the trackball; PcRoot itself once assembled
    bool ModelReady = false;
    bool AssemblyBusy = false;
    std::string MediaFolder;  // ends with a path separator

    // Part frames, in PcRoot order.
    FramePtr BodyFrame, Ps2PortsFrame, IntelCpuFrame, AmdCpuFrame;
    FrameArray<3> HardDiskFrame;
    FramePtr VideoCardFrame;
    FrameArray<4> MemoryModuleFrame;
    FrameArray<16> UsbPortFrame;
    FrameArray<8> FlashCardFrame, MmcCardFrame, SmCardFrame, MsCardFrame;
    FramePtr NorthBridgeFrame, NorthBridgeExtrasFrame;
    FrameArray<4> EthernetPortFrame, ParallelPortFrame, SerialPortFrame;
    FrameArray<7> PciSlotFrame;
    FramePtr HeatPipeFrame;
    FrameArray<7> PcieX16SlotFrame;
    FramePtr SpareSlotPartFrame;
    FrameArray<7> PcieX8SlotFrame, PcieX4SlotFrame, PcieX1SlotFrame;
    FrameArray<8> UsbDeviceCommonFrame, UsbMouseFrame, UsbKeyboardFrame, UsbExtraDeviceFrame;
    FramePtr Ps2MouseFrame, Ps2KeyboardFrame, RearFanFrame, CaseSensorFrame, BoardSensorFrame, CpuSensorFrame,
        CpuFanFrame, UpsBatteryFrame, InfraredFrame, VideoChipFrame;
    FrameArray<3> OpticalDriveFrame;
    FrameArray<7> ExpansionCardFrame;
    FramePtr FrontFanFrame, PortableBatteryFrame, LockFrame, SpareCasePartFrame;
    FrameArray<2> FrontAudioFrame, RearAudioFrame;
    FrameArray<3> IdeConnectorFrame;
    FrameArray<6> SataConnectorFrame;
    FramePtr HdmiFrame;
    FrameArray<4> FireWirePortFrame;
    FramePtr AxesFrame, BaseFrame;

    // Display switches and their indicators (the button panel's lamps).
    bool BaseShown = true;
    bool AxesShown = true;
    bool baseIndicatorLit = true;  // imgbot(1)
    bool axesIndicatorLit = true;  // imgbot(0)

    // Report state shared by the builders of one report.
    std::int16_t UsbDeviceCount = 0;
    bool FansReported = false;
    // The report's names printed on the parts; blank again on reset.
    Nameplates nameplates;

    // The changes drawn on the parts (model/change_marks.h); none on reset.
    std::vector<ChangeMark> changeMarks;

    // Part identification: the frame name of the last pick and the label of
    // its part, shown under the view (empty when the pick named no part).
    std::string PickedFrameName;
    std::string PickedPartLabel;

    // Mesh files whose load failed during the assembly, in load order.
    std::vector<std::string> failedLoads;

    WindowHooks hooks;

    // Every part frame in PcRoot order (187), with its name.
    const std::vector<PartEntry>& parts() const { return parts_; }

private:
    std::vector<PartEntry> parts_;
};

}  // namespace vantrel::model
