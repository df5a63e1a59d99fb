#pragma once
// A windowless OpenGL 3.3 core context on Mesa's surfaceless EGL platform (no
// X server needed), drawing into a framebuffer object of a fixed size whose
// picture can be read back.

#include <memory>

#include "render_gl/gl_device.h"
#include "render_gl/image_file.h"

namespace vantrel::render_gl {

class OffscreenContext {
public:
    // Makes the context current. Raises GlError with a one-line reason when no
    // context can be had.
    OffscreenContext(int width, int height);
    ~OffscreenContext();
    OffscreenContext(const OffscreenContext&) = delete;
    OffscreenContext& operator=(const OffscreenContext&) = delete;

    GlTarget target() const { return {framebuffer_, width_, height_, true}; }
    int width() const { return width_; }
    int height() const { return height_; }
    // The picture drawn so far, top row first.
    RgbaImage readPixels() const;
    void makeCurrent();

private:
    void createFramebuffer();
    void release();

    struct Egl;
    std::unique_ptr<Egl> egl_;
    int width_, height_;
    unsigned framebuffer_ = 0, colour_ = 0, depth_ = 0;
};

}  // namespace vantrel::render_gl
