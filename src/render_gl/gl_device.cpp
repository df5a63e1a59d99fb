#include "render_gl/gl_device.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <string>

#define GL_GLEXT_PROTOTYPES 1
#include <GL/glcorearb.h>

#include "engine3d/device/highlight_state.h"
#include "engine3d/math/d3d_math.h"
#include "engine3d/scene/mesh_geometry.h"
#include "render_gl/d3d_states.h"
#include "render_gl/fixed_function_shader.h"
#include "render_gl/gl_error.h"
#include "render_gl/gl_mesh_cache.h"
#include "render_gl/gl_texture.h"
#include "engine3d/device/picture_texture.h"

namespace vantrel::render_gl {

using namespace engine3d;

namespace {

struct ShaderVariant {
    GLuint id = 0;
    GLint worldView, projection, normalMatrix, remapDepth, lighting, normalizeNormals, specularOn;
    GLint matDiffuse, matAmbient, matSpecular, matEmissive, matPower, globalAmbient, lightCount;
    GLint lightType, lightPosition, lightDirection, lightDiffuse, lightSpecular, lightAmbient;
    GLint lightAttenuation, lightSpot, textured, stage0, highlight;
};

}  // namespace

struct GlDevice::Program {
    std::array<ShaderVariant, 2> variants;  // Gouraud, flat
};


namespace {

ShaderVariant locate(GLuint id) {
    ShaderVariant v;
    v.id = id;
    auto at = [id](const char* name) { return glGetUniformLocation(id, name); };
    v.worldView = at("worldView");
    v.projection = at("projection");
    v.normalMatrix = at("normalMatrix");
    v.remapDepth = at("remapDepth");
    v.lighting = at("lighting");
    v.normalizeNormals = at("normalizeNormals");
    v.specularOn = at("specularOn");
    v.matDiffuse = at("matDiffuse");
    v.matAmbient = at("matAmbient");
    v.matSpecular = at("matSpecular");
    v.matEmissive = at("matEmissive");
    v.matPower = at("matPower");
    v.globalAmbient = at("globalAmbient");
    v.lightCount = at("lightCount");
    v.lightType = at("lightType");
    v.lightPosition = at("lightPosition");
    v.lightDirection = at("lightDirection");
    v.lightDiffuse = at("lightDiffuse");
    v.lightSpecular = at("lightSpecular");
    v.lightAmbient = at("lightAmbient");
    v.lightAttenuation = at("lightAttenuation");
    v.lightSpot = at("lightSpot");
    v.textured = at("textured");
    v.stage0 = at("stage0");
    v.highlight = at("highlight");
    return v;
}

GLenum blendFactor(DWORD d3dBlend) {
    switch (d3dBlend) {
        case kBlendZero: return GL_ZERO;
        case kBlendOne: return GL_ONE;
        case kBlendSrcColor: return GL_SRC_COLOR;
        case kBlendInvSrcColor: return GL_ONE_MINUS_SRC_COLOR;
        case kBlendSrcAlpha: return GL_SRC_ALPHA;
        case kBlendInvSrcAlpha: return GL_ONE_MINUS_SRC_ALPHA;
        case kBlendDestAlpha: return GL_DST_ALPHA;
        case kBlendInvDestAlpha: return GL_ONE_MINUS_DST_ALPHA;
        case kBlendDestColor: return GL_DST_COLOR;
        case kBlendInvDestColor: return GL_ONE_MINUS_DST_COLOR;
        default: return GL_ONE;
    }
}

GLenum compareFunc(DWORD d3dCmp) {
    static constexpr std::array<GLenum, 9> funcs = {GL_LEQUAL, GL_NEVER, GL_LESS,    GL_EQUAL, GL_LEQUAL,
                                                   GL_GREATER, GL_NOTEQUAL, GL_GEQUAL, GL_ALWAYS};
    return d3dCmp < funcs.size() ? funcs[d3dCmp] : GL_LEQUAL;
}

void setColour(GLint at, const D3DCOLORVALUE& c) { glUniform4f(at, c.r, c.g, c.b, c.a); }

// A matrix in Direct3D's row-vector layout is, byte for byte, the same matrix
// in GL's column-major column-vector layout: it uploads unchanged.
void setMatrix(GLint at, const D3DMATRIX& m) { glUniformMatrix4fv(at, 1, GL_FALSE, &m.m[0][0]); }

std::map<DWORD, DWORD> defaultRenderStates() {
    return {
        {D3DRS_ZENABLE, D3DZB_TRUE}, {kZWriteEnable, 1},  {kZFunc, kCmpLessEqual},
        {D3DRS_SHADEMODE, D3DSHADE_GOURAUD}, {kCullMode, kCullCcw}, {D3DRS_SRCBLEND, kBlendOne},
        {D3DRS_DESTBLEND, kBlendZero}, {D3DRS_ALPHABLENDENABLE, 0}, {D3DRS_LIGHTING, 1},
        {D3DRS_AMBIENT, 0}, {D3DRS_CLIPPING, 1}, {kSpecularEnable, 0}, {kNormalizeNormals, 0},
    };
}

}  // namespace

GlDevice::GlDevice(std::function<GlTarget()> target, std::function<void()> present)
    : target_(std::move(target)), present_(std::move(present)) {
    world_ = view_ = projection_ = D3DXMatrixIdentity();
    renderStates_ = defaultRenderStates();
    createGlObjects();
}

GlDevice::~GlDevice() {
    if (!objectsGone_) releaseGlObjects();
}

void GlDevice::createGlObjects() {
    GLint major = 0, minor = 0;
    glGetIntegerv(GL_MAJOR_VERSION, &major);
    glGetIntegerv(GL_MINOR_VERSION, &minor);
    if (major * 10 + minor < 33) throw GlError("OpenGL 3.3 is needed; this context gives " +
                                               std::to_string(major) + "." + std::to_string(minor));
    clipControlAvailable_ = major * 10 + minor >= 45;
    clipControl_ = clipControlAvailable_;
    textureStorage_ = major * 10 + minor >= 42;
    program_ = std::make_unique<Program>();
    program_->variants[0] = locate(buildFixedFunctionProgram(false));
    program_->variants[1] = locate(buildFixedFunctionProgram(true));
    objectsGone_ = false;
}

void GlDevice::releaseGlObjects() {
    meshes_.release();
    if (program_)
        for (auto& v : program_->variants) glDeleteProgram(v.id);
    program_.reset();
    for (const auto& weak : textures_)
        if (auto t = weak.lock()) t->release(generation_);
    textures_.clear();
}

void GlDevice::markContextLost() {
    // The GL names died with the context: forget them without deleting.
    meshes_.forget();
    program_.reset();
    objectsGone_ = true;
    lost_ = true;
}

void GlDevice::markResized() { lost_ = true; }

HRESULT GlDevice::TestCooperativeLevel() {
    if (!target_().usable) return D3DERR_DEVICELOST;
    return lost_ ? D3DERR_DEVICENOTRESET : D3D_OK;
}

void GlDevice::Reset() {
    if (!target_().usable) throw GlError("the view has no OpenGL context to reset the device on");
    if (objectsGone_) {
        ++generation_;
        createGlObjects();
    }
    // A reset returns every state to its default, as Direct3D's does.
    world_ = view_ = projection_ = D3DXMatrixIdentity();
    renderStates_ = defaultRenderStates();
    lights_.clear();
    lightOn_.clear();
    material_ = D3DMATERIAL8{};
    texture_.reset();
    viewportSet_ = false;
    inScene_ = false;
    lost_ = false;
}

void GlDevice::SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX& m) {
    switch (state) {
        case D3DTS_WORLD: world_ = m; break;
        case D3DTS_VIEW: view_ = m; break;
        case D3DTS_PROJECTION: projection_ = m; break;
        default: throw GlError("unknown transform state " + std::to_string(state));
    }
}

