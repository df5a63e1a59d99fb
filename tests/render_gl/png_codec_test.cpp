#include <gtest/gtest.h>

#include <png.h>

#include <cstring>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "render_gl/png_codec.h"

using namespace vantrel::render_gl;

namespace {

// A picture with flat areas, gradients and noise, so every filter type of a
// libpng-written file turns up somewhere.
RgbaImage testPicture(int w, int h, bool opaque) {
    RgbaImage image{w, h, std::vector<std::uint8_t>(static_cast<std::size_t>(w) * h * 4)};
    std::mt19937 random(7);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            std::uint8_t* p = &image.pixels[(static_cast<std::size_t>(y) * w + x) * 4];
            const bool noisy = (x / 8 + y / 8) % 3 == 0;
            p[0] = static_cast<std::uint8_t>(noisy ? random() : x * 3);
            p[1] = static_cast<std::uint8_t>(noisy ? random() : y * 5);
            p[2] = static_cast<std::uint8_t>(x < w / 2 ? 40 : random());
            p[3] = opaque ? 255 : static_cast<std::uint8_t>(x + y);
        }
    return image;
}

// libpng's writer tries all five filters on each row.
std::vector<std::uint8_t> libpngWrite(const RgbaImage& image, bool rgb) {
    std::vector<std::uint8_t> source;
    for (std::size_t i = 0; i < image.pixels.size(); ++i)
        if (!rgb || i % 4 != 3) source.push_back(image.pixels[i]);
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    png.width = static_cast<png_uint_32>(image.width);
    png.height = static_cast<png_uint_32>(image.height);
    png.format = rgb ? PNG_FORMAT_RGB : PNG_FORMAT_RGBA;
    png_alloc_size_t size = 0;
    png_image_write_to_memory(&png, nullptr, &size, 0, source.data(), 0, nullptr);
    std::vector<std::uint8_t> bytes(size);
    EXPECT_TRUE(png_image_write_to_memory(&png, bytes.data(), &size, 0, source.data(), 0, nullptr));
    bytes.resize(size);
    return bytes;
}

std::optional<RgbaImage> libpngRead(const std::vector<std::uint8_t>& bytes) {
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&png, bytes.data(), bytes.size())) return std::nullopt;
    png.format = PNG_FORMAT_RGBA;
    RgbaImage image{static_cast<int>(png.width), static_cast<int>(png.height), {}};
    image.pixels.resize(PNG_IMAGE_SIZE(png));
    if (!png_image_finish_read(&png, nullptr, image.pixels.data(), 0, nullptr)) return std::nullopt;
    return image;
}

std::uint32_t be32(const std::uint8_t* p) {
    return (static_cast<std::uint32_t>(p[0]) << 24) | (p[1] << 16) | (p[2] << 8) | p[3];
}

// Offset of the first chunk of that type.
std::size_t chunkAt(const std::vector<std::uint8_t>& png, const char* type) {
    for (std::size_t at = 8; at + 12 <= png.size(); at += 12 + be32(&png[at]))
        if (std::memcmp(&png[at + 4], type, 4) == 0) return at;
    return std::string::npos;
}

// A chunk with a correct CRC (computed the slow way), put in before `before`.
std::vector<std::uint8_t> withChunk(std::vector<std::uint8_t> png, const char* before, const char* type,
                                    std::vector<std::uint8_t> body) {
    std::vector<std::uint8_t> chunk{static_cast<std::uint8_t>(body.size() >> 24), static_cast<std::uint8_t>(body.size() >> 16),
                                    static_cast<std::uint8_t>(body.size() >> 8), static_cast<std::uint8_t>(body.size())};
    chunk.insert(chunk.end(), type, type + 4);
    chunk.insert(chunk.end(), body.begin(), body.end());
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 4; i < chunk.size(); ++i) {
        crc ^= chunk[i];
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    crc ^= 0xFFFFFFFFu;
    for (int shift = 24; shift >= 0; shift -= 8) chunk.push_back(static_cast<std::uint8_t>(crc >> shift));
    png.insert(png.begin() + static_cast<std::ptrdiff_t>(chunkAt(png, before)), chunk.begin(), chunk.end());
    return png;
}

}  // namespace

