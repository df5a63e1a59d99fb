#pragma once
// Reading a .x file into frames and meshes. The file's animation sets are
// handed to the caller, who decides whether anything plays them: frames know
// nothing of animations.

#include <functional>
#include <string>
#include <vector>

#include "engine3d/device/render_device.h"
#include "engine3d/scene/cd3d_frame.h"
#include "engine3d/xfile/xfile_reader.h"

namespace vantrel::engine3d {

// Called for each top-level AnimationSet object, in file order, once the
// objects before it are attached.
using AnimationSetHandler = std::function<void(const XFileData& set)>;

// Attaches the file's top-level frames and meshes to container, in file order;
// other top-level objects are skipped. Returns the reader's warnings (objects
// of unknown templates it read past). Throws XFileError for a file that cannot
// be read and Engine3dError for a part that cannot be built; what was attached
// before the failure stays.
std::vector<std::string> loadXFileScene(RenderDevice* dev, const std::string& path, const FramePtr& container,
                    const AnimationSetHandler& onAnimationSet = {});
// The same for a file already read and parsed (a fresh enumerator).
std::vector<std::string> loadXFileScene(RenderDevice* dev, XFileEnumerator parsed, const FramePtr& container,
                    const AnimationSetHandler& onAnimationSet = {});

// Links frame under parent, then reads a Frame data object into it: its name,
// its FrameTransformMatrix, its meshes and child frames.
void LoadFrameData(const FramePtr& frame, RenderDevice* dev, const XFileData& object, const FramePtr& parent);

}  // namespace vantrel::engine3d
