#pragma once
// The smaller pictures a mipmapped texture samples from when it is seen from
// afar, made on the CPU. Asking the GL to make them costs far more on a
// software renderer: it compiles its own shaders for the blits, once per
// context, which is most of a first frame.

#include <vector>

#include "render_gl/image_file.h"

namespace vantrel::render_gl {

// Levels 1, 2, ... down to 1x1, each half the one before (sides rounded down,
// as GL sizes them), each pixel the average of the 2x2 it covers.
std::vector<RgbaImage> mipChain(const RgbaImage& picture);

}  // namespace vantrel::render_gl
