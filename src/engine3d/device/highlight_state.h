#pragma once
// A render state of our own, beyond Direct3D's numbers: the colour, as
// A8R8G8B8, that lit colours are mixed towards by alpha / 255 (0: no mix). The
// view marks the picked part with it; devices keep it like any render state.

#include "engine3d/math/d3d_types.h"

namespace vantrel::engine3d {

inline constexpr auto kHighlightColour = static_cast<D3DRENDERSTATETYPE>(0x10000);

}  // namespace vantrel::engine3d
