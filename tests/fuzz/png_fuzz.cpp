// The fast PNG reader against libpng: never a crash, and wherever both read a
// file they must agree on every pixel.
#include <libdeflate.h>
#include <png.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "render_gl/png_codec.h"

namespace {

// Mutations would almost never get past the chunks' checksums: they are made
// right before reading, so the fuzzer reaches what lies behind them.
void fixChecksums(std::vector<std::uint8_t>& png) {
    for (std::size_t at = 8; png.size() >= 12 && at <= png.size() - 12;) {
        const std::uint32_t length = (static_cast<std::uint32_t>(png[at]) << 24) | (png[at + 1] << 16) |
                                     (png[at + 2] << 8) | png[at + 3];
        if (length > png.size() - at - 12) return;
        const std::uint32_t crc = libdeflate_crc32(0, &png[at + 4], length + 4);
        for (int i = 0; i < 4; ++i) png[at + 8 + length + i] = static_cast<std::uint8_t>(crc >> (24 - 8 * i));
        at += 12 + length;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* input, std::size_t inputSize) {
    std::vector<std::uint8_t> bytes(input, input + inputSize);
    fixChecksums(bytes);
    const std::uint8_t* data = bytes.data();
    const std::size_t size = bytes.size();
    const auto ours = vantrel::render_gl::decodePlainPng(data, size);
    if (!ours) return 0;
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&png, data, size)) return 0;
    png.format = PNG_FORMAT_RGBA;
    std::vector<std::uint8_t> theirs(PNG_IMAGE_SIZE(png));
    if (!png_image_finish_read(&png, nullptr, theirs.data(), 0, nullptr)) return 0;
    if (static_cast<int>(png.width) != ours->width || static_cast<int>(png.height) != ours->height ||
        theirs != ours->pixels)
        __builtin_trap();
    return 0;
}
