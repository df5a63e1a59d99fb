#include "render_gl/image_file.h"

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <memory>

#include <jpeglib.h>
#include <png.h>

#include "render_gl/gl_error.h"
#include "render_gl/png_codec.h"
#include "text/regular_file.h"

namespace vantrel::render_gl {
namespace {

constexpr std::size_t kMaxFileBytes = 256u * 1024 * 1024;

bool sizeAcceptable(long long w, long long h) { return w > 0 && h > 0 && w <= kMaxImageSide && h <= kMaxImageSide; }

std::optional<std::vector<std::uint8_t>> readBytes(const std::string& path) {
    // Texture names come from .x files: a FIFO or a device there is refused, not waited on.
    text::FileBytes file = text::readRegularFile(path, kMaxFileBytes);
    if (file.check != text::FileCheck::Ok) return std::nullopt;
    return std::vector<std::uint8_t>(file.bytes.begin(), file.bytes.end());
}

std::optional<RgbaImage> readPng(const std::vector<std::uint8_t>& bytes) {
    if (auto plain = decodePlainPng(bytes.data(), bytes.size())) return plain;
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&png, bytes.data(), bytes.size())) return std::nullopt;
    if (!sizeAcceptable(png.width, png.height)) {
        png_image_free(&png);
        return std::nullopt;
    }
    png.format = PNG_FORMAT_RGBA;
    RgbaImage image;
    image.width = static_cast<int>(png.width);
    image.height = static_cast<int>(png.height);
    image.pixels.resize(PNG_IMAGE_SIZE(png));
    if (!png_image_finish_read(&png, nullptr, image.pixels.data(), 0, nullptr)) {
        png_image_free(&png);
        return std::nullopt;
    }
    return image;
}

struct JpegErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

void jpegFail(j_common_ptr info) { std::longjmp(reinterpret_cast<JpegErrorManager*>(info->err)->jump, 1); }
void jpegQuiet(j_common_ptr) {}

// libjpeg reports errors by longjmp; nothing with a destructor lives between
// setjmp and the calls that may jump.
bool decodeJpeg(const std::vector<std::uint8_t>& bytes, RgbaImage& image, std::vector<std::uint8_t>& rgb) {
    jpeg_decompress_struct info;
    JpegErrorManager errors;
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = jpegFail;
    errors.base.output_message = jpegQuiet;
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    if (!sizeAcceptable(info.output_width, info.output_height) || info.output_components != 3) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    image.width = static_cast<int>(info.output_width);
    image.height = static_cast<int>(info.output_height);
    rgb.resize(static_cast<std::size_t>(image.width) * image.height * 3);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = &rgb[static_cast<std::size_t>(info.output_scanline) * image.width * 3];
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

std::optional<RgbaImage> readJpeg(const std::vector<std::uint8_t>& bytes) {
    RgbaImage image;
    std::vector<std::uint8_t> rgb;
    if (!decodeJpeg(bytes, image, rgb)) return std::nullopt;
    image.pixels.resize(static_cast<std::size_t>(image.width) * image.height * 4);
    for (std::size_t i = 0, n = rgb.size() / 3; i < n; ++i) {
        std::memcpy(&image.pixels[i * 4], &rgb[i * 3], 3);
        image.pixels[i * 4 + 3] = 255;
    }
    return image;
}

std::uint32_t le32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}
std::uint16_t le16(const std::vector<std::uint8_t>& b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

}  // namespace

