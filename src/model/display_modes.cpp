#include "model/display_modes.h"

#include "model/change_marks.h"

namespace vantrel::model {
namespace {

void render(VirtualPc& pc) {
    if (pc.hooks.renderScene) pc.hooks.renderScene();
}

// One device of each USB group, at position 1, stands for all of them.
bool isLaterUsbDevice(const VirtualPc& pc, const FramePtr& frame) {
    for (int c = 2; c <= 8; ++c)
        if (frame == pc.UsbMouseFrame[c] || frame == pc.UsbKeyboardFrame[c] || frame == pc.UsbExtraDeviceFrame[c])
            return true;
    return false;
}

}  // namespace

void resetModel(VirtualPc& pc) {
    clearChangeMarks(pc);
    for (const auto& part : pc.parts())
        if (part.optional) part.frame->Enabled = false;
    pc.UsbDeviceCount = 0;
    pc.nameplates.clear();
    render(pc);
}

void showAllParts(VirtualPc& pc) {
    for (const auto& part : pc.parts())
        if (part.optional && !isLaterUsbDevice(pc, part.frame)) part.frame->Enabled = true;
    render(pc);
}

void toggleBase(VirtualPc& pc) {
    pc.BaseShown = !pc.BaseShown;
    pc.BaseFrame->Enabled = pc.BaseShown;
    pc.baseIndicatorLit = pc.BaseShown;
    render(pc);
}

void toggleAxes(VirtualPc& pc) {
    pc.AxesShown = !pc.AxesShown;
    pc.AxesFrame->Enabled = pc.AxesShown;
    pc.axesIndicatorLit = pc.AxesShown;
    render(pc);
}

}  // namespace vantrel::model
