#include "view/offscreen_view.h"

#include <filesystem>

#include "engine3d/scene/cd3d_frame.h"
#include "engine3d/scene/xfile_scene_loader.h"

namespace vantrel::view {

using namespace engine3d;

OffscreenView::OffscreenView(int width, int height, std::int32_t backgroundColor, CameraPosition eye)
    : context_(width, height),
      device_([this] { return context_.target(); }),
      util_(device_),
      background_(backgroundColor),
      view_(util_, CameraSettings{cameraX_, cameraY_, cameraZ_, background_}) {
    util_.ViewWidth = width;
    util_.ViewHeight = height;
    placeCamera(eye.x, eye.y, eye.z);
}

OffscreenView::~OffscreenView() {
    try {
        context_.makeCurrent();
    } catch (const std::exception&) {
        // Nothing else to do: the context is destroyed right after.
    }
}

void OffscreenView::loadModel(const std::string& path) {
    device_.setTextureFolder(std::filesystem::path(path).parent_path().string());
    auto root = CD3DFrame::Create();
    auto model = NewChildFrame(root);
    loadXFileScene(&device_, path, model);
    useScene(root, model, model);
}

namespace {

void prepareTextures(engine3d::CD3DFrame& frame, render_gl::GlDevice& device) {
    for (DWORD m = 0; m < frame.GetChildMeshCount(); ++m) {
        const auto mesh = frame.GetChildMesh(m);
        for (DWORD i = 0; mesh && i < mesh->GetMaterialCount(); ++i) device.prepareTexture(mesh->GetMaterialTexture(i));
    }
    for (DWORD c = 0; c < frame.GetChildFrameCount(); ++c)
        if (const auto child = frame.GetChildFrame(c)) prepareTextures(*child, device);
}

}  // namespace

void OffscreenView::useScene(FramePtr sceneRoot, FramePtr modelFrame, FramePtr pickRoot) {
    if (sceneRoot) prepareTextures(*sceneRoot, device_);
    view_.SceneRoot = std::move(sceneRoot);
    view_.ModelFrame = std::move(modelFrame);
    view_.PcRoot = std::move(pickRoot);
    view_.ModelReady = view_.SceneRoot != nullptr;
}

void OffscreenView::placeCamera(float x, float y, float z) {
    cameraX_ = x;
    cameraY_ = y;
    cameraZ_ = z;
    view_.zoom_in();
}

void OffscreenView::turn(int dx, int dy) {
    view_.LastMouseX = 0;
    view_.LastMouseY = 0;
    view_.RotateTrackBall(SceneView::toViewInteger(static_cast<float>(dx)),
                          SceneView::toViewInteger(static_cast<float>(dy)));
}

render_gl::RgbaImage OffscreenView::picture() {
    context_.makeCurrent();
    view_.RenderScene();
    return context_.readPixels();
}

}  // namespace vantrel::view
