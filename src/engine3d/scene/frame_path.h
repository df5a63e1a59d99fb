#pragma once
// Frames know their children, not their parents: the way down from a root to
// a frame is found by a search. A frame shared by several parents is reached
// through the first of them in drawing order.

#include <vector>

#include "engine3d/scene/cd3d_frame.h"

namespace vantrel::engine3d {

// The frames from root down to target, both included; empty when target is
// not under root. Disabled frames are passed by, as a pick never hits them.
std::vector<FramePtr> framePath(const FramePtr& root, const FramePtr& target);

}  // namespace vantrel::engine3d
