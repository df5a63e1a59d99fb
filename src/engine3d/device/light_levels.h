#pragma once
// The light levels of the view. Fixed-function lighting clamps each channel
// of ambient plus diffuse at 1, so levels that add up past 1 turn every light
// part pure white. These keep a white material below 1 wherever its face
// points, with both lights on: ambient 0.44 + 0.05 + 0.05, and the two diffuse
// parts together at most |0.38 l1 + 0.14 l2| = 0.45 (the lights are 70.5
// degrees apart).

#include "engine3d/math/d3d_types.h"

namespace vantrel::engine3d {

// The ambient colour of the view once the camera is placed.
inline constexpr DWORD kBrightAmbient = 0x70707070;
inline constexpr float kMainLightDiffuse = 0.38f;
inline constexpr float kMainLightAmbient = 0.05f;
inline constexpr float kSecondLightDiffuse = 0.14f;
inline constexpr float kSecondLightAmbient = 0.05f;

}  // namespace vantrel::engine3d
