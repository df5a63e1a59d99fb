#pragma once
// One change between two scans as the model shows it.

#include <string>

#include "engine3d/scene/cd3d_frame.h"
#include "collect/placed_change.h"

namespace vantrel::model {

struct ChangeMark {
    PlacedChange change;
    engine3d::FramePtr frame;  // tinted or ghost; null when the model has no part for it
    std::string lastSeen;      // a removed part's last scan ("2026-12-11 06:00:00 UTC"); may be empty
};

}  // namespace vantrel::model
