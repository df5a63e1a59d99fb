#pragma once
// Textures by file name, one load per name for each device.

#include <string>

#include "engine3d/device/render_device.h"

namespace vantrel::engine3d {

// Looks name up in the device's cache (exact, case-sensitive), else loads the
// file unchanged (relative names resolve against the current directory). None
// for an empty name or an image that cannot be loaded; failures are not cached.
TexturePtr LoadTextureCached(RenderDevice& dev, const std::string& name);

}  // namespace vantrel::engine3d
