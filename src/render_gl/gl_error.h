#pragma once
// Failures of the OpenGL backend: no context, a shader that does not build, a
// framebuffer that cannot be completed, an image that cannot be written.

#include "engine3d/engine3d_error.h"

namespace vantrel::render_gl {

class GlError : public engine3d::Engine3dError {
public:
    using engine3d::Engine3dError::Engine3dError;
};

}  // namespace vantrel::render_gl