D3DMATRIX GlDevice::GetTransform(D3DTRANSFORMSTATETYPE state) const {
    switch (state) {
        case D3DTS_WORLD: return world_;
        case D3DTS_VIEW: return view_;
        case D3DTS_PROJECTION: return projection_;
        default: throw GlError("unknown transform state " + std::to_string(state));
    }
}

void GlDevice::SetRenderState(D3DRENDERSTATETYPE state, DWORD value) { renderStates_[state] = value; }

DWORD GlDevice::GetRenderState(D3DRENDERSTATETYPE state) const {
    auto it = renderStates_.find(state);
    return it == renderStates_.end() ? 0 : it->second;
}

void GlDevice::SetLight(DWORD index, const D3DLIGHT8& light) { lights_[index] = light; }

void GlDevice::LightEnable(DWORD index, bool enable) {
    if (enable && !lights_.count(index)) {
        // Enabling a light never set gives Direct3D's default white light along +z.
        D3DLIGHT8 light;
        light.Type = D3DLIGHT_DIRECTIONAL;
        light.Diffuse = {1, 1, 1, 0};
        light.Direction = {0, 0, 1};
        lights_[index] = light;
    }
    lightOn_[index] = enable;
}

void GlDevice::SetMaterial(const D3DMATERIAL8& material) { material_ = material; }

