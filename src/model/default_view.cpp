#include "model/default_view.h"

#include "engine3d/device/light_levels.h"
#include "engine3d/math/d3d_math.h"

namespace vantrel::model {

using namespace engine3d;

void applyDefaultView(RenderDevice& device, int width, int height) {
    device.SetViewport({0, 0, static_cast<DWORD>(width), static_cast<DWORD>(height), 0, 1});
    const float aspect = height > 0 ? static_cast<float>(width) / static_cast<float>(height) : 1.0f;
    device.SetTransform(D3DTS_PROJECTION,
                        D3DXMatrixPerspectiveFovLH(static_cast<float>(3.1415 / 4.0), aspect, 1.0f, 3000.0f));
    device.SetTransform(D3DTS_VIEW, D3DXMatrixLookAtLH({kStartCamera.x, kStartCamera.y, kStartCamera.z}, {0, 0, 0}, {0, 1, 0}));
    device.SetTransform(D3DTS_WORLD, D3DXMatrixIdentity());
    device.SetRenderState(D3DRS_AMBIENT, kBrightAmbient);
}

}  // namespace vantrel::model
