#pragma once
// Finds the meshes under a point of the view: casts a ray through a frame tree
// and keeps one record per mesh hit, with the frame and the mesh.

#include <cstdint>
#include <vector>

#include "engine3d/scene/cd3d_frame.h"
#include "engine3d/device/render_device.h"

namespace vantrel::engine3d {

struct D3D_PICK_RECORD {
    std::int32_t hit = 0;
    std::int32_t faceIndex = 0;
    float u = 0, v = 0;
    float dist = 0;  // ray parameter: 0 at the near plane, 1 at the far plane
};
static_assert(sizeof(D3D_PICK_RECORD) == 20);

class CD3DPick {
public:
    explicit CD3DPick(RenderDevice& dev) : dev_(dev) {}

    // Clears the records and picks at view point (x, y) with the device's
    // viewport, view and projection. True when the enabled tree holds a mesh.
    bool ViewportPick(const FramePtr& frame, float x, float y);
    // The recursive step; does not clear. A null frame raises Engine3dError.
    bool ViewportPickEx(const FramePtr& frame, const D3DVIEWPORT8& viewport, const D3DMATRIX& proj,
                        const D3DMATRIX& view, const D3DMATRIX& world, float x, float y);
    // Picks along a world-space ray; the device's world transform is the root's
    // parent transform. dist counts in lengths of vDir from vOrig. Does not clear.
    bool RayPick(const FramePtr& frame, const D3DVECTOR& vOrig, const D3DVECTOR& vDir);
    bool RayPickEx(const FramePtr& frame, const D3DMATRIX& worldmatrix, const D3DVECTOR& vOrig,
                   const D3DVECTOR& vDir);

    DWORD GetCount() const { return static_cast<DWORD>(records_.size()); }
    void GetRecord(DWORD i, float& a, float& b, float& dist, std::int32_t& triFaceid) const;
    const D3D_PICK_RECORD& Record(DWORD i) const;
    FramePtr GetFrame(DWORD i) const;
    MeshPtr GetMesh(DWORD i) const;
    std::int32_t FindNearest() const;
    std::int32_t FindFurthest() const;
    void Destroy();

private:
    bool pickMeshes(const FramePtr& frame, const D3DVECTOR& orig, const D3DVECTOR& dir);
    void checkIndex(DWORD i) const;

    RenderDevice& dev_;
    std::vector<D3D_PICK_RECORD> records_;
    std::vector<FramePtr> frames_;
    std::vector<MeshPtr> meshes_;
};

}  // namespace vantrel::engine3d