void GlDevice::SetTexture(DWORD stage, TexturePtr texture) {
    // Eight stages, as in Direct3D 8; only stage 0 takes part in drawing.
    if (stage >= 8) throw GlError("texture stage " + std::to_string(stage) + " out of range 0..7");
    if (stage == 0) texture_ = std::move(texture);
}

void GlDevice::SetViewport(const D3DVIEWPORT8& viewport) {
    viewport_ = viewport;
    viewportSet_ = true;
}

D3DVIEWPORT8 GlDevice::GetViewport() const {
    if (viewportSet_) return viewport_;
    const GlTarget t = target_();
    D3DVIEWPORT8 whole;
    whole.Width = static_cast<DWORD>(std::max(t.width, 0));
    whole.Height = static_cast<DWORD>(std::max(t.height, 0));
    return whole;
}

void GlDevice::bindTarget() {
    current_ = target_();
    if (!current_.usable) throw GlError("the view has no OpenGL context");
    glBindFramebuffer(GL_FRAMEBUFFER, current_.framebuffer);
    const D3DVIEWPORT8 vp = GetViewport();
    // Direct3D counts rows from the top, GL from the bottom.
    glViewport(static_cast<GLint>(vp.X), current_.height - static_cast<GLint>(vp.Y + vp.Height),
               static_cast<GLsizei>(vp.Width), static_cast<GLsizei>(vp.Height));
    glDepthRange(vp.MinZ, vp.MaxZ);
    // Direct3D's depth runs 0..1: glClipControl takes it as it is; without it
    // the shader moves it to GL's -1..1.
    if (clipControlAvailable_) glClipControl(GL_LOWER_LEFT, clipControl_ ? GL_ZERO_TO_ONE : GL_NEGATIVE_ONE_TO_ONE);
}

void GlDevice::Clear(DWORD flags, DWORD color, float z, DWORD stencil) {
    if (lost_) throw GlError("the device is lost; reset it before drawing");
    bindTarget();
    const D3DVIEWPORT8 vp = GetViewport();
    glEnable(GL_SCISSOR_TEST);
    glScissor(static_cast<GLint>(vp.X), current_.height - static_cast<GLint>(vp.Y + vp.Height),
              static_cast<GLsizei>(vp.Width), static_cast<GLsizei>(vp.Height));
    GLbitfield mask = 0;
    if (flags & D3DCLEAR_TARGET) {
        // The back buffer has the display's X8R8G8B8 layout: the colour's top byte is not kept.
        glClearColor(((color >> 16) & 0xFF) / 255.0f, ((color >> 8) & 0xFF) / 255.0f, (color & 0xFF) / 255.0f, 1.0f);
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        mask |= GL_COLOR_BUFFER_BIT;
    }
    if (flags & D3DCLEAR_ZBUFFER) {
        glClearDepth(z);
        glDepthMask(GL_TRUE);
        mask |= GL_DEPTH_BUFFER_BIT;
    }
    if (flags & D3DCLEAR_STENCIL) {
        glClearStencil(static_cast<GLint>(stencil));
        glStencilMask(0xFF);
        mask |= GL_STENCIL_BUFFER_BIT;
    }
    glClear(mask);
    glDisable(GL_SCISSOR_TEST);
}

void GlDevice::BeginScene() {
    if (inScene_) throw GlError("BeginScene inside a scene");
    if (lost_) throw GlError("the device is lost; reset it before drawing");
    bindTarget();
    inScene_ = true;
}

void GlDevice::EndScene() {
    if (!inScene_) throw GlError("EndScene without BeginScene");
    inScene_ = false;
    glFlush();
}

HRESULT GlDevice::Present() {
    if (lost_) return D3DERR_DEVICELOST;
    if (present_) present_();
    return D3D_OK;
}

