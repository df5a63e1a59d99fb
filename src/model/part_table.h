#pragma once
// Part identification: the fixed table from the frame names of the mesh files
// to the labels shown for a clicked part.

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

#include "model/virtual_pc.h"

namespace vantrel::model {

struct PartName {
    std::string_view frameName;  // compared whole and case-sensitively, blanks included
    std::string_view label;
};

inline constexpr std::size_t kPartTableSize = 154;
// Rows from here on name the structure of the generated model (case, desk,
// screws, coolers, drive details) that other parts may cover.
inline constexpr std::size_t kStructureRowsFrom = 80;
extern const std::array<PartName, kPartTableSize> kPartTable;

// The label of a frame name, or nothing when the table does not know it.
std::optional<std::string_view> partLabel(std::string_view frameName);

// The frame a pick hit, and the part it belongs to: the hit frame itself or
// the nearest frame above it whose name the table knows.
struct IdentifiedPart {
    FramePtr frame;
    std::string_view label;
};
std::optional<IdentifiedPart> identifyPart(const FramePtr& root, const FramePtr& hit);

// Names the part of a hit frame under root (pc.PcRoot when not given):
// PickedFrameName and PickedPartLabel say what was hit and which part that is, empty
// when nothing was hit or the part has no name, so the label never names an
// earlier part. A hit on a removed part's ghost names that part and when it
// was last seen. The result is the part's frame (null when none).
FramePtr find_part(VirtualPc& pc, const FramePtr& hit, const FramePtr& root = nullptr);

}  // namespace vantrel::model
