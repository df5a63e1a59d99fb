#pragma once
// Part identification: the fixed table from the frame names of the mesh files
// to the labels shown for a clicked part.

#include <array>
#include <optional>
#include <string_view>

#include "model/virtual_pc.h"

namespace vantrel::model {

struct PartName {
    std::string_view frameName;  // compared whole and case-sensitively, blanks included
    std::string_view label;
};

extern const std::array<PartName, 80> kPartTable;

// The label of a frame name, or nothing when the table does not know it.
std::optional<std::string_view> partLabel(std::string_view frameName);

// Shows the label of pc.PickedFrameName in pc.Label1; an unknown name leaves
// the label as it was.
void find_part(VirtualPc& pc);

}  // namespace vantrel::model
