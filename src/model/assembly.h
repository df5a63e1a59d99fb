#pragma once
// load_start: builds the virtual PC once from its mesh files. A file that is
// missing or unreadable loses that one load and the assembly goes on.

#include <string>
#include <vector>

#include "engine3d/device/render_device.h"
#include "model/mesh_prefetch.h"
#include "model/virtual_pc.h"

namespace vantrel::model {

// Loads every file from pc.MediaFolder into its part frame, links the chains
// (second and third bays, cards 2 to 7), sets the bright ambient light, builds
// SceneRoot -> frame -> PcRoot -> parts, resets the model and draws it once.
// Returns at once while another assembly runs. Files the prefetch has parsed
// are taken from it; the others are read here.
void load_start(VirtualPc& pc, engine3d::RenderDevice& device, MeshPrefetch* prefetch = nullptr);

// The 248 distinct mesh files of the model, in the order of their first load.
std::vector<std::string> modelFiles();

}  // namespace vantrel::model
