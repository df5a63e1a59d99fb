#include "export/png_bytes.h"

#include <png.h>

#include <cstring>

#include "export/export_error.h"

namespace vantrel {

namespace {

// libpng is C: its errors end in a longjmp, never in an exception thrown through it.
void appendBytes(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
    try {
        out->insert(out->end(), data, data + length);
    } catch (const std::bad_alloc&) {
        png_error(png, "out of memory");
    }
}

}  // namespace

std::vector<std::uint8_t> pngBytes(const render_gl::RgbaImage& image) {
    const std::size_t pixels = static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height);
    if (image.width <= 0 || image.height <= 0 || image.pixels.size() != pixels * 4)
        throw ExportError("the picture is empty");
    std::vector<std::uint8_t> bytes;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        throw ExportError("cannot encode a picture: out of memory");
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        throw ExportError("cannot encode a picture");
    }
    {
        png_set_write_fn(png, &bytes, appendBytes, nullptr);
        // Encoding with libpng's defaults took more than half of an export's
        // time: the fastest deflate and one fixed filter, for somewhat larger files.
        png_set_compression_level(png, 1);
        png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
        png_set_IHDR(png, info, static_cast<png_uint_32>(image.width), static_cast<png_uint_32>(image.height), 8,
                     PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_BASE, PNG_FILTER_TYPE_BASE);
        png_write_info(png, info);
        png_set_filler(png, 0, PNG_FILLER_AFTER);  // the alpha byte of each pixel is dropped
        for (int y = 0; y < image.height; ++y)
            png_write_row(png, const_cast<png_bytep>(image.pixel(0, y)));
        png_write_end(png, nullptr);
    }
    png_destroy_write_struct(&png, &info);
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
