#include "engine3d/scene/frame_path.h"

namespace vantrel::engine3d {
namespace {

bool descend(const FramePtr& frame, const FramePtr& target, std::vector<FramePtr>& path) {
    if (!frame || !frame->Enabled) return false;
    path.push_back(frame);
    if (frame == target) return true;
    for (DWORD i = 0; i < frame->GetChildFrameCount(); ++i)
        if (descend(frame->GetChildFrame(i), target, path)) return true;
    path.pop_back();
    return false;
}

}  // namespace

std::vector<FramePtr> framePath(const FramePtr& root, const FramePtr& target) {
    std::vector<FramePtr> path;
    if (target) descend(root, target, path);
    return path;
}

}  // namespace vantrel::engine3d
