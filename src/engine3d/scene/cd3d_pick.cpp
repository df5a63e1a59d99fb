#include "engine3d/scene/cd3d_pick.h"

#include "engine3d/math/d3d_math.h"
#include "engine3d/engine3d_error.h"

namespace vantrel::engine3d {

void CD3DPick::Destroy() {
    records_.clear();
    frames_.clear();
    meshes_.clear();
}

bool CD3DPick::ViewportPick(const FramePtr& frame, float x, float y) {
    Destroy();
    const D3DVIEWPORT8 viewport = dev_.GetViewport();
    const D3DMATRIX view = dev_.GetTransform(D3DTS_VIEW);
    const D3DMATRIX proj = dev_.GetTransform(D3DTS_PROJECTION);
    return ViewportPickEx(frame, viewport, proj, view, D3DXMatrixIdentity(), x, y);
}

bool CD3DPick::pickMeshes(const FramePtr& frame, const D3DVECTOR& orig, const D3DVECTOR& dir) {
    bool result = false;
    for (DWORD i = 0; i < frame->GetChildMeshCount(); ++i) {
        const MeshPtr mesh = frame->GetChildMesh(i);
        if (!mesh) continue;
        IntersectInfo hit;
        if (mesh->mesh && intersectMesh(*mesh->mesh, orig, dir, hit)) {
            records_.push_back({1, static_cast<std::int32_t>(hit.faceIndex), hit.u, hit.v, hit.dist});
            frames_.push_back(frame);
            meshes_.push_back(mesh);
        }
        result = true;
    }
    return result;
}

bool CD3DPick::ViewportPickEx(const FramePtr& frame, const D3DVIEWPORT8& viewport, const D3DMATRIX& proj,
                              const D3DMATRIX& view, const D3DMATRIX& world, float x, float y) {
    if (!frame) throw Engine3dError("pick reached an empty frame reference");
    if (!frame->Enabled) return false;
    const D3DMATRIX w = frame->GetMatrix() * world;
    bool result = false;
    if (frame->GetChildMeshCount() > 0) {
        // Both ends in the frame's own coordinates, so dist compares across frames.
        const D3DVECTOR nearPt = D3DXVec3Unproject({x, y, 0.0f}, viewport, proj, view, w);
        const D3DVECTOR farPt = D3DXVec3Unproject({x, y, 1.0f}, viewport, proj, view, w);
        result = pickMeshes(frame, nearPt, farPt - nearPt);
    }
    for (DWORD i = 0; i < frame->GetChildFrameCount(); ++i)
        result = ViewportPickEx(frame->GetChildFrame(i), viewport, proj, view, w, x, y) || result;
    return result;
}

bool CD3DPick::RayPick(const FramePtr& frame, const D3DVECTOR& vOrig, const D3DVECTOR& vDir) {
    return RayPickEx(frame, dev_.GetTransform(D3DTS_WORLD), vOrig, vDir);
}

bool CD3DPick::RayPickEx(const FramePtr& frame, const D3DMATRIX& worldmatrix, const D3DVECTOR& vOrig,
                         const D3DVECTOR& vDir) {
    if (!frame) throw Engine3dError("pick reached an empty frame reference");
    if (!frame->Enabled) return false;
    const D3DMATRIX w = frame->GetMatrix() * worldmatrix;
    bool result = false;
    if (frame->GetChildMeshCount() > 0) {
        // An affine map keeps the ray parameter, so dist stays in world units of vDir.
        const D3DMATRIX inv = D3DXMatrixInverse(w);
        result = pickMeshes(frame, D3DXVec3TransformCoord(vOrig, inv), D3DXVec3TransformNormal(vDir, inv));
    }
    for (DWORD i = 0; i < frame->GetChildFrameCount(); ++i)
        result = RayPickEx(frame->GetChildFrame(i), w, vOrig, vDir) || result;
    return result;
}

void CD3DPick::checkIndex(DWORD i) const {
    if (i >= records_.size()) throw Engine3dError("pick record index " + std::to_string(i) + " out of range");
}

void CD3DPick::GetRecord(DWORD i, float& a, float& b, float& dist, std::int32_t& triFaceid) const {
    checkIndex(i);
    a = records_[i].u;
    b = records_[i].v;
    dist = records_[i].dist;
    triFaceid = records_[i].faceIndex;
}

const D3D_PICK_RECORD& CD3DPick::Record(DWORD i) const {
    checkIndex(i);
    return records_[i];
}

FramePtr CD3DPick::GetFrame(DWORD i) const {
    checkIndex(i);
    return frames_[i];
}

MeshPtr CD3DPick::GetMesh(DWORD i) const {
    checkIndex(i);
    return meshes_[i];
}

std::int32_t CD3DPick::FindNearest() const {
    float best = 1e38f;
    std::int32_t index = -1;
    for (std::size_t i = 0; i < records_.size(); ++i)
        if (records_[i].dist < best) {
            best = records_[i].dist;
            index = static_cast<std::int32_t>(i);
        }
    return index;
}

std::int32_t CD3DPick::FindFurthest() const {
    float best = -1e38f;
    std::int32_t index = -1;
    for (std::size_t i = 0; i < records_.size(); ++i)
        if (records_[i].dist > best) {
            best = records_[i].dist;
            index = static_cast<std::int32_t>(i);
        }
    return index;
}

}  // namespace vantrel::engine3d
