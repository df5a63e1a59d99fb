#include "engine3d/scene/frame_name_index.h"

#include <utility>
#include <vector>

namespace vantrel::engine3d {

FrameNameIndex::FrameNameIndex(FramePtr root) : root_(std::move(root)) {
    byName_.emplace(root_->ObjectName, Entry{{root_, nullptr}, Region::Root});
}

D3DObjectRef FrameNameIndex::find(const std::string& name) {
    catchUp();
    const auto it = byName_.find(name);
    return it == byName_.end() ? D3DObjectRef{} : it->second.object;
}

void FrameNameIndex::catchUp() {
    // A mesh appended to the root comes before every child in the search, so
    // it displaces a match found in a subtree, but not the root or an earlier mesh.
    for (; meshesSeen_ < root_->GetChildMeshCount(); ++meshesSeen_) {
        const MeshPtr mesh = root_->GetChildMesh(meshesSeen_);
        if (!mesh) continue;
        auto [it, added] = byName_.try_emplace(mesh->ObjectName, Entry{{nullptr, mesh}, Region::RootMesh});
        if (!added && it->second.region == Region::Subtree) it->second = Entry{{nullptr, mesh}, Region::RootMesh};
    }
    // A child appended comes after everything before it.
    for (; childrenSeen_ < root_->GetChildFrameCount(); ++childrenSeen_) {
        const FramePtr child = root_->GetChildFrame(childrenSeen_);
        if (child) addSubtree(child);
    }
}

// The subtree in FindChildObject's order, without recursion: a file's frames
// may nest as deep as the reader allows.
void FrameNameIndex::addSubtree(const FramePtr& frame) {
    std::vector<FramePtr> pending{frame};
    while (!pending.empty()) {
        const FramePtr f = std::move(pending.back());
        pending.pop_back();
        addIfNew(f->ObjectName, {f, nullptr});
        for (DWORD i = 0; i < f->GetChildMeshCount(); ++i)
            if (const MeshPtr m = f->GetChildMesh(i)) addIfNew(m->ObjectName, {nullptr, m});
        for (DWORD i = f->GetChildFrameCount(); i > 0; --i)
            if (FramePtr c = f->GetChildFrame(i - 1)) pending.push_back(std::move(c));
    }
}

void FrameNameIndex::addIfNew(const std::string& name, D3DObjectRef object) {
    byName_.try_emplace(name, Entry{std::move(object), Region::Subtree});
}

}  // namespace vantrel::engine3d
