#pragma once
// Pictures of the HTML export as PNG bytes, and the smaller copy the index shows.

#include <cstdint>
#include <vector>

#include "render_gl/image_file.h"

namespace vantrel {

// Opaque RGB PNG of the picture (its alpha is dropped). Throws ExportError.
std::vector<std::uint8_t> pngBytes(const render_gl::RgbaImage& image);

// The picture `factor` times smaller each way, each pixel the mean of its block.
render_gl::RgbaImage shrunk(const render_gl::RgbaImage& image, int factor);

}  // namespace vantrel
