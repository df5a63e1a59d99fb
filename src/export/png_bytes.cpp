#include "export/png_bytes.h"

#include <png.h>

#include <cstring>

#include "export/export_error.h"

namespace vantrel {

std::vector<std::uint8_t> pngBytes(const render_gl::RgbaImage& image) {
    const std::size_t pixels = static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height);
    if (image.width <= 0 || image.height <= 0 || image.pixels.size() != pixels * 4)
        throw ExportError("the picture is empty");
    std::vector<std::uint8_t> rgb(pixels * 3);
    for (std::size_t i = 0; i < pixels; ++i) std::memcpy(&rgb[i * 3], &image.pixels[i * 4], 3);
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    png.width = static_cast<png_uint_32>(image.width);
    png.height = static_cast<png_uint_32>(image.height);
    png.format = PNG_FORMAT_RGB;
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(&png, nullptr, &size, 0, rgb.data(), 0, nullptr)) {
        png_image_free(&png);
        throw ExportError(std::string("cannot encode a picture: ") + png.message);
    }
    std::vector<std::uint8_t> bytes(size);
    if (!png_image_write_to_memory(&png, bytes.data(), &size, 0, rgb.data(), 0, nullptr)) {
        png_image_free(&png);
        throw ExportError(std::string("cannot encode a picture: ") + png.message);
    }
    bytes.resize(size);
    return bytes;
}

render_gl::RgbaImage shrunk(const render_gl::RgbaImage& image, int factor) {
    render_gl::RgbaImage out;
    out.width = image.width / factor;
    out.height = image.height / factor;
    out.pixels.resize(static_cast<std::size_t>(out.width) * out.height * 4);
    const int block = factor * factor;
    for (int y = 0; y < out.height; ++y)
        for (int x = 0; x < out.width; ++x)
            for (int c = 0; c < 4; ++c) {
                int sum = 0;
                for (int dy = 0; dy < factor; ++dy)
                    for (int dx = 0; dx < factor; ++dx) sum += image.pixel(x * factor + dx, y * factor + dy)[c];
                out.pixels[(static_cast<std::size_t>(y) * out.width + x) * 4 + c] =
                    static_cast<std::uint8_t>((sum + block / 2) / block);
            }
    return out;
}

}  // namespace vantrel
