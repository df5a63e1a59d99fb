#pragma once
// FindChildObject for many names: each name's first frame or mesh in the same
// depth-first order, looked up by hash. Loading appends frames and meshes to
// the root only, so the index catches up with what was appended instead of
// walking the whole tree for every animation that names its target.

#include <cstddef>
#include <string>
#include <unordered_map>

#include "engine3d/scene/cd3d_frame.h"

namespace vantrel::engine3d {

class FrameNameIndex {
public:
    explicit FrameNameIndex(FramePtr root);
    // What root->FindChildObject(name) gives, provided the tree below root
    // changed only by meshes and frames appended to root itself.
    D3DObjectRef find(const std::string& name);
    const FramePtr& root() const { return root_; }

private:
    // Where a match stands in the search order: the root, its meshes, then
    // its children's subtrees.
    enum class Region { Root, RootMesh, Subtree };
    struct Entry {
        D3DObjectRef object;
        Region region;
    };
    void catchUp();
    void addSubtree(const FramePtr& frame);
    void addIfNew(const std::string& name, D3DObjectRef object);

    FramePtr root_;
    std::unordered_map<std::string, Entry> byName_;
    DWORD meshesSeen_ = 0, childrenSeen_ = 0;
};

}  // namespace vantrel::engine3d