TEST(PngCodec, OurFilesReadBackTheSameHereAndInLibpng) {
    const RgbaImage picture = testPicture(37, 21, false);
    for (const PngChannels channels : {PngChannels::Rgba, PngChannels::Rgb}) {
        const auto bytes = encodePng(picture, channels);
        RgbaImage expected = picture;
        if (channels == PngChannels::Rgb)
            for (std::size_t i = 3; i < expected.pixels.size(); i += 4) expected.pixels[i] = 255;
        const auto ours = decodePlainPng(bytes.data(), bytes.size());
        const auto theirs = libpngRead(bytes);
        ASSERT_TRUE(ours && theirs);
        EXPECT_EQ(ours->pixels, expected.pixels);
        EXPECT_EQ(theirs->pixels, expected.pixels);
        EXPECT_EQ(std::make_pair(ours->width, ours->height), std::make_pair(37, 21));
    }
    EXPECT_THROW(encodePng(RgbaImage{4, 4, std::vector<std::uint8_t>(5)}, PngChannels::Rgb), std::invalid_argument);
}

TEST(PngCodec, FilesLibpngWroteReadAsLibpngReadsThem) {
    for (const bool opaque : {true, false}) {
        const RgbaImage picture = testPicture(64, 48, opaque);
        const auto bytes = libpngWrite(picture, opaque);
        const auto ours = decodePlainPng(bytes.data(), bytes.size());
        ASSERT_TRUE(ours) << "opaque " << opaque;
        EXPECT_EQ(ours->pixels, libpngRead(bytes)->pixels);
    }
}

TEST(PngCodec, AnythingButThePlainKindIsLeftToLibpng) {
    const auto plain = encodePng(testPicture(16, 16, false), PngChannels::Rgba);
    const std::size_t idat = chunkAt(plain, "IDAT");
    std::vector<std::uint8_t> badCrc = plain;
    badCrc[idat + 9] ^= 1;
    std::vector<std::uint8_t> interlaced = plain;
    interlaced[chunkAt(plain, "IHDR") + 8 + 12] = 1;
    const std::vector<std::uint8_t> truncated(plain.begin(), plain.end() - 12);
    struct Case {
        const char* what;
        std::vector<std::uint8_t> bytes;
    };
    const Case cases[] = {
        {"a gamma other than sRGB's", withChunk(plain, "IDAT", "gAMA", {0, 1, 0x86, 0xA0})},
        {"a transparent colour", withChunk(plain, "IDAT", "tRNS", {0, 1, 0, 2, 0, 3})},
        {"an unknown critical chunk", withChunk(plain, "IDAT", "QUUX", {})},
        {"a chunk between two IDATs", withChunk(withChunk(plain, "IEND", "tEXt", {'a', 0, 'b'}), "IEND", "IDAT", {})},
        {"a damaged CRC", badCrc},
        {"the end missing", truncated},
        {"interlaced", interlaced},
        {"not a PNG", {'B', 'M', 0, 0}},
    };
    for (const Case& c : cases) EXPECT_FALSE(decodePlainPng(c.bytes.data(), c.bytes.size())) << c.what;
    // The picture reader then gives what libpng makes of them.
    EXPECT_EQ(decodePicture(cases[0].bytes)->pixels, libpngRead(cases[0].bytes)->pixels);
    EXPECT_FALSE(decodePicture(cases[4].bytes));
    // Ancillary chunks that change nothing are passed over.
    const auto texted = withChunk(plain, "IDAT", "tEXt", {'k', 0, 'v'});
    EXPECT_TRUE(decodePlainPng(texted.data(), texted.size()));
}
