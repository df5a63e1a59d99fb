#pragma once
// The changes between two scans drawn on the virtual PC: added parts tinted
// green, changed parts amber, and removed parts as translucent red ghosts in
// the free places of their kind (the model fills places in order, so where a
// part was is where the next one would go).

#include <string>
#include <vector>

#include "engine3d/scene/material_tint.h"
#include "model/virtual_pc.h"
#include "collect/placed_change.h"

namespace vantrel::model {

inline constexpr engine3d::MaterialTint kAddedTint{0.15f, 0.85f, 0.2f, 1.0f};
inline constexpr engine3d::MaterialTint kChangedTint{1.0f, 0.68f, 0.0f, 1.0f};
inline constexpr engine3d::MaterialTint kRemovedGhost{1.0f, 0.12f, 0.1f, 0.5f};

// Marks the model as the newer report left it, and keeps the marks in
// pc.changeMarks (earlier marks go first). A change the model has no part
// for is kept with no frame. lastSeen dates the removed parts.
void markChanges(VirtualPc& pc, const std::vector<PlacedChange>& changes, const std::string& lastSeen = {});

// Takes the tints off and hides the ghosts; the model reset does it too.
void clearChangeMarks(VirtualPc& pc);

// The mark of the part a pick hit under pc.PcRoot (the hit frame or one
// above it), or none.
const ChangeMark* changeMarkAt(const VirtualPc& pc, const FramePtr& hit);

// What a click on a removed part's ghost shows: "Removed: NAME (last seen DATE)".
std::string ghostLabel(const ChangeMark& mark);

}  // namespace vantrel::model
