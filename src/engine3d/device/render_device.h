#pragma once
// The render device the framework draws through: the operations of a Direct3D 8
// device that frames, meshes, picking and the scene utilities use. Backends: an
// OpenGL one for the view, and RecordingDevice (headless, for tests and tools).
// A failing call raises Engine3dError.

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine3d/math/d3d_types.h"

namespace vantrel::engine3d {

class MeshGeometry;

// An opaque texture handle created by a device.
class D3DTexture {
public:
    explicit D3DTexture(std::string sourceName) : sourceName_(std::move(sourceName)) {}
    virtual ~D3DTexture() = default;
    const std::string& sourceName() const { return sourceName_; }

private:
    std::string sourceName_;
};

using TexturePtr = std::shared_ptr<D3DTexture>;

class RenderDevice {
public:
    virtual ~RenderDevice() = default;

    virtual void SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX& m) = 0;
    virtual D3DMATRIX GetTransform(D3DTRANSFORMSTATETYPE state) const = 0;
    virtual void SetRenderState(D3DRENDERSTATETYPE state, DWORD value) = 0;
    virtual DWORD GetRenderState(D3DRENDERSTATETYPE state) const = 0;
    virtual void SetLight(DWORD index, const D3DLIGHT8& light) = 0;
    virtual void LightEnable(DWORD index, bool enable) = 0;
    virtual void SetMaterial(const D3DMATERIAL8& material) = 0;
    virtual void SetTexture(DWORD stage, TexturePtr texture) = 0;
    virtual void SetViewport(const D3DVIEWPORT8& viewport) = 0;
    virtual D3DVIEWPORT8 GetViewport() const = 0;
    virtual void Clear(DWORD flags, DWORD color, float z, DWORD stencil) = 0;
    virtual void BeginScene() = 0;
    virtual void EndScene() = 0;
    virtual HRESULT Present() = 0;
    // D3D_OK, D3DERR_DEVICENOTRESET (lost, ready to reset) or D3DERR_DEVICELOST.
    virtual HRESULT TestCooperativeLevel() = 0;
    // Restores a lost device with the parameters it was created with.
    virtual void Reset() = 0;
    // Draws the triangles of one subset with the current state.
    virtual void DrawSubset(const MeshGeometry& mesh, DWORD subset) = 0;
    // Loads an image file as a texture; null when it cannot be loaded.
    virtual TexturePtr CreateTextureFromFile(const std::string& path) = 0;

    // Textures loaded by LoadTextureCached, in the order added. They belong to
    // the device they were created on, so the cache lives here.
    std::vector<std::pair<std::string, TexturePtr>>& textureCache() { return textureCache_; }

private:
    std::vector<std::pair<std::string, TexturePtr>> textureCache_;
};

}  // namespace vantrel::engine3d
