#pragma once
// Scene-graph node: a local transform, meshes and child frames. Frames are
// shared (a frame may hang under several parents and is then drawn under each),
// so they live in shared_ptrs; create them with CD3DFrame::Create().

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine3d/scene/cd3d_mesh.h"
#include "engine3d/math/d3d_types.h"
#include "engine3d/device/render_device.h"

namespace vantrel::engine3d {

class CD3DFrame;

using FramePtr = std::shared_ptr<CD3DFrame>;
using MeshPtr = std::shared_ptr<CD3DMesh>;
// Called with the id given when the hook was set.
using FrameHook = std::function<void(std::int32_t id)>;

enum CombineType : int { ApplyBefore = 0, ApplyAfter = 1, ReplaceLocal = 2 };

// What FindChildObject found: a frame, a mesh, or neither.
struct D3DObjectRef {
    FramePtr frame;
    MeshPtr mesh;
    explicit operator bool() const { return frame || mesh; }
};

class CD3DFrame : public std::enable_shared_from_this<CD3DFrame> {
public:
    static FramePtr Create() { return std::make_shared<CD3DFrame>(); }
    CD3DFrame();

    std::string ObjectName;
    bool Enabled = true;
    // Laid over the materials of this frame and of the frames below it that
    // have no tint of their own.
    std::optional<MaterialTint> Tint;

    // Building the tree.
    void AddChild(FramePtr child) { children_.push_back(std::move(child)); }
    void AddMesh(MeshPtr childMesh) { meshes_.push_back(std::move(childMesh)); }
    MeshPtr AddD3DXMesh(std::shared_ptr<MeshGeometry> geometry);
    // Loads a .x file into this frame (a container: it takes no name or transform
    // from the file) and then links it under parent. False when the file cannot
    // be read or a part cannot be built; what was attached before the failure
    // stays. Defined with the .x scene loader (xfile_scene_loader.h), which also
    // hands out the file's animation sets and the reason of a failure.
    bool InitFromFile(RenderDevice* dev, const std::string& path, const FramePtr& parent = nullptr);
    void Destroy();

    // Transform.
    void SetPosition(const D3DVECTOR& v);
    void SetOrientation(const D3DQUATERNION& q);
    void SetScale(float s);
    void SetOrientationCenter(const D3DVECTOR& v);
    D3DVECTOR GetPosition() const;  // translation row of the local matrix
    D3DQUATERNION GetOrientation() const { return orientation_; }
    float GetScale() const { return scale_; }
    D3DVECTOR GetOrientationCenter() const { return orientationCenter_; }
    const D3DMATRIX& GetMatrix() const { return localMatrix_; }
    void SetMatrix(const D3DMATRIX& m) { localMatrix_ = m; }
    void AddRotation(int combineType, float x, float y, float z, float rot);
    void AddScale(int combineType, float x, float y, float z);
    void AddTranslation(int combineType, float x, float y, float z);
    void UpdateFrames();
    const D3DMATRIX& GetUpdatedMatrix() const { return worldMatrix_; }
    const D3DMATRIX& GetInverseWorldMatrix() const { return inverseWorldMatrix_; }
    D3DVECTOR TransformCoord(const D3DVECTOR& v) const;
    D3DVECTOR TransformNormal(const D3DVECTOR& v) const;
    D3DVECTOR InverseTransformCoord(const D3DVECTOR& v) const;
    D3DVECTOR InverseTransformNormal(const D3DVECTOR& v) const;

    // Queries. Index errors raise Engine3dError.
    DWORD GetChildFrameCount() const { return static_cast<DWORD>(children_.size()); }
    DWORD GetChildMeshCount() const { return static_cast<DWORD>(meshes_.size()); }
    FramePtr GetChildFrame(DWORD i) const;
    MeshPtr GetChildMesh(DWORD i) const;
    // Depth first: this frame, its meshes, then each child's subtree. flags unused.
    D3DObjectRef FindChildObject(const std::string& name, DWORD flags = 0);
    // The frame whose own lists hold the object FindChildObject would find (the
    // same search order); none when nothing matches or the match is this frame.
    FramePtr FindChildParent(const std::string& name, DWORD flags = 0);
    static const char* ClassName() { return "CD3DFrame"; }

    // Drawing.
    void Render(RenderDevice& dev);
    void SetPreRenderCallback(FrameHook cb, std::int32_t id);
    void SetPostRenderCallback(FrameHook cb, std::int32_t id);
    void SetFVF(RenderDevice* dev, DWORD fvf);
    void FlipNormals();
    void ComputeNormals();
    void Optimize();
    void ComputeBoundingVolumes();
    void InvalidateDeviceObjects() {}
    void RestoreDeviceObjects(RenderDevice*) {}

private:
    void rebuildLocalMatrix();
    void combine(int combineType, const D3DMATRIX& t);
    void updateWorld(const D3DMATRIX& parentWorld);
    void drawTree(RenderDevice& dev, bool opaque, bool alpha, const MaterialTint* tint);
    template <class F>
    void forEachMeshThenChild(F&& f);

    std::vector<FramePtr> children_;
    std::vector<MeshPtr> meshes_;
    D3DMATRIX localMatrix_, worldMatrix_, inverseWorldMatrix_;
    D3DVECTOR position_, orientationCenter_;
    D3DQUATERNION orientation_;
    float scale_ = 1.0f;
    FrameHook preHook_, postHook_;
    std::int32_t preId_ = 0, postId_ = 0;
};

// A new frame, added to parent when one is given.
FramePtr NewChildFrame(const FramePtr& parent);

}  // namespace vantrel::engine3d
