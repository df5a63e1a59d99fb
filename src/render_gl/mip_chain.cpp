#include "render_gl/mip_chain.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <utility>

namespace vantrel::render_gl {
namespace {

RgbaImage halved(const RgbaImage& from) {
    RgbaImage half;
    half.width = std::max(1, from.width / 2);
    half.height = std::max(1, from.height / 2);
    half.pixels.resize(static_cast<std::size_t>(half.width) * half.height * 4);
    const std::size_t rowBytes = static_cast<std::size_t>(from.width) * 4;
    // A side of 1 has no second row or column: the one there counts twice.
    const std::size_t nextColumn = from.width > 1 ? 4 : 0;
    const std::size_t nextRow = from.height > 1 ? rowBytes : 0;
    std::uint8_t* out = half.pixels.data();
    for (int y = 0; y < half.height; ++y) {
        const std::uint8_t* top = from.pixels.data() + static_cast<std::size_t>(2 * y) * rowBytes;
        const std::uint8_t* bottom = top + nextRow;
        for (int x = 0; x < half.width; ++x, top += 8, bottom += 8)
            for (int c = 0; c < 4; ++c)
                *out++ = static_cast<std::uint8_t>(
                    (top[c] + top[c + nextColumn] + bottom[c] + bottom[c + nextColumn] + 2) / 4);
    }
    return half;
}

}  // namespace

std::vector<RgbaImage> mipChain(const RgbaImage& picture) {
    std::vector<RgbaImage> levels;
    if (picture.width <= 0 || picture.height <= 0 ||
        picture.pixels.size() != static_cast<std::size_t>(picture.width) * picture.height * 4)
        return levels;
    for (const RgbaImage* from = &picture; from->width > 1 || from->height > 1; from = &levels.back()) {
        RgbaImage next = halved(*from);
        levels.push_back(std::move(next));
    }
    return levels;
}

}  // namespace vantrel::render_gl
