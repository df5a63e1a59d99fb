#pragma once
// A texture made in memory rather than read from a file (text printed on a
// part, for instance). It belongs to no device: every device draws it, the
// GL one by uploading a copy the first time it is used.

#include <cstdint>
#include <string>
#include <vector>

#include "engine3d/device/render_device.h"

namespace vantrel::engine3d {

class PictureTexture : public D3DTexture {
public:
    // pixels: width * height RGBA values, top row first.
    PictureTexture(std::string name, int width, int height, std::vector<std::uint8_t> pixels)
        : D3DTexture(std::move(name)), width_(width), height_(height), pixels_(std::move(pixels)) {}
    int width() const { return width_; }
    int height() const { return height_; }
    const std::vector<std::uint8_t>& pixels() const { return pixels_; }

private:
    int width_, height_;
    std::vector<std::uint8_t> pixels_;
};

}  // namespace vantrel::engine3d
