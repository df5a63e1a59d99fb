#pragma once
// One change between two scans as the model shows it.

#include "engine3d/scene/cd3d_frame.h"
#include "store/placed_changes.h"

namespace vantrel::model {

struct ChangeMark {
    PlacedChange change;
    engine3d::FramePtr frame;  // tinted or ghost; null when the model has no part for it
};

}  // namespace vantrel::model
