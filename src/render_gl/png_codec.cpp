#include "render_gl/png_codec.h"

#include <libdeflate.h>

#include <cstdlib>
#include <cstring>
#include <new>
#include <memory>
#include <stdexcept>
#include <string_view>

namespace vantrel::render_gl {
namespace {

constexpr std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

std::uint32_t be32(const std::uint8_t* p) {
    return (static_cast<std::uint32_t>(p[0]) << 24) | (static_cast<std::uint32_t>(p[1]) << 16) |
           (static_cast<std::uint32_t>(p[2]) << 8) | p[3];
}

void putBe32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(v >> shift));
}

struct DecompressorFree {
    void operator()(libdeflate_decompressor* d) const { libdeflate_free_decompressor(d); }
};
struct CompressorFree {
    void operator()(libdeflate_compressor* c) const { libdeflate_free_compressor(c); }
};

// One of each per thread: the export draws and encodes on several at once.
libdeflate_decompressor* decompressor() {
    thread_local std::unique_ptr<libdeflate_decompressor, DecompressorFree> d(libdeflate_alloc_decompressor());
    return d.get();
}
// Rendered pictures are written at level 1 while the user waits; files made
// once, at build time, can take longer to be smaller.
libdeflate_compressor* compressor(int level) {
    thread_local std::unique_ptr<libdeflate_compressor, CompressorFree> c;
    thread_local int made = 0;
    if (!c || made != level) {
        c.reset(libdeflate_alloc_compressor(level));
        made = level;
    }
    return c.get();
}

std::uint8_t paeth(int left, int up, int upLeft) {
    const int p = left + up - upLeft;
    const int pa = std::abs(p - left), pb = std::abs(p - up), pc = std::abs(p - upLeft);
    if (pa <= pb && pa <= pc) return static_cast<std::uint8_t>(left);
    return static_cast<std::uint8_t>(pb <= pc ? up : upLeft);
}

// Undoes the row's filter in place; prior is the row above, already undone
// (all zero for the first row). False for a filter type PNG does not have.
bool unfilter(std::uint8_t filter, std::uint8_t* row, const std::uint8_t* prior, std::size_t length, std::size_t bpp) {
    switch (filter) {
    case 0:
        return true;
    case 1:
        for (std::size_t i = bpp; i < length; ++i) row[i] = static_cast<std::uint8_t>(row[i] + row[i - bpp]);
        return true;
    case 2:
        for (std::size_t i = 0; i < length; ++i) row[i] = static_cast<std::uint8_t>(row[i] + prior[i]);
        return true;
    case 3:
        for (std::size_t i = 0; i < length; ++i) {
            const int left = i >= bpp ? row[i - bpp] : 0;
            row[i] = static_cast<std::uint8_t>(row[i] + ((left + prior[i]) >> 1));
        }
        return true;
    case 4:
        for (std::size_t i = 0; i < length; ++i) {
            const int left = i >= bpp ? row[i - bpp] : 0;
            const int upLeft = i >= bpp ? prior[i - bpp] : 0;
            row[i] = static_cast<std::uint8_t>(row[i] + paeth(left, prior[i], upLeft));
        }
        return true;
    default:
        return false;
    }
}

// PNG chunk types are four ASCII letters; libpng refuses anything else.
bool validType(const std::uint8_t* type) {
    for (int i = 0; i < 4; ++i)
        if (!((type[i] >= 'A' && type[i] <= 'Z') || (type[i] >= 'a' && type[i] <= 'z'))) return false;
    return true;
}

// Chunks that change how the colours read: libpng applies them.
bool changesColours(std::string_view type) {
    return type == "gAMA" || type == "cHRM" || type == "iCCP" || type == "sBIT" || type == "tRNS" || type == "PLTE";
}

}  // namespace