void GlDevice::applyDrawState() {
    const bool flat = GetRenderState(D3DRS_SHADEMODE) == kShadeFlat;
    const ShaderVariant& p = program_->variants[flat ? 1 : 0];
    glUseProgram(p.id);
    if (flat) glProvokingVertex(GL_FIRST_VERTEX_CONVENTION);

    const D3DMATRIX worldView = world_ * view_;
    setMatrix(p.worldView, worldView);
    setMatrix(p.projection, projection_);
    // Normals go through the inverse transpose of world x view.
    const D3DMATRIX inv = D3DXMatrixInverse(worldView);
    float normal[9];
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) normal[r * 3 + c] = inv.m[c][r];
    glUniformMatrix3fv(p.normalMatrix, 1, GL_FALSE, normal);
    glUniform1i(p.remapDepth, clipControl_ ? 0 : 1);
    glUniform1i(p.lighting, GetRenderState(D3DRS_LIGHTING) ? 1 : 0);
    glUniform1i(p.normalizeNormals, GetRenderState(kNormalizeNormals) ? 1 : 0);
    glUniform1i(p.specularOn, GetRenderState(kSpecularEnable) ? 1 : 0);
    setColour(p.matDiffuse, material_.Diffuse);
    setColour(p.matAmbient, material_.Ambient);
    setColour(p.matSpecular, material_.Specular);
    setColour(p.matEmissive, material_.Emissive);
    glUniform1f(p.matPower, material_.Power);
    const DWORD ambient = GetRenderState(D3DRS_AMBIENT);
    glUniform3f(p.globalAmbient, ((ambient >> 16) & 0xFF) / 255.0f, ((ambient >> 8) & 0xFF) / 255.0f,
                (ambient & 0xFF) / 255.0f);
    uploadLighting();
    const DWORD highlight = GetRenderState(engine3d::kHighlightColour);
    glUniform4f(p.highlight, ((highlight >> 16) & 0xFF) / 255.0f, ((highlight >> 8) & 0xFF) / 255.0f,
                (highlight & 0xFF) / 255.0f, ((highlight >> 24) & 0xFF) / 255.0f);

    GlTexture* texture = glTextureFor(texture_);
    const unsigned textureId = texture ? texture->bind(generation_, textureStorage_) : 0;
    glUniform1i(p.textured, textureId != 0 ? 1 : 0);
    if (textureId != 0) {
        glActiveTexture(GL_TEXTURE0);
        glBindTexture(GL_TEXTURE_2D, textureId);
        glUniform1i(p.stage0, 0);
    }

    if (GetRenderState(D3DRS_ZENABLE)) {
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(compareFunc(GetRenderState(kZFunc)));
    } else {
        glDisable(GL_DEPTH_TEST);
    }
    glDepthMask(GetRenderState(kZWriteEnable) ? GL_TRUE : GL_FALSE);
    // Direct3D's front faces are clockwise on screen; CCW culling drops the back.
    const DWORD cull = GetRenderState(kCullMode);
    if (cull == kCullNone) {
        glDisable(GL_CULL_FACE);
    } else {
        glEnable(GL_CULL_FACE);
        glCullFace(GL_BACK);
        glFrontFace(cull == kCullCcw ? GL_CW : GL_CCW);
    }
    if (GetRenderState(D3DRS_ALPHABLENDENABLE)) {
        glEnable(GL_BLEND);
        glBlendFunc(blendFactor(GetRenderState(D3DRS_SRCBLEND)), blendFactor(GetRenderState(D3DRS_DESTBLEND)));
    } else {
        glDisable(GL_BLEND);
    }
}

