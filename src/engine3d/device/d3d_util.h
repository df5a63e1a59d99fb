#pragma once
// What the framework and the 3D view share: the engine-wide matrices, the
// default scene set-up, clearing and presenting, the texture cache and the
// second light. NewChildFrame lives with the frames (scene/cd3d_frame.h).

#include <cstdint>
#include <string>

#include "engine3d/device/render_device.h"
#include "engine3d/device/texture_cache.h"
#include "engine3d/math/d3d_types.h"

namespace vantrel::engine3d {

class D3DUtil {
public:
    explicit D3DUtil(RenderDevice& dev) : dev_(dev) {}

    std::int32_t ViewWidth = 0, ViewHeight = 0;  // the view's size, set by the device setup
    D3DMATRIX IdentityMatrix;
    float FieldOfView = 0, AspectRatio = 1, NearPlane = 1, FarPlane = 3000;
    D3DMATRIX ProjectionMatrix, ViewMatrix;
    D3DLIGHT8 MainLight, SecondLight;
    // The caller shows its second-light indicator from this after ToggleSecondLight.
    bool SecondLightOn = false;

    void ApplySceneDefaults();
    void SetCameraView(const D3DVECTOR& eye, const D3DVECTOR& at, const D3DVECTOR& up);
    // colour is A8R8G8B8; depth is cleared to 1.0.
    void ClearView(DWORD colour);
    // Failures are ignored: a lost device shows nothing until it is reset.
    void PresentView();
    void ToggleSecondLight();
    TexturePtr LoadTextureCached(const std::string& name) { return engine3d::LoadTextureCached(dev_, name); }
    RenderDevice& device() { return dev_; }

private:
    RenderDevice& dev_;
};

}  // namespace vantrel::engine3d
