#include "engine3d/scene/cd3d_frame.h"

#include "engine3d/math/d3d_math.h"
#include "engine3d/engine3d_error.h"

namespace vantrel::engine3d {

CD3DFrame::CD3DFrame() : localMatrix_(D3DXMatrixIdentity()) {}

MeshPtr CD3DFrame::AddD3DXMesh(std::shared_ptr<MeshGeometry> geometry) {
    auto m = std::make_shared<CD3DMesh>();
    m->InitFromD3DXMesh(std::move(geometry));
    AddMesh(m);
    return m;
}

void CD3DFrame::Destroy() {
    children_.clear();
    meshes_.clear();
}

void CD3DFrame::rebuildLocalMatrix() {
    localMatrix_ = D3DXMatrixAffineTransformation(scale_, orientationCenter_, orientation_, position_);
}

void CD3DFrame::SetPosition(const D3DVECTOR& v) {
    position_ = v;
    rebuildLocalMatrix();
}

void CD3DFrame::SetOrientation(const D3DQUATERNION& q) {
    orientation_ = q;
    rebuildLocalMatrix();
}

void CD3DFrame::SetScale(float s) {
    scale_ = s;
    rebuildLocalMatrix();
}

void CD3DFrame::SetOrientationCenter(const D3DVECTOR& v) {
    orientationCenter_ = v;
    rebuildLocalMatrix();
}

D3DVECTOR CD3DFrame::GetPosition() const { return {localMatrix_(3, 0), localMatrix_(3, 1), localMatrix_(3, 2)}; }

void CD3DFrame::combine(int combineType, const D3DMATRIX& t) {
    switch (combineType) {
        case ApplyBefore: localMatrix_ = t * localMatrix_; break;
        case ApplyAfter: localMatrix_ = localMatrix_ * t; break;
        case ReplaceLocal: localMatrix_ = t; break;
        default: break;
    }
}

void CD3DFrame::AddRotation(int combineType, float x, float y, float z, float rot) {
    combine(combineType, D3DXMatrixRotationAxis({x, y, z}, rot));
}

void CD3DFrame::AddScale(int combineType, float x, float y, float z) { combine(combineType, D3DXMatrixScaling(x, y, z)); }

void CD3DFrame::AddTranslation(int combineType, float x, float y, float z) {
    combine(combineType, D3DXMatrixTranslation(x, y, z));
}

void CD3DFrame::UpdateFrames() { updateWorld(D3DXMatrixIdentity()); }

void CD3DFrame::updateWorld(const D3DMATRIX& parentWorld) {
    worldMatrix_ = localMatrix_ * parentWorld;
    inverseWorldMatrix_ = D3DXMatrixInverse(worldMatrix_);
    for (const FramePtr& child : children_)
        if (child) child->updateWorld(worldMatrix_);
}

D3DVECTOR CD3DFrame::TransformCoord(const D3DVECTOR& v) const { return D3DXVec3TransformCoord(v, worldMatrix_); }
D3DVECTOR CD3DFrame::TransformNormal(const D3DVECTOR& v) const { return D3DXVec3TransformNormal(v, worldMatrix_); }
D3DVECTOR CD3DFrame::InverseTransformCoord(const D3DVECTOR& v) const {
    return D3DXVec3TransformCoord(v, inverseWorldMatrix_);
}
D3DVECTOR CD3DFrame::InverseTransformNormal(const D3DVECTOR& v) const {
    return D3DXVec3TransformNormal(v, inverseWorldMatrix_);
}

FramePtr CD3DFrame::GetChildFrame(DWORD i) const {
    if (i >= children_.size()) throw Engine3dError("child frame index " + std::to_string(i) + " out of range");
    return children_[i];
}

MeshPtr CD3DFrame::GetChildMesh(DWORD i) const {
    if (i >= meshes_.size()) throw Engine3dError("child mesh index " + std::to_string(i) + " out of range");
    return meshes_[i];
}

D3DObjectRef CD3DFrame::FindChildObject(const std::string& name, DWORD flags) {
    if (ObjectName == name) return {shared_from_this(), nullptr};
    for (const MeshPtr& m : meshes_)
        if (m && m->ObjectName == name) return {nullptr, m};
    for (const FramePtr& c : children_) {
        if (!c) continue;
        D3DObjectRef r = c->FindChildObject(name, flags);
        if (r) return r;
    }
    return {};
}

FramePtr CD3DFrame::FindChildParent(const std::string& name, DWORD flags) {
    for (const MeshPtr& m : meshes_)
        if (m && m->ObjectName == name) return shared_from_this();
    for (const FramePtr& c : children_) {
        if (!c) continue;
        if (c->ObjectName == name) return shared_from_this();
        FramePtr r = c->FindChildParent(name, flags);
        if (r) return r;
    }
    return nullptr;
}

void CD3DFrame::Render(RenderDevice& dev) {
    dev.SetTransform(D3DTS_WORLD, D3DXMatrixIdentity());
    drawTree(dev, true, false, nullptr);
    dev.SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
    dev.SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    dev.SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    dev.SetTransform(D3DTS_WORLD, D3DXMatrixIdentity());
    drawTree(dev, false, true, nullptr);
    dev.SetRenderState(D3DRS_ALPHABLENDENABLE, 0);
}

void CD3DFrame::drawTree(RenderDevice& dev, bool opaque, bool alpha, const MaterialTint* tint) {
    if (!Enabled) return;
    if (Tint) tint = &*Tint;
    const D3DMATRIX saved = dev.GetTransform(D3DTS_WORLD);
    dev.SetTransform(D3DTS_WORLD, localMatrix_ * saved);
    if (preHook_) preHook_(preId_);
    for (const MeshPtr& m : meshes_)
        if (m) m->RenderEx(dev, opaque, alpha, tint);
    for (const FramePtr& c : children_)
        if (c) c->drawTree(dev, opaque, alpha, tint);
    dev.SetTransform(D3DTS_WORLD, saved);
    if (postHook_) postHook_(postId_);
}

void CD3DFrame::SetPreRenderCallback(FrameHook cb, std::int32_t id) {
    preHook_ = std::move(cb);
    preId_ = id;
}

void CD3DFrame::SetPostRenderCallback(FrameHook cb, std::int32_t id) {
    postHook_ = std::move(cb);
    postId_ = id;
}

template <class F>
void CD3DFrame::forEachMeshThenChild(F&& f) {
    for (const MeshPtr& m : meshes_)
        if (m) f(*m);
    for (const FramePtr& c : children_)
        if (c) c->forEachMeshThenChild(f);
}

void CD3DFrame::SetFVF(RenderDevice* dev, DWORD fvf) {
    forEachMeshThenChild([&](CD3DMesh& m) { m.SetFVF(dev, fvf); });
}
void CD3DFrame::FlipNormals() {
    forEachMeshThenChild([](CD3DMesh& m) { m.FlipNormals(); });
}
void CD3DFrame::ComputeNormals() {
    forEachMeshThenChild([](CD3DMesh& m) { m.ComputeNormals(); });
}
void CD3DFrame::Optimize() {
    forEachMeshThenChild([](CD3DMesh& m) { m.Optimize(); });
}
void CD3DFrame::ComputeBoundingVolumes() {
    forEachMeshThenChild([](CD3DMesh& m) { m.ComputeBoundingVolumes(); });
}

FramePtr NewChildFrame(const FramePtr& parent) {
    auto frame = CD3DFrame::Create();
    if (parent) parent->AddChild(frame);
    return frame;
}

}  // namespace vantrel::engine3d
