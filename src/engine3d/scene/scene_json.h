#pragma once
// A JSON description of a loaded scene: the frames, meshes and animations a .x
// file produced, as "vantrel-cli xinfo" prints them.

#include <string>

#include "engine3d/scene/cd3d_animation.h"
#include "engine3d/scene/cd3d_frame.h"

namespace vantrel::engine3d {

// {"frames": [...], "meshes": [...], "animations": [...]} of a container frame
// loaded from a .x file; animations, when given, holds the file's animation sets.
std::string describeSceneJson(CD3DFrame& container, const CD3DAnimation* animations);

// Escapes text for a JSON string; bytes that are not UTF-8 are read as Latin-1.
std::string jsonString(std::string_view text);

}  // namespace vantrel::engine3d
