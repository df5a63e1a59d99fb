#pragma once
// A headless render device: keeps every piece of state a real device would and
// records each call, so drawing order, the opaque/transparent split and state
// changes can be checked without a display. Textures are "loaded" by reading the
// file's bytes; decoding images is the drawing backend's business.

#include <array>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "engine3d/device/render_device.h"

namespace vantrel::engine3d {

enum class DeviceCallKind {
    SetTransform, SetRenderState, SetLight, LightEnable, SetMaterial, SetTexture, SetViewport,
    Clear, BeginScene, EndScene, Present, Reset, DrawSubset,
};

struct DeviceCall {
    DeviceCallKind kind = DeviceCallKind::Clear;
    DWORD a = 0;  // transform/render state, light index, texture stage, clear flags, subset
    DWORD b = 0;  // render state value, enable flag, clear colour
    D3DMATRIX matrix;           // SetTransform; for DrawSubset the world transform in effect
    D3DMATERIAL8 material;      // SetMaterial; for DrawSubset the material in effect
    D3DLIGHT8 light;            // SetLight
    const D3DTexture* texture = nullptr;  // SetTexture; for DrawSubset stage 0 in effect
    const MeshGeometry* mesh = nullptr;   // DrawSubset
    bool alphaBlend = false;              // DrawSubset: D3DRS_ALPHABLENDENABLE in effect
    float depth = 0;                      // Clear: depth value
    DWORD stencil = 0;                    // Clear: stencil value
};

class RecordingDevice : public RenderDevice {
public:
    RecordingDevice();

    void SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX& m) override;
    D3DMATRIX GetTransform(D3DTRANSFORMSTATETYPE state) const override;
    void SetRenderState(D3DRENDERSTATETYPE state, DWORD value) override;
    DWORD GetRenderState(D3DRENDERSTATETYPE state) const override;
    void SetLight(DWORD index, const D3DLIGHT8& light) override;
    void LightEnable(DWORD index, bool enable) override;
    void SetMaterial(const D3DMATERIAL8& material) override;
    void SetTexture(DWORD stage, TexturePtr texture) override;
    void SetViewport(const D3DVIEWPORT8& viewport) override;
    D3DVIEWPORT8 GetViewport() const override;
    void Clear(DWORD flags, DWORD color, float z, DWORD stencil) override;
    void BeginScene() override;
    void EndScene() override;
    HRESULT Present() override;
    HRESULT TestCooperativeLevel() override;
    void Reset() override;
    void DrawSubset(const MeshGeometry& mesh, DWORD subset) override;
    TexturePtr CreateTextureFromFile(const std::string& path) override;

    // Recorded calls (getters are not recorded).
    const std::vector<DeviceCall>& calls() const { return calls_; }
    std::vector<DeviceCall> callsOf(DeviceCallKind kind) const;
    void clearCalls() { calls_.clear(); }

    const D3DLIGHT8* light(DWORD index) const;
    bool lightEnabled(DWORD index) const;
    const D3DMATERIAL8& material() const { return material_; }
    const D3DTexture* texture(DWORD stage) const;
    int textureLoads() const { return textureLoads_; }
    // A texture name that does not load as given is also looked for in this
    // folder (the folder of the model's files), as on the GL device.
    void setTextureFolder(std::string folder) { textureFolder_ = std::move(folder); }

    // Simulates a lost device: Present and TestCooperativeLevel report code until Reset.
    void loseDevice(HRESULT code) { lostCode_ = code; }
    // Makes every later call of that kind raise Engine3dError.
    void failCallsOf(DeviceCallKind kind) { failing_.insert(kind); }

private:
    void record(DeviceCall call);
    std::vector<DeviceCall> calls_;
    std::set<DeviceCallKind> failing_;
    D3DMATRIX world_, view_, projection_;
    std::map<DWORD, DWORD> renderStates_;
    std::map<DWORD, D3DLIGHT8> lights_;
    std::set<DWORD> enabledLights_;
    D3DMATERIAL8 material_;
    std::array<TexturePtr, 8> textures_;
    D3DVIEWPORT8 viewport_;
    bool inScene_ = false;
    HRESULT lostCode_ = D3D_OK;
    int textureLoads_ = 0;
    std::string textureFolder_;
};

}  // namespace vantrel::engine3d
