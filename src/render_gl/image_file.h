#pragma once
// Pictures as 8-bit RGBA, top row first: reading textures (PNG, JPEG, BMP) and
// writing PNG files. Image files come from users' model folders, so a damaged
// or oversized file is refused, never trusted.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vantrel::render_gl {

struct RgbaImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;  // width * height * 4, top row first

    const std::uint8_t* pixel(int x, int y) const { return &pixels[(static_cast<std::size_t>(y) * width + x) * 4]; }
};

// Largest side accepted for a texture.
inline constexpr int kMaxImageSide = 8192;

// The picture in a PNG, JPEG or BMP file (chosen by its first bytes); none
// when the file is missing, damaged, too large or of another kind.
std::optional<RgbaImage> readImageFile(const std::string& path);
// The same in two steps: the file's bytes, when they start like a picture of
// a kind we read, and then the picture they hold.
std::optional<std::vector<std::uint8_t>> readPictureFile(const std::string& path);
std::optional<RgbaImage> decodePicture(const std::vector<std::uint8_t>& bytes);
std::optional<RgbaImage> readBmp(const std::vector<std::uint8_t>& bytes);

// Writes image as a PNG file; raises GlError with the reason on failure.
void writePngFile(const std::string& path, const RgbaImage& image);

}  // namespace vantrel::render_gl