void GlDevice::uploadLighting() {
    const ShaderVariant& p = program_->variants[GetRenderState(D3DRS_SHADEMODE) == kShadeFlat ? 1 : 0];
    GLint type[kMaxLights] = {};
    float position[kMaxLights * 3] = {}, direction[kMaxLights * 3] = {}, diffuse[kMaxLights * 3] = {};
    float specular[kMaxLights * 3] = {}, ambient[kMaxLights * 3] = {}, atten[kMaxLights * 4] = {};
    float spot[kMaxLights * 3] = {};
    int count = 0;
    for (const auto& [index, light] : lights_) {
        auto on = lightOn_.find(index);
        if (on == lightOn_.end() || !on->second || count == kMaxLights) continue;
        type[count] = static_cast<GLint>(light.Type);
        const D3DVECTOR pos = D3DXVec3TransformCoord(light.Position, view_);
        D3DVECTOR dir = D3DXVec3TransformNormal(light.Direction, view_);
        const float len = std::sqrt(dir.x * dir.x + dir.y * dir.y + dir.z * dir.z);
        if (len > 0) dir = {dir.x / len, dir.y / len, dir.z / len};
        std::memcpy(&position[count * 3], &pos, sizeof pos);
        std::memcpy(&direction[count * 3], &dir, sizeof dir);
        const D3DCOLORVALUE* colours[3] = {&light.Diffuse, &light.Specular, &light.Ambient};
        float* targets[3] = {diffuse, specular, ambient};
        for (int k = 0; k < 3; ++k) {
            targets[k][count * 3 + 0] = colours[k]->r;
            targets[k][count * 3 + 1] = colours[k]->g;
            targets[k][count * 3 + 2] = colours[k]->b;
        }
        atten[count * 4 + 0] = light.Attenuation0;
        atten[count * 4 + 1] = light.Attenuation1;
        atten[count * 4 + 2] = light.Attenuation2;
        atten[count * 4 + 3] = light.Range;
        spot[count * 3 + 0] = std::cos(light.Theta / 2);
        spot[count * 3 + 1] = std::cos(light.Phi / 2);
        spot[count * 3 + 2] = light.Falloff;
        ++count;
    }
    glUniform1i(p.lightCount, count);
    if (count == 0) return;
    glUniform1iv(p.lightType, count, type);
    glUniform3fv(p.lightPosition, count, position);
    glUniform3fv(p.lightDirection, count, direction);
    glUniform3fv(p.lightDiffuse, count, diffuse);
    glUniform3fv(p.lightSpecular, count, specular);
    glUniform3fv(p.lightAmbient, count, ambient);
    glUniform4fv(p.lightAttenuation, count, atten);
    glUniform3fv(p.lightSpot, count, spot);
}

void GlDevice::DrawSubset(const MeshGeometry& mesh, DWORD subset) {
    if (!inScene_) throw GlError("DrawSubset outside BeginScene/EndScene");
    const GlMesh& m = meshes_.buffersFor(mesh);
    auto range = m.subsets.find(subset);
    if (range == m.subsets.end() || range->second.count == 0) return;
    applyDrawState();
    glBindVertexArray(m.vao);
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(range->second.count), GL_UNSIGNED_INT,
                   reinterpret_cast<const void*>(range->second.first * sizeof(GLuint)));
    glBindVertexArray(0);
}

GlTexture* GlDevice::glTextureFor(const TexturePtr& texture) {
    if (!texture) return nullptr;
    if (auto* own = dynamic_cast<GlTexture*>(texture.get())) return own;
    std::erase_if(adopted_, [](const Adopted& a) { return a.original.expired(); });
    for (const auto& a : adopted_)
        if (a.original.lock() == texture) return a.copy.get();
    std::shared_ptr<GlTexture> copy;
    if (const auto* picture = dynamic_cast<const engine3d::PictureTexture*>(texture.get())) {
        RgbaImage image{picture->width(), picture->height(), picture->pixels()};
        if (image.width > 0 && image.height > 0 && image.pixels.size() == static_cast<std::size_t>(image.width) * image.height * 4) {
            copy = std::make_shared<GlTexture>(picture->sourceName(), std::move(image));
            textures_.push_back(copy);
        }
    } else {
        copy = std::dynamic_pointer_cast<GlTexture>(CreateTextureFromFile(texture->sourceName()));
    }
    // Remembered even when it could not be made, so a bad picture is tried once.
    adopted_.push_back({texture, copy});
    return copy.get();
}

TexturePtr GlDevice::CreateTextureFromFile(const std::string& path) {
    auto texture = GlTexture::fromFile(path);
    if (!texture && !textureFolder_.empty() && !path.empty() && path.front() != '/') {
        std::string relative = path;  // names written on Windows use backslashes
        std::replace(relative.begin(), relative.end(), '\\', '/');
        texture = GlTexture::fromFile(textureFolder_ + "/" + relative);
    }
    if (texture) textures_.push_back(texture);
    return texture;
}

}  // namespace vantrel::render_gl
