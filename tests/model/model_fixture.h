#pragma once
// The virtual PC assembled from the generated media on the recording device,
// and what the tests measure on it: where each named part is and what a pick
// at a point of the default view hits.

#include <string>
#include <vector>

#include "engine3d/device/recording_device.h"
#include "engine3d/math/d3d_types.h"
#include "model/virtual_pc.h"

namespace vantrel::model::test {

inline constexpr int kViewWidth = 800;
inline constexpr int kViewHeight = 600;

std::string mediaFolder();

// Assembles pc from the generated media with the default camera set.
void assemble(VirtualPc& pc, engine3d::RecordingDevice& device);

// Projection of the start-up view: field of view 3.1415 / 4, width over
// height, eye at (0, 0, -10) looking at the origin.
void applyDefaultView(engine3d::RenderDevice& device);

struct Box {
    engine3d::D3DVECTOR lo{1e30f, 1e30f, 1e30f}, hi{-1e30f, -1e30f, -1e30f};
    engine3d::D3DVECTOR centre() const { return {(lo.x + hi.x) / 2, (lo.y + hi.y) / 2, (lo.z + hi.z) / 2}; }
};

// Every drawn instance of a frame holding meshes, with its world box; a frame
// shown through a chain appears once per path.
struct DrawnFrame {
    std::string name;
    std::string path;  // part frame it hangs under, for messages
    Box box;
    engine3d::FramePtr frame;
};
std::vector<DrawnFrame> drawnFrames(const VirtualPc& pc);

// Screen point of a world point in the default view.
engine3d::D3DVECTOR project(const engine3d::RenderDevice& device, const engine3d::D3DVECTOR& world);

// The nearest frame hit at a screen point (null when nothing is hit).
engine3d::FramePtr pickFrameAt(engine3d::RenderDevice& device, const VirtualPc& pc, float x, float y);
// Name of the nearest frame hit at a screen point ("" when nothing is hit).
std::string pickAt(engine3d::RenderDevice& device, const VirtualPc& pc, float x, float y);

}  // namespace vantrel::model::test
