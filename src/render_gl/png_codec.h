#pragma once
// PNG pictures of the plain kind our generator and our renderer write (8-bit
// RGB or RGBA, not interlaced, no colour-space chunks other than sRGB), read
// and written with libdeflate's whole-buffer deflate, several times faster
// than zlib's streams. Any other PNG is left to libpng.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "render_gl/image_file.h"

namespace vantrel::render_gl {

// The picture as RGBA; none when the file is not of the plain kind or is
// damaged in any way (libpng then reads it or gives the reason).
std::optional<RgbaImage> decodePlainPng(const std::uint8_t* data, std::size_t size);

enum class PngChannels { Rgb = 3, Rgba = 4 };

// The PNG file of image, its alpha dropped for Rgb, compressed at libdeflate's
// level (1 fastest, 12 smallest). The picture must be whole (width * height *
// 4 bytes); throws std::invalid_argument otherwise.
std::vector<std::uint8_t> encodePng(const RgbaImage& image, PngChannels channels, int level = 1);

}  // namespace vantrel::render_gl
