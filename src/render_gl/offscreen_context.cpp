#include "render_gl/offscreen_context.h"

#include <cstring>
#include <string>

#include <EGL/egl.h>
#include <EGL/eglext.h>
#define GL_GLEXT_PROTOTYPES 1
#include <GL/glcorearb.h>

#include "render_gl/gl_error.h"

namespace vantrel::render_gl {

struct OffscreenContext::Egl {
    EGLDisplay display = EGL_NO_DISPLAY;
    EGLContext context = EGL_NO_CONTEXT;
};

namespace {

EGLDisplay openSurfacelessDisplay() {
    const char* extensions = eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS);
    if (!extensions || !std::strstr(extensions, "EGL_MESA_platform_surfaceless"))
        throw GlError("no OpenGL context: EGL has no surfaceless platform (is Mesa installed?)");
    auto getPlatformDisplay =
        reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (!getPlatformDisplay) throw GlError("no OpenGL context: eglGetPlatformDisplayEXT is missing");
    EGLDisplay display = getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    if (display == EGL_NO_DISPLAY || !eglInitialize(display, nullptr, nullptr))
        throw GlError("no OpenGL context: the surfaceless EGL display does not initialise");
    return display;
}

}  // namespace

OffscreenContext::OffscreenContext(int width, int height) : egl_(std::make_unique<Egl>()), width_(width), height_(height) {
    if (width <= 0 || height <= 0 || width > 8192 || height > 8192)
        throw GlError("picture size " + std::to_string(width) + "x" + std::to_string(height) + " is out of range");
    egl_->display = openSurfacelessDisplay();
    // The display stays initialised: EGL hands every caller the same one, so
    // terminating it would take other pictures' contexts with it.
    if (!eglBindAPI(EGL_OPENGL_API)) {
        throw GlError("no OpenGL context: EGL does not offer desktop OpenGL");
    }
    const EGLint configAttributes[] = {EGL_SURFACE_TYPE, EGL_PBUFFER_BIT, EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT, EGL_NONE};
    EGLConfig config = nullptr;
    EGLint count = 0;
    // Surfaceless contexts need no config at all; take one when offered.
    eglChooseConfig(egl_->display, configAttributes, &config, 1, &count);
    const EGLint contextAttributes[] = {EGL_CONTEXT_MAJOR_VERSION, 3, EGL_CONTEXT_MINOR_VERSION, 3,
                                        EGL_CONTEXT_OPENGL_PROFILE_MASK, EGL_CONTEXT_OPENGL_CORE_PROFILE_BIT,
                                        EGL_NONE};
    egl_->context = eglCreateContext(egl_->display, count > 0 ? config : EGL_NO_CONFIG_KHR, EGL_NO_CONTEXT,
                                     contextAttributes);
    if (egl_->context == EGL_NO_CONTEXT) throw GlError("no OpenGL context: an OpenGL 3.3 core context cannot be created");
    try {
        makeCurrent();
        createFramebuffer();
    } catch (...) {
        release();
        throw;
    }
}

OffscreenContext::~OffscreenContext() { release(); }

void OffscreenContext::release() {
    if (eglGetCurrentContext() == egl_->context) {
        glDeleteFramebuffers(1, &framebuffer_);
        glDeleteRenderbuffers(1, &colour_);
        glDeleteRenderbuffers(1, &depth_);
        eglMakeCurrent(egl_->display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    }
    eglDestroyContext(egl_->display, egl_->context);
}

void OffscreenContext::makeCurrent() {
    if (!eglMakeCurrent(egl_->display, EGL_NO_SURFACE, EGL_NO_SURFACE, egl_->context))
        throw GlError("no OpenGL context: the EGL context cannot be made current");
}

void OffscreenContext::createFramebuffer() {
    GLint largest = 0;
    glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &largest);
    if (width_ > largest || height_ > largest)
        throw GlError("picture size " + std::to_string(width_) + "x" + std::to_string(height_) +
                      " is larger than this OpenGL allows (" + std::to_string(largest) + ")");
    glGenRenderbuffers(1, &colour_);
    glBindRenderbuffer(GL_RENDERBUFFER, colour_);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGB8, width_, height_);  // X8R8G8B8, as the display
    glGenRenderbuffers(1, &depth_);
    glBindRenderbuffer(GL_RENDERBUFFER, depth_);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, width_, height_);
    glGenFramebuffers(1, &framebuffer_);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, depth_);
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE)
        throw GlError("no OpenGL context: the picture's framebuffer is incomplete");
}

RgbaImage OffscreenContext::readPixels() const {
    RgbaImage image;
    image.width = width_;
    image.height = height_;
    image.pixels.resize(static_cast<std::size_t>(width_) * height_ * 4);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer_);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width_, height_, GL_RGBA, GL_UNSIGNED_BYTE, image.pixels.data());
    // GL rows run bottom-up.
    const std::size_t stride = static_cast<std::size_t>(width_) * 4;
    std::vector<std::uint8_t> row(stride);
    for (int y = 0; y < height_ / 2; ++y) {
        std::uint8_t* a = &image.pixels[y * stride];
        std::uint8_t* b = &image.pixels[(height_ - 1 - y) * stride];
        std::memcpy(row.data(), a, stride);
        std::memcpy(a, b, stride);
        std::memcpy(b, row.data(), stride);
    }
    return image;
}

}  // namespace vantrel::render_gl
