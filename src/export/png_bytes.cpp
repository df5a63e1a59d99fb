#include "export/png_bytes.h"

#include <algorithm>
#include <new>

#include "export/export_error.h"
#include "render_gl/png_codec.h"

namespace vantrel {

std::vector<std::uint8_t> pngBytes(const render_gl::RgbaImage& image) {
    const std::size_t pixels = static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height);
    if (image.width <= 0 || image.height <= 0 || image.pixels.size() != pixels * 4)
        throw ExportError("the picture is empty");
    try {
        return render_gl::encodePng(image, render_gl::PngChannels::Rgb);
    } catch (const std::bad_alloc&) {
        throw ExportError("cannot encode a picture: out of memory");
    }
}

render_gl::RgbaImage shrunk(const render_gl::RgbaImage& image, int factor) {
    render_gl::RgbaImage out;
    out.width = image.width / factor;
    out.height = image.height / factor;
    out.pixels.resize(static_cast<std::size_t>(out.width) * out.height * 4);
    const std::size_t outRow = static_cast<std::size_t>(out.width) * 4;
    const int block = factor * factor;
    // Block sums a row of blocks at a time, reading the picture row by row.
    std::vector<int> sums(outRow);
    for (int y = 0; y < out.height; ++y) {
        std::fill(sums.begin(), sums.end(), 0);
        for (int dy = 0; dy < factor; ++dy) {
            const std::uint8_t* in = image.pixel(0, y * factor + dy);
            for (std::size_t x = 0; x < static_cast<std::size_t>(out.width); ++x)
                for (int dx = 0; dx < factor; ++dx, in += 4)
                    for (int c = 0; c < 4; ++c) sums[x * 4 + c] += in[c];
        }
        std::uint8_t* row = &out.pixels[static_cast<std::size_t>(y) * outRow];
        for (std::size_t i = 0; i < outRow; ++i) row[i] = static_cast<std::uint8_t>((sums[i] + block / 2) / block);
    }
    return out;
}

}  // namespace vantrel
