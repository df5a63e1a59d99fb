#pragma once
// The render device on OpenGL 3.3 core: Direct3D 8's fixed-function look (per
// vertex lighting, material, ambient render state, clockwise front faces, 0..1
// depth) drawn with one shader program. Every call expects the device's GL
// context to be current; the device never makes it current itself, so the same
// code draws into a Qt widget and into a windowless EGL picture.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine3d/device/render_device.h"
#include "render_gl/gl_mesh_cache.h"

namespace vantrel::render_gl {

using engine3d::D3DLIGHT8;
using engine3d::D3DMATERIAL8;
using engine3d::D3DMATRIX;
using engine3d::D3DRENDERSTATETYPE;
using engine3d::D3DTRANSFORMSTATETYPE;
using engine3d::D3DVIEWPORT8;
using engine3d::DWORD;
using engine3d::HRESULT;
using engine3d::MeshGeometry;
using engine3d::TexturePtr;

class GlTexture;

// Where the device draws: a framebuffer object (0 for the window's own) and its size.
struct GlTarget {
    unsigned framebuffer = 0;
    int width = 0;
    int height = 0;
    bool usable = true;  // false while there is no context to draw with
};

class GlDevice : public engine3d::RenderDevice {
public:
    // target tells the device where to draw each time it clears; present is
    // run by Present (a swap, or asking the widget to show its picture).
    explicit GlDevice(std::function<GlTarget()> target, std::function<void()> present = {});
    ~GlDevice() override;
    GlDevice(const GlDevice&) = delete;
    GlDevice& operator=(const GlDevice&) = delete;

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

    // The context went away with every GL object in it; the next
    // TestCooperativeLevel answers "not reset" and Reset rebuilds them.
    void markContextLost();
    // The target needs new buffers (a resize): the same path, objects kept.
    void markResized();
    // A texture name that does not load as given is also looked for in this
    // folder (the folder of the model's .x files).
    void setTextureFolder(std::string folder) { textureFolder_ = std::move(folder); }
    // Starts reading the pictures of textures made elsewhere (the recording
    // device's), all at once, so they are decoded side by side before the
    // first picture needs them instead of one by one as it draws.
    void prepareTexture(const TexturePtr& texture) { glTextureFor(texture); }
    // How many mesh uploads have happened (each geometry once per context).
    int uploadCount() const { return meshes_.uploads(); }
    bool usesClipControl() const { return clipControl_; }
    // Maps depth in the shader even where glClipControl exists, as on
    // contexts older than 4.5 (for comparing the two ways).
    void mapDepthInShader() { clipControl_ = false; }

private:
    struct Program;

    void createGlObjects();
    void releaseGlObjects();
    void bindTarget();
    void applyDrawState();
    void uploadLighting();

    std::function<GlTarget()> target_;
    std::function<void()> present_;
    std::string textureFolder_;
    GlTarget current_;
    std::unique_ptr<Program> program_;
    GlMeshCache meshes_;
    std::vector<std::weak_ptr<GlTexture>> textures_;
    // Textures made elsewhere (in memory, or on the recording device) and the
    // GL copies drawn for them; a copy goes when its original does.
    struct Adopted {
        std::weak_ptr<engine3d::D3DTexture> original;
        std::shared_ptr<GlTexture> copy;
    };
    std::vector<Adopted> adopted_;
    bool textureStorage_ = false;  // glTexStorage2D (OpenGL 4.2) is there
    GlTexture* glTextureFor(const TexturePtr& texture);

    D3DMATRIX world_, view_, projection_;
    std::map<DWORD, DWORD> renderStates_;
    std::map<DWORD, D3DLIGHT8> lights_;
    std::map<DWORD, bool> lightOn_;
    D3DMATERIAL8 material_;
    TexturePtr texture_;
    D3DVIEWPORT8 viewport_;
    bool viewportSet_ = false;
    bool inScene_ = false;
    bool lost_ = false;
    bool objectsGone_ = false;
    int generation_ = 0;  // counts contexts; textures re-upload when it moves
    bool clipControlAvailable_ = false;
    bool clipControl_ = false;
};

}  // namespace vantrel::render_gl
