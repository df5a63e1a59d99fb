#pragma once
// Keyframe animation of frames loaded from a .x file. An animation either moves
// one target frame by its keys or groups child animations (an AnimationSet).

#include <memory>
#include <string>
#include <vector>

#include "engine3d/scene/cd3d_frame.h"
#include "engine3d/scene/xfile_scene_loader.h"
#include "engine3d/math/d3d_types.h"
#include "engine3d/xfile/xfile_reader.h"

namespace vantrel::engine3d {

class CD3DAnimation;
class FrameNameIndex;
using AnimationPtr = std::shared_ptr<CD3DAnimation>;

template <class T>
struct AnimationKeyOf {
    DWORD time = 0;
    T value;
};

class CD3DAnimation {
public:
    std::string ObjectName;

    void SetFrame(FramePtr frame);
    FramePtr GetFrame() const { return target_; }
    const std::string& GetFrameName() const { return targetName_; }
    void AddChild(AnimationPtr child);
    AnimationPtr GetChild(DWORD i) const;
    DWORD GetChildCount() const { return static_cast<DWORD>(children_.size()); }
    void AddRotateKey(DWORD t, const D3DQUATERNION& q) { rotateKeys_.push_back({t, q}); }
    void AddScaleKey(DWORD t, const D3DVECTOR& s) { scaleKeys_.push_back({t, s}); }
    void AddPositionKey(DWORD t, const D3DVECTOR& p) { positionKeys_.push_back({t, p}); }
    void AddMatrixKey(DWORD t, const D3DMATRIX& m) { matrixKeys_.push_back({t, m}); }
    const std::vector<AnimationKeyOf<D3DQUATERNION>>& RotateKeys() const { return rotateKeys_; }
    const std::vector<AnimationKeyOf<D3DVECTOR>>& ScaleKeys() const { return scaleKeys_; }
    const std::vector<AnimationKeyOf<D3DVECTOR>>& PositionKeys() const { return positionKeys_; }
    const std::vector<AnimationKeyOf<D3DMATRIX>>& MatrixKeys() const { return matrixKeys_; }
    DWORD MatrixKeyCursor() const { return matrixCursor_; }

    // Applies time t to the children, then to the target. Raises Engine3dError
    // for a key list whose last key is at time 0 when t > 0.
    void SetTime(float t);

    // Loads an AnimationSet; every Animation in it becomes a child. container is
    // the frame the file is loaded into: targets are looked up under it.
    void LoadAnimationSet(const XFileData& set, const FramePtr& container, RenderDevice* dev);
    void LoadAnimation(const XFileData& animation, const FramePtr& container, RenderDevice* dev);

private:
    friend AnimationSetHandler animationSetsInto(CD3DAnimation&, const FramePtr&, RenderDevice*);
    void loadAnimationSet(const XFileData& set, FrameNameIndex& targets, RenderDevice* dev);
    void loadAnimation(const XFileData& animation, FrameNameIndex& targets, RenderDevice* dev);
    void loadKeys(const XFileData& key);

    FramePtr target_;
    std::string targetName_;
    std::vector<AnimationPtr> children_;
    std::vector<AnimationKeyOf<D3DQUATERNION>> rotateKeys_;
    std::vector<AnimationKeyOf<D3DVECTOR>> scaleKeys_;
    std::vector<AnimationKeyOf<D3DVECTOR>> positionKeys_;
    std::vector<AnimationKeyOf<D3DMATRIX>> matrixKeys_;
    DWORD matrixCursor_ = 0;
};

// A handler for loadXFileScene that loads every animation set of the file
// into animation, with targets looked up under container.
AnimationSetHandler animationSetsInto(CD3DAnimation& animation, const FramePtr& container, RenderDevice* dev);

}  // namespace vantrel::engine3d
