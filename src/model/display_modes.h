#pragma once
// The four commands that change what the model shows without a report. Each
// draws one picture at its end.

#include "model/virtual_pc.h"

namespace vantrel::model {

// Every optional part off (182 frames), UsbDeviceCount back to 0. The body,
// north-bridge extras, axes, base and PS/2 sockets keep their state.
void resetModel(VirtualPc& pc);

// Every optional part on except the USB mice, keyboards and extra devices at
// positions 2 to 8 (161 frames).
void showAllParts(VirtualPc& pc);

// Flip the base plate, its flag and its indicator.
void toggleBase(VirtualPc& pc);

// Flip the axes marker, its flag and its indicator.
void toggleAxes(VirtualPc& pc);

}  // namespace vantrel::model