// Uncompressed 8-bit (palette), 24-bit and 32-bit Windows bitmaps, bottom-up
// or top-down.
std::optional<RgbaImage> readBmp(const std::vector<std::uint8_t>& b) {
    constexpr std::size_t kFileHeader = 14;
    if (b.size() < kFileHeader + 40 || b[0] != 'B' || b[1] != 'M') return std::nullopt;
    const std::uint32_t dataOffset = le32(b, 10);
    const std::uint32_t infoSize = le32(b, 14);
    const auto width = static_cast<std::int32_t>(le32(b, 18));
    const auto rawHeight = static_cast<std::int32_t>(le32(b, 22));
    const std::uint16_t bits = le16(b, 28);
    const std::uint32_t compression = le32(b, 30);
    const bool topDown = rawHeight < 0;
    const long long height = topDown ? -static_cast<long long>(rawHeight) : rawHeight;
    if (!sizeAcceptable(width, height) || infoSize < 40 || infoSize > b.size() - kFileHeader) return std::nullopt;
    if (!(compression == 0 || (compression == 3 && bits == 32))) return std::nullopt;
    if (bits != 8 && bits != 24 && bits != 32) return std::nullopt;
    const std::size_t stride = ((static_cast<std::size_t>(width) * bits + 31) / 32) * 4;
    if (dataOffset > b.size() || stride * static_cast<std::size_t>(height) > b.size() - dataOffset) return std::nullopt;
    std::size_t paletteSize = 0;
    const std::size_t paletteAt = kFileHeader + infoSize;
    if (bits == 8) {
        std::uint32_t used = le32(b, 46);
        paletteSize = used == 0 || used > 256 ? 256 : used;
        if (paletteAt > dataOffset || paletteSize * 4 > dataOffset - paletteAt) return std::nullopt;
    }
    RgbaImage image;
    image.width = width;
    image.height = static_cast<int>(height);
    image.pixels.resize(static_cast<std::size_t>(width) * image.height * 4);
    for (int y = 0; y < image.height; ++y) {
        const std::size_t fileRow = topDown ? y : image.height - 1 - y;
        const std::uint8_t* row = &b[dataOffset + fileRow * stride];
        std::uint8_t* out = &image.pixels[static_cast<std::size_t>(y) * width * 4];
        for (int x = 0; x < width; ++x, out += 4) {
            const std::uint8_t* bgr = nullptr;
            if (bits == 8) {
                const std::size_t index = row[x];
                if (index >= paletteSize) return std::nullopt;
                bgr = &b[paletteAt + index * 4];
            } else {
                bgr = row + static_cast<std::size_t>(x) * (bits / 8);
            }
            out[0] = bgr[2];
            out[1] = bgr[1];
            out[2] = bgr[0];
            out[3] = 255;  // the fourth byte of 32-bit bitmaps is rarely an alpha channel
        }
    }
    return image;
}

std::optional<std::vector<std::uint8_t>> readPictureFile(const std::string& path) {
    auto bytes = readBytes(path);
    if (!bytes || bytes->size() < 4) return std::nullopt;
    const auto& b = *bytes;
    const bool known = (b[0] == 0x89 && b[1] == 'P' && b[2] == 'N' && b[3] == 'G') || (b[0] == 0xFF && b[1] == 0xD8) ||
                       (b[0] == 'B' && b[1] == 'M');
    if (!known) return std::nullopt;
    return bytes;
}

std::optional<RgbaImage> decodePicture(const std::vector<std::uint8_t>& b) {
    if (b.size() < 4) return std::nullopt;
    if (b[0] == 0x89 && b[1] == 'P' && b[2] == 'N' && b[3] == 'G') return readPng(b);
    if (b[0] == 0xFF && b[1] == 0xD8) return readJpeg(b);
    if (b[0] == 'B' && b[1] == 'M') return readBmp(b);
    return std::nullopt;
}

std::optional<RgbaImage> readImageFile(const std::string& path) {
    auto bytes = readPictureFile(path);
    if (!bytes) return std::nullopt;
    return decodePicture(*bytes);
}

void writePngFile(const std::string& path, const RgbaImage& image) {
    if (image.width <= 0 || image.height <= 0 ||
        image.pixels.size() != static_cast<std::size_t>(image.width) * image.height * 4)
        throw GlError("cannot write " + path + ": the picture is empty");
    const std::vector<std::uint8_t> bytes = encodePng(image, PngChannels::Rgba);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) throw GlError("cannot write " + path + ": " + std::strerror(errno));
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const int writeError = errno;
    if (std::fclose(file) != 0 || !written) {
        const std::string reason = std::strerror(written ? errno : writeError);
        std::remove(path.c_str());  // half a picture is no picture
        throw GlError("cannot write " + path + ": " + reason);
    }
}

}  // namespace vantrel::render_gl
