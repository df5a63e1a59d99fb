#include "model/virtual_pc.h"

#include <initializer_list>

namespace vantrel::model {
namespace {

using engine3d::CD3DFrame;

class PartList {
public:
    explicit PartList(std::vector<PartEntry>& parts) : parts_(parts) {}

    void one(const char* name, FramePtr& frame, bool optional = true) {
        frame = CD3DFrame::Create();
        parts_.push_back({name, frame, optional});
    }
    template <int N>
    void group(const char* name, FrameArray<N>& frames) {
        for (int k = 1; k <= N; ++k) {
            frames[k] = CD3DFrame::Create();
            parts_.push_back({std::string(name) + "[" + std::to_string(k) + "]", frames[k], true});
        }
    }

private:
    std::vector<PartEntry>& parts_;
};

}  // namespace

VirtualPc::VirtualPc() : PcRoot(CD3DFrame::Create()) {
    // The order is PcRoot's child order, which is also the drawing order.
    PartList p(parts_);
    p.one("BodyFrame", BodyFrame, false);
    p.one("Ps2PortsFrame", Ps2PortsFrame, false);
    p.one("IntelCpuFrame", IntelCpuFrame);
    p.one("AmdCpuFrame", AmdCpuFrame);
    p.group("HardDiskFrame", HardDiskFrame);
    p.one("VideoCardFrame", VideoCardFrame);
    p.group("MemoryModuleFrame", MemoryModuleFrame);
    p.group("UsbPortFrame", UsbPortFrame);
    p.group("FlashCardFrame", FlashCardFrame);
    p.group("MmcCardFrame", MmcCardFrame);
    p.group("SmCardFrame", SmCardFrame);
    p.group("MsCardFrame", MsCardFrame);
    p.one("NorthBridgeFrame", NorthBridgeFrame);
    p.one("NorthBridgeExtrasFrame", NorthBridgeExtrasFrame, false);
    p.group("EthernetPortFrame", EthernetPortFrame);
    p.group("ParallelPortFrame", ParallelPortFrame);
    p.group("SerialPortFrame", SerialPortFrame);
    p.group("PciSlotFrame", PciSlotFrame);
    p.one("HeatPipeFrame", HeatPipeFrame);
    p.group("PcieX16SlotFrame", PcieX16SlotFrame);
    p.one("SpareSlotPartFrame", SpareSlotPartFrame);
    p.group("PcieX8SlotFrame", PcieX8SlotFrame);
    p.group("PcieX4SlotFrame", PcieX4SlotFrame);
    p.group("PcieX1SlotFrame", PcieX1SlotFrame);
    p.group("UsbDeviceCommonFrame", UsbDeviceCommonFrame);
    p.group("UsbMouseFrame", UsbMouseFrame);
    p.group("UsbKeyboardFrame", UsbKeyboardFrame);
    p.group("UsbExtraDeviceFrame", UsbExtraDeviceFrame);
    p.one("Ps2MouseFrame", Ps2MouseFrame);
    p.one("Ps2KeyboardFrame", Ps2KeyboardFrame);
    p.one("RearFanFrame", RearFanFrame);
    p.one("CaseSensorFrame", CaseSensorFrame);
    p.one("BoardSensorFrame", BoardSensorFrame);
    p.one("CpuSensorFrame", CpuSensorFrame);
    p.one("CpuFanFrame", CpuFanFrame);
    p.one("UpsBatteryFrame", UpsBatteryFrame);
    p.one("InfraredFrame", InfraredFrame);
    p.one("VideoChipFrame", VideoChipFrame);
    p.group("OpticalDriveFrame", OpticalDriveFrame);
    p.group("ExpansionCardFrame", ExpansionCardFrame);
    p.one("FrontFanFrame", FrontFanFrame);
    p.one("PortableBatteryFrame", PortableBatteryFrame);
    p.one("LockFrame", LockFrame);
    p.one("SpareCasePartFrame", SpareCasePartFrame);
    p.group("FrontAudioFrame", FrontAudioFrame);
    p.group("RearAudioFrame", RearAudioFrame);
    p.group("IdeConnectorFrame", IdeConnectorFrame);
    p.group("SataConnectorFrame", SataConnectorFrame);
    p.one("HdmiFrame", HdmiFrame);
    p.group("FireWirePortFrame", FireWirePortFrame);
    p.one("AxesFrame", AxesFrame, false);
    p.one("BaseFrame", BaseFrame, false);
}

}  // namespace vantrel::model
