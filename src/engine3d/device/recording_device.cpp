#include "engine3d/device/recording_device.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

#include "engine3d/math/d3d_math.h"
#include "engine3d/engine3d_error.h"
#include "text/regular_file.h"

namespace vantrel::engine3d {
namespace {

DeviceCall makeCall(DeviceCallKind kind) {
    DeviceCall c;
    c.kind = kind;
    return c;
}

}  // namespace

RecordingDevice::RecordingDevice()
    : world_(D3DXMatrixIdentity()), view_(D3DXMatrixIdentity()), projection_(D3DXMatrixIdentity()) {
    viewport_ = {0, 0, 640, 480, 0.0f, 1.0f};
}

void RecordingDevice::record(DeviceCall call) {
    if (failing_.count(call.kind)) throw Engine3dError("device call failed");
    calls_.push_back(call);
}

void RecordingDevice::SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX& m) {
    DeviceCall c = makeCall(DeviceCallKind::SetTransform);
    c.a = state;
    c.matrix = m;
    record(c);
    switch (state) {
        case D3DTS_WORLD: world_ = m; break;
        case D3DTS_VIEW: view_ = m; break;
        case D3DTS_PROJECTION: projection_ = m; break;
        default: throw Engine3dError("unknown transform state " + std::to_string(state));
    }
}

D3DMATRIX RecordingDevice::GetTransform(D3DTRANSFORMSTATETYPE state) const {
    switch (state) {
        case D3DTS_WORLD: return world_;
        case D3DTS_VIEW: return view_;
        case D3DTS_PROJECTION: return projection_;
    }
    throw Engine3dError("unknown transform state " + std::to_string(state));
}

void RecordingDevice::SetRenderState(D3DRENDERSTATETYPE state, DWORD value) {
    DeviceCall c = makeCall(DeviceCallKind::SetRenderState);
    c.a = state;
    c.b = value;
    record(c);
    renderStates_[state] = value;
}

DWORD RecordingDevice::GetRenderState(D3DRENDERSTATETYPE state) const {
    auto it = renderStates_.find(state);
    return it == renderStates_.end() ? 0 : it->second;
}

void RecordingDevice::SetLight(DWORD index, const D3DLIGHT8& light) {
    DeviceCall c = makeCall(DeviceCallKind::SetLight);
    c.a = index;
    c.light = light;
    record(c);
    lights_[index] = light;
}

void RecordingDevice::LightEnable(DWORD index, bool enable) {
    DeviceCall c = makeCall(DeviceCallKind::LightEnable);
    c.a = index;
    c.b = enable;
    record(c);
    if (enable) {
        enabledLights_.insert(index);
    } else {
        enabledLights_.erase(index);
    }
}

void RecordingDevice::SetMaterial(const D3DMATERIAL8& material) {
    DeviceCall c = makeCall(DeviceCallKind::SetMaterial);
    c.material = material;
    record(c);
    material_ = material;
}

void RecordingDevice::SetTexture(DWORD stage, TexturePtr texture) {
    if (stage >= textures_.size()) throw Engine3dError("texture stage out of range");
    DeviceCall c = makeCall(DeviceCallKind::SetTexture);
    c.a = stage;
    c.texture = texture.get();
    record(c);
    textures_[stage] = std::move(texture);
}

void RecordingDevice::SetViewport(const D3DVIEWPORT8& viewport) {
    record(makeCall(DeviceCallKind::SetViewport));
    viewport_ = viewport;
}

D3DVIEWPORT8 RecordingDevice::GetViewport() const { return viewport_; }

void RecordingDevice::Clear(DWORD flags, DWORD color, float z, DWORD stencil) {
    DeviceCall c = makeCall(DeviceCallKind::Clear);
    c.a = flags;
    c.b = color;
    c.depth = z;
    c.stencil = stencil;
    record(c);
}

void RecordingDevice::BeginScene() {
    if (inScene_) throw Engine3dError("BeginScene inside a scene");
    record(makeCall(DeviceCallKind::BeginScene));
    inScene_ = true;
}

void RecordingDevice::EndScene() {
    if (!inScene_) throw Engine3dError("EndScene without BeginScene");
    record(makeCall(DeviceCallKind::EndScene));
    inScene_ = false;
}

HRESULT RecordingDevice::Present() {
    record(makeCall(DeviceCallKind::Present));
    return lostCode_;
}

HRESULT RecordingDevice::TestCooperativeLevel() { return lostCode_; }

void RecordingDevice::Reset() {
    if (lostCode_ == D3DERR_DEVICELOST) throw Engine3dError("device lost and not ready to be reset");
    record(makeCall(DeviceCallKind::Reset));
    lostCode_ = D3D_OK;
}

void RecordingDevice::DrawSubset(const MeshGeometry& mesh, DWORD subset) {
    DeviceCall c = makeCall(DeviceCallKind::DrawSubset);
    c.a = subset;
    c.mesh = &mesh;
    c.matrix = world_;
    c.material = material_;
    c.texture = textures_[0].get();
    c.alphaBlend = GetRenderState(D3DRS_ALPHABLENDENABLE) != 0;
    record(c);
}

TexturePtr RecordingDevice::CreateTextureFromFile(const std::string& path) {
    // A texture name comes from the .x file: a FIFO or device there must not hang the load.
    auto usable = [](const std::string& candidate) {
        const text::RegularFile file(candidate, std::uintmax_t{256} << 20);
        return file.check() == text::FileCheck::Ok && file.size() > 0;
    };
    std::string found = path;
    if (!usable(found)) {
        if (textureFolder_.empty() || path.empty() || path.front() == '/') return nullptr;
        std::string relative = path;  // names written on Windows use backslashes
        std::replace(relative.begin(), relative.end(), '\\', '/');
        found = textureFolder_ + "/" + relative;
        if (!usable(found)) return nullptr;
    }
    ++textureLoads_;
    return std::make_shared<D3DTexture>(found);
}

std::vector<DeviceCall> RecordingDevice::callsOf(DeviceCallKind kind) const {
    std::vector<DeviceCall> out;
    for (const auto& c : calls_)
        if (c.kind == kind) out.push_back(c);
    return out;
}

const D3DLIGHT8* RecordingDevice::light(DWORD index) const {
    auto it = lights_.find(index);
    return it == lights_.end() ? nullptr : &it->second;
}

bool RecordingDevice::lightEnabled(DWORD index) const { return enabledLights_.count(index) != 0; }

const D3DTexture* RecordingDevice::texture(DWORD stage) const {
    return stage < textures_.size() ? textures_[stage].get() : nullptr;
}

}  // namespace vantrel::engine3d
