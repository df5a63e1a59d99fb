// vantrel-cli xinfo FILE: loads a .x file the way the 3D view does and prints
// its frames, meshes and animations as JSON.

#include <iostream>

#include "app/cli_command.h"
#include "engine3d/device/recording_device.h"
#include "engine3d/scene/cd3d_animation.h"
#include "engine3d/scene/scene_json.h"
#include "engine3d/scene/xfile_scene_loader.h"

namespace vantrel::cli {
namespace {

int runXinfo(const std::vector<std::string>& args, const std::string&) {
    if (args.size() != 1) {
        std::cerr << "usage: vantrel-cli xinfo FILE\n";
        return 1;
    }
    using namespace vantrel::engine3d;
    RecordingDevice device;  // no display: textures are only checked for presence
    auto container = CD3DFrame::Create();
    CD3DAnimation animations;
    try {
        const auto warnings =
            loadXFileScene(&device, args[0], container, animationSetsInto(animations, container, &device));
        for (const std::string& warning : warnings) std::cerr << "vantrel-cli xinfo: warning: " << warning << "\n";
    } catch (const Engine3dError& e) {
        std::cerr << "vantrel-cli xinfo: " << e.what() << "\n";
        return 1;
    }
    std::cout << describeSceneJson(*container, &animations);
    return 0;
}

const CliCommandRegistration registration({"xinfo", runXinfo});

}  // namespace
}  // namespace vantrel::cli
