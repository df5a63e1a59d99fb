#pragma once
// The 3D view drawing into a windowless picture: the same device, scene
// defaults, camera and trackball code as the window, on an EGL context.

#include <cstdint>
#include <memory>
#include <string>

#include "core/start_camera.h"
#include "engine3d/device/d3d_util.h"
#include "render_gl/gl_device.h"
#include "render_gl/offscreen_context.h"
#include "view/scene_view.h"

namespace vantrel::view {

class OffscreenView {
public:
    // Raises render_gl::GlError when no GL context can be had.
    // The eye starts at `eye` (the program's start camera unless given).
    OffscreenView(int width, int height, std::int32_t backgroundColor, CameraPosition eye = kStartCamera);
    // The device deletes its GL objects in this picture's context.
    ~OffscreenView();
    OffscreenView(const OffscreenView&) = delete;
    OffscreenView& operator=(const OffscreenView&) = delete;

    // Loads a .x file as the turned model under a fresh scene root, without
    // drawing. Raises the reader's error (XFileError or Engine3dError) with its reason.
    void loadModel(const std::string& path);
    // Hands over a ready scene (SceneRoot, ModelFrame, PcRoot), without drawing.
    void useScene(FramePtr sceneRoot, FramePtr modelFrame, FramePtr pickRoot);
    // The eye of the camera commands, applied through zoom_in.
    void placeCamera(float x, float y, float z);
    // One trackball step of (dx, dy) pixels.
    void turn(int dx, int dy);
    // Draws and reads the picture back.
    render_gl::RgbaImage picture();

    SceneView& view() { return view_; }
    render_gl::GlDevice& device() { return device_; }
    engine3d::D3DUtil& util() { return util_; }

private:
    render_gl::OffscreenContext context_;
    render_gl::GlDevice device_;
    engine3d::D3DUtil util_;
    float cameraX_ = kStartCamera.x, cameraY_ = kStartCamera.y, cameraZ_ = kStartCamera.z;
    std::int32_t background_;
    SceneView view_;
};

}  // namespace vantrel::view
