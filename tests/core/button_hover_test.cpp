#include "core/button_hover.h"

#include <gtest/gtest.h>

namespace vantrel {
namespace {

int hoverCount(const HoverState& h) {
    int n = 0;
    for (bool b : h.buttonShowsHover) n += b;
    return n;
}

TEST(ButtonHover, MovingFromButtonToButtonSwapsThePicturesAtOnce) {
    HoverState h;
    buttonMouseMove(h, 3);
    EXPECT_TRUE(h.buttonShowsHover[3]);
    buttonMouseMove(h, 6);
    EXPECT_TRUE(h.buttonShowsHover[6]);
    EXPECT_FALSE(h.buttonShowsHover[3]);
    EXPECT_EQ(hoverCount(h), 1);
}

TEST(ButtonHover, CaptionTurnsGreenAndBackOnTheBackground) {
    HoverState h;
    captionMouseMove(h, 5);
    EXPECT_TRUE(h.captionHighlighted[5]);
    EXPECT_TRUE(h.captionFlag);
    captionMouseMove(h, 1);
    EXPECT_FALSE(h.captionHighlighted[5]);
    EXPECT_TRUE(h.captionHighlighted[1]);
    resetHover(h);
    EXPECT_FALSE(h.captionHighlighted[1]);
    EXPECT_FALSE(h.captionFlag);
}

TEST(ButtonHover, AButtonAndACaptionNeverGlowTogether) {
    HoverState h;
    buttonMouseMove(h, 0);
    captionMouseMove(h, 2);
    EXPECT_EQ(hoverCount(h), 0);
    buttonMouseMove(h, 19);
    EXPECT_FALSE(h.captionHighlighted[2]);
    EXPECT_TRUE(h.buttonShowsHover[19]);
}

TEST(ButtonHover, ResetRestoresThePanArrowsOnlyWhenTheyGlow) {
    HoverState h;
    int restored = 0;
    h.restorePanArrows = [&] { ++restored; };
    resetHover(h);
    EXPECT_EQ(restored, 0);
    h.panArrowFlag = true;
    buttonMouseMove(h, 4);
    EXPECT_EQ(restored, 1);
    EXPECT_FALSE(h.panArrowFlag);
}

TEST(ButtonHover, IndicesOutsideTheWindowOnlyReset) {
    HoverState h;
    buttonMouseMove(h, 2);
    buttonMouseMove(h, 20);
    captionMouseMove(h, -1);
    EXPECT_EQ(hoverCount(h), 0);
    EXPECT_FALSE(h.buttonFlag);
}

}  // namespace
}  // namespace vantrel
