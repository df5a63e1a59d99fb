// libFuzzer target: any byte string read as a .x file, then loaded into frames,
// meshes and animations and described, must either work or fail with the
// framework's own error. Anything else (a crash, a sanitizer report, another
// exception) is a finding.

#include <cstdint>
#include <span>

#include "engine3d/scene/cd3d_animation.h"
#include "engine3d/scene/cd3d_frame.h"
#include "engine3d/scene/xfile_scene_loader.h"
#include "engine3d/engine3d_error.h"
#include "engine3d/device/recording_device.h"
#include "engine3d/scene/scene_json.h"

using namespace vantrel::engine3d;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    RecordingDevice dev;
    auto root = CD3DFrame::Create();
    CD3DAnimation anim;
    try {
        XFileEnumerator e = XFileReader().openMemory(std::span(data, size), "fuzz.x");
        while (XFileData obj = e.next()) {
            const auto t = obj.templateName();
            if (t == "Frame") {
                LoadFrameData(CD3DFrame::Create(), &dev, obj, root);
            } else if (t == "Mesh") {
                auto m = std::make_shared<CD3DMesh>();
                m->InitFromXOF(&dev, obj);
                m->Optimize();
                root->AddMesh(m);
            } else if (t == "AnimationSet") {
                anim.LoadAnimationSet(obj, root, &dev);
            }
        }
    } catch (const Engine3dError&) {
    }
    root->Render(dev);
    (void)describeSceneJson(*root, &anim);
    for (float t : {0.0f, 1.5f, 1000.0f}) {
        try {
            anim.SetTime(t);
        } catch (const Engine3dError&) {
        }
    }
    return 0;
}