std::optional<RgbaImage> decodePlainPng(const std::uint8_t* data, std::size_t size) {
    if (size < sizeof kSignature || std::memcmp(data, kSignature, sizeof kSignature) != 0) return std::nullopt;
    std::size_t at = sizeof kSignature;
    std::uint32_t width = 0, height = 0;
    std::size_t channels = 0;
    std::vector<std::uint8_t> compressed;
    bool idatSeen = false, idatOver = false, ended = false;
    while (!ended) {
        if (size - at < 12) return std::nullopt;
        const std::uint32_t length = be32(data + at);
        if (length > size - at - 12) return std::nullopt;
        const std::uint8_t* type = data + at + 4;
        const std::uint8_t* body = type + 4;
        if (!validType(type)) return std::nullopt;
        if (be32(body + length) != libdeflate_crc32(0, type, length + 4)) return std::nullopt;
        const std::string_view name(reinterpret_cast<const char*>(type), 4);
        at += 12 + static_cast<std::size_t>(length);
        if (channels == 0) {
            if (name != "IHDR" || length != 13) return std::nullopt;
            width = be32(body);
            height = be32(body + 4);
            const std::uint8_t depth = body[8], colour = body[9];
            if (width == 0 || height == 0 || width > static_cast<std::uint32_t>(kMaxImageSide) ||
                height > static_cast<std::uint32_t>(kMaxImageSide))
                return std::nullopt;
            if (depth != 8 || (colour != 2 && colour != 6) || body[10] != 0 || body[11] != 0 || body[12] != 0)
                return std::nullopt;
            channels = colour == 2 ? 3 : 4;
        } else if (name == "IDAT") {
            if (idatOver) return std::nullopt;
            idatSeen = true;
            compressed.insert(compressed.end(), body, body + length);
        } else if (name == "IEND") {
            ended = true;
        } else if (name == "IHDR" || changesColours(name) || !(type[0] & 0x20)) {
            return std::nullopt;  // a second header, or a chunk only libpng knows what to do with
        } else {
            idatOver = idatSeen;  // ancillary chunks: sRGB, text, time... change nothing here
        }
    }
    if (!idatSeen) return std::nullopt;

    const std::size_t rowBytes = static_cast<std::size_t>(width) * channels;
    const std::size_t rawSize = (rowBytes + 1) * height;
    std::unique_ptr<std::uint8_t[]> raw(new std::uint8_t[rawSize]);
    std::size_t produced = 0;
    if (!decompressor()) return std::nullopt;
    if (libdeflate_zlib_decompress(decompressor(), compressed.data(), compressed.size(), raw.get(), rawSize,
                                   &produced) != LIBDEFLATE_SUCCESS ||
        produced != rawSize)
        return std::nullopt;

    RgbaImage image;
    image.width = static_cast<int>(width);
    image.height = static_cast<int>(height);
    image.pixels.resize(static_cast<std::size_t>(width) * height * 4);
    const std::vector<std::uint8_t> zeros(rowBytes, 0);
    const std::uint8_t* prior = zeros.data();
    for (std::size_t y = 0; y < height; ++y) {
        std::uint8_t* row = raw.get() + y * (rowBytes + 1);
        if (!unfilter(row[0], row + 1, prior, rowBytes, channels)) return std::nullopt;
        std::uint8_t* out = &image.pixels[y * width * 4];
        if (channels == 4) {
            std::memcpy(out, row + 1, rowBytes);
        } else {
            for (std::size_t x = 0; x < width; ++x, out += 4) {
                std::memcpy(out, row + 1 + x * 3, 3);
                out[3] = 255;
            }
        }
        prior = row + 1;
    }
    return image;
}

std::vector<std::uint8_t> encodePng(const RgbaImage& image, PngChannels channels, int level) {
    if (image.width <= 0 || image.height <= 0 ||
        image.pixels.size() != static_cast<std::size_t>(image.width) * image.height * 4)
        throw std::invalid_argument("the picture is empty or short of pixels");
    if (level < 1 || level > 12) throw std::invalid_argument("compression levels go from 1 to 12");
    const std::size_t bpp = static_cast<std::size_t>(channels);
    const std::size_t width = static_cast<std::size_t>(image.width);
    const std::size_t rowBytes = width * bpp;
    // Each row filtered by its left neighbour ("Sub"): cheap, and it gives
    // deflate the runs a rendered picture's flat areas make.
    std::vector<std::uint8_t> raw((rowBytes + 1) * static_cast<std::size_t>(image.height));
    std::vector<std::uint8_t> packed(rowBytes);
    for (int y = 0; y < image.height; ++y) {
        const std::uint8_t* source = image.pixel(0, y);
        if (channels == PngChannels::Rgba) {
            std::memcpy(packed.data(), source, rowBytes);
        } else {
            for (std::size_t x = 0; x < width; ++x) std::memcpy(&packed[x * 3], source + x * 4, 3);
        }
        std::uint8_t* row = &raw[static_cast<std::size_t>(y) * (rowBytes + 1)];
        row[0] = 1;
        for (std::size_t i = 0; i < rowBytes; ++i)
            row[1 + i] = static_cast<std::uint8_t>(packed[i] - (i >= bpp ? packed[i - bpp] : 0));
    }

    std::vector<std::uint8_t> out(kSignature, kSignature + sizeof kSignature);
    auto chunk = [&out](const char* type, const std::uint8_t* body, std::size_t length) {
        putBe32(out, static_cast<std::uint32_t>(length));
        const std::size_t start = out.size();
        out.insert(out.end(), type, type + 4);
        if (length) out.insert(out.end(), body, body + length);
        putBe32(out, libdeflate_crc32(0, &out[start], length + 4));
    };
    std::vector<std::uint8_t> header;
    putBe32(header, static_cast<std::uint32_t>(image.width));
    putBe32(header, static_cast<std::uint32_t>(image.height));
    header.insert(header.end(), {8, static_cast<std::uint8_t>(channels == PngChannels::Rgba ? 6 : 2), 0, 0, 0});
    chunk("IHDR", header.data(), header.size());
    const std::uint8_t perceptual = 0;
    chunk("sRGB", &perceptual, 1);

    libdeflate_compressor* deflate = compressor(level);
    if (!deflate) throw std::bad_alloc();
    std::vector<std::uint8_t> compressed(libdeflate_zlib_compress_bound(deflate, raw.size()));
    const std::size_t length = libdeflate_zlib_compress(deflate, raw.data(), raw.size(), compressed.data(), compressed.size());
    if (length == 0) throw std::runtime_error("the picture could not be compressed");
    out.reserve(out.size() + length + 24);
    chunk("IDAT", compressed.data(), length);
    chunk("IEND", nullptr, 0);
    return out;
}

}  // namespace vantrel::render_gl
