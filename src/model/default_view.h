#pragma once
// The camera the program starts with: field of view 3.1415 / 4, width over
// height, near 1, far 3000, the eye at the start camera looking at the origin,
// and the bright ambient light of the assembled model. Headless tools and
// tests look at the model through it.

#include "core/start_camera.h"
#include "engine3d/device/render_device.h"

namespace vantrel::model {

void applyDefaultView(engine3d::RenderDevice& device, int width, int height);

}  // namespace vantrel::model
