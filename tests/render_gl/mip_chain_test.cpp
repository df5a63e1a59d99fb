#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "render_gl/mip_chain.h"

using vantrel::render_gl::mipChain;
using vantrel::render_gl::RgbaImage;

namespace {

RgbaImage filled(int w, int h, std::uint8_t value) {
    return RgbaImage{w, h, std::vector<std::uint8_t>(static_cast<std::size_t>(w) * h * 4, value)};
}

}  // namespace

TEST(MipChain, HalvesDownToOnePixelWithSidesRoundedDown) {
    struct Case {
        int w, h;
        std::vector<std::pair<int, int>> sizes;
    };
    const Case cases[] = {
        {4, 4, {{2, 2}, {1, 1}}},
        {5, 3, {{2, 1}, {1, 1}}},
        {1, 4, {{1, 2}, {1, 1}}},
        {8, 1, {{4, 1}, {2, 1}, {1, 1}}},
        {1, 1, {}},
    };
    for (const Case& c : cases) {
        const auto levels = mipChain(filled(c.w, c.h, 77));
        ASSERT_EQ(levels.size(), c.sizes.size()) << c.w << "x" << c.h;
        for (std::size_t i = 0; i < levels.size(); ++i) {
            EXPECT_EQ(std::make_pair(levels[i].width, levels[i].height), c.sizes[i]) << c.w << "x" << c.h;
            EXPECT_EQ(levels[i].pixels, std::vector<std::uint8_t>(levels[i].pixels.size(), 77)) << "a flat colour stays";
        }
    }
}

TEST(MipChain, EachPixelIsTheRoundedAverageOfTheFourItCovers) {
    // A 2x2 checker of 0 and 255 in red, alpha 255 / 0 / 0 / 0.
    RgbaImage checker{2, 2, {0, 0, 0, 255, 255, 0, 0, 0, 255, 0, 0, 0, 0, 0, 0, 0}};
    const auto levels = mipChain(checker);
    ASSERT_EQ(levels.size(), 1u);
    EXPECT_EQ(levels[0].pixels, (std::vector<std::uint8_t>{128, 0, 0, 64}));
    // A one-pixel-wide column counts its own pixel twice, not a neighbour's.
    RgbaImage column{1, 2, {10, 20, 30, 40, 30, 40, 50, 60}};
    EXPECT_EQ(mipChain(column).at(0).pixels, (std::vector<std::uint8_t>{20, 30, 40, 50}));
}

TEST(MipChain, APictureShortOfPixelsGivesNoLevels) {
    EXPECT_TRUE(mipChain(RgbaImage{4, 4, std::vector<std::uint8_t>(10)}).empty());
    EXPECT_TRUE(mipChain(RgbaImage{0, 4, {}}).empty());
}
