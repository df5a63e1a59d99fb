#include "model/model_fixture.h"

#include "engine3d/math/d3d_math.h"
#include "engine3d/scene/cd3d_pick.h"
#include "model/assembly.h"
#include "model/default_view.h"

namespace vantrel::model::test {

using namespace engine3d;

std::string mediaFolder() { return std::string(VANTREL_MEDIA_DIR) + "/"; }

void applyDefaultView(RenderDevice& device) { model::applyDefaultView(device, kViewWidth, kViewHeight); }

void assemble(VirtualPc& pc, RecordingDevice& device) {
    pc.MediaFolder = mediaFolder();
    load_start(pc, device);
    applyDefaultView(device);
}

namespace {

void walk(const FramePtr& frame, const D3DMATRIX& parentWorld, const std::string& part, std::vector<DrawnFrame>& out) {
    if (!frame->Enabled) return;
    const D3DMATRIX world = frame->GetMatrix() * parentWorld;
    if (frame->GetChildMeshCount() > 0) {
        DrawnFrame drawn{frame->ObjectName, part, {}, frame};
        for (DWORD m = 0; m < frame->GetChildMeshCount(); ++m) {
            const auto& geometry = *frame->GetChildMesh(m)->mesh;
            for (std::size_t v = 0; v < geometry.vertexCount(); ++v) {
                const D3DVECTOR p = D3DXVec3TransformCoord(geometry.position(v), world);
                drawn.box.lo = {std::min(drawn.box.lo.x, p.x), std::min(drawn.box.lo.y, p.y), std::min(drawn.box.lo.z, p.z)};
                drawn.box.hi = {std::max(drawn.box.hi.x, p.x), std::max(drawn.box.hi.y, p.y), std::max(drawn.box.hi.z, p.z)};
            }
        }
        out.push_back(drawn);
    }
    for (DWORD c = 0; c < frame->GetChildFrameCount(); ++c) walk(frame->GetChildFrame(c), world, part, out);
}

}  // namespace

std::vector<DrawnFrame> drawnFrames(const VirtualPc& pc) {
    std::vector<DrawnFrame> out;
    if (!pc.PcRoot->Enabled) return out;
    for (const auto& part : pc.parts()) walk(part.frame, pc.PcRoot->GetMatrix(), part.name, out);
    return out;
}

D3DVECTOR project(const RenderDevice& device, const D3DVECTOR& world) {
    const D3DMATRIX viewProj = device.GetTransform(D3DTS_VIEW) * device.GetTransform(D3DTS_PROJECTION);
    const D3DVECTOR ndc = D3DXVec3TransformCoord(world, viewProj);
    const auto vp = device.GetViewport();
    return {(ndc.x + 1) / 2 * float(vp.Width), (1 - ndc.y) / 2 * float(vp.Height), ndc.z};
}

FramePtr pickFrameAt(RenderDevice& device, const VirtualPc& pc, float x, float y) {
    CD3DPick pick(device);
    pick.ViewportPick(pc.PcRoot, x, y);
    if (pick.GetCount() == 0) return nullptr;
    const auto nearest = pick.FindNearest();
    if (nearest < 0) return nullptr;
    return pick.GetFrame(static_cast<DWORD>(nearest));
}

std::string pickAt(RenderDevice& device, const VirtualPc& pc, float x, float y) {
    const FramePtr hit = pickFrameAt(device, pc, x, y);
    return hit ? hit->ObjectName : "";
}

}  // namespace vantrel::model::test
