#include "engine3d/scene/xfile_scene_loader.h"

namespace vantrel::engine3d {
namespace {

MeshPtr loadMesh(RenderDevice* dev, const XFileData& object) {
    auto mesh = std::make_shared<CD3DMesh>();
    mesh->InitFromXOF(dev, object);
    return mesh;
}

D3DMATRIX readMatrix(const XFileData& object) {
    XDataCursor c(object);
    D3DMATRIX m;
    for (int k = 0; k < 16; ++k) m.m[k / 4][k % 4] = c.f32();
    return m;
}

}  // namespace

void LoadFrameData(const FramePtr& frame, RenderDevice* dev, const XFileData& object, const FramePtr& parent) {
    parent->AddChild(frame);
    frame->ObjectName = std::string(object.name());
    for (std::size_t i = 0; i < object.childCount(); ++i) {
        const XFileData child = object.child(i);
        if (child.isReference()) continue;
        if (child.hasTemplate("Frame")) {
            LoadFrameData(CD3DFrame::Create(), dev, child, frame);
        } else if (child.hasTemplate("Mesh")) {
            frame->AddMesh(loadMesh(dev, child));
        } else if (child.hasTemplate("FrameTransformMatrix")) {
            // The stored position, orientation and scale stay as they are.
            frame->SetMatrix(readMatrix(child));
        }
    }
}

std::vector<std::string> loadXFileScene(RenderDevice* dev, const std::string& path, const FramePtr& container,
                    const AnimationSetHandler& onAnimationSet) {
    return loadXFileScene(dev, XFileReader().open(path), container, onAnimationSet);
}

std::vector<std::string> loadXFileScene(RenderDevice* dev, XFileEnumerator e, const FramePtr& container,
                    const AnimationSetHandler& onAnimationSet) {
    while (XFileData obj = e.next()) {
        if (obj.hasTemplate("Frame")) {
            LoadFrameData(CD3DFrame::Create(), dev, obj, container);
        } else if (obj.hasTemplate("Mesh")) {
            container->AddMesh(loadMesh(dev, obj));
        } else if (obj.hasTemplate("AnimationSet") && onAnimationSet) {
            onAnimationSet(obj);
        }
    }
    return e.warnings();
}

bool CD3DFrame::InitFromFile(RenderDevice* dev, const std::string& path, const FramePtr& parent) {
    try {
        loadXFileScene(dev, path, shared_from_this());
    } catch (const std::exception&) {
        // The program's models report a failure as false; the reason is for
        // callers of loadXFileScene.
        return false;
    }
    if (parent) parent->AddChild(shared_from_this());
    return true;
}

}  // namespace vantrel::engine3d
