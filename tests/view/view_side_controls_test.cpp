// The pan pad, the tree tabs and the side bars around the view.

#include <gtest/gtest.h>

#include "engine3d/device/recording_device.h"
#include "view/view_side_controls.h"

namespace vantrel::test {
namespace {

using namespace engine3d;
using namespace view;

TEST(ViewSideControls, SideBarsCollapseAndOpenWithTheirGlyphs) {
    ViewSideControls c;
    EXPECT_TRUE(c.panPadVisible());
    c.barMouseDown(1);
    EXPECT_TRUE(c.BarCollapsed[1]);
    EXPECT_FALSE(c.panPadVisible());
    EXPECT_EQ(c.barGlyphs[1], BarGlyph::Collapsed);
    c.barHover(1);
    EXPECT_EQ(c.barGlyphs[1], BarGlyph::CollapsedHover);
    c.barMouseDown(1);
    EXPECT_TRUE(c.panPadVisible());
    EXPECT_EQ(c.barGlyphs[1], BarGlyph::Open);
    c.barHover(3);
    EXPECT_EQ(c.barGlyphs[3], BarGlyph::OpenHover);
    c.hoverReset();
    EXPECT_EQ(c.barGlyphs[3], BarGlyph::Open);
    c.barMouseDown(7);  // no such bar
    for (bool collapsed : c.BarCollapsed) EXPECT_FALSE(collapsed);
}

TEST(ViewSideControls, PanPadHighlightsTheArrowAndRunsItsCommand) {
    struct Case {
        PanArrow arrow;
        PanPicture picture;
        float x, y;
    };
    const Case cases[] = {{PanArrow::Up, PanPicture::UpLit, 0, -1},
                          {PanArrow::Left, PanPicture::LeftLit, 1, 0},
                          {PanArrow::Down, PanPicture::DownLit, 0, 1},
                          {PanArrow::Right, PanPicture::RightLit, -1, 0}};
    for (const auto& c : cases) {
        RecordingDevice dev;
        D3DUtil util(dev);
        float x = 0, y = 0, z = -10;
        std::int32_t background = 0;
        SceneView view(util, {x, y, z, background});
        ViewSideControls controls;
        controls.panHover(c.arrow);
        EXPECT_EQ(controls.panPicture, c.picture);
        EXPECT_TRUE(controls.panNeedsRestore);
        controls.panClick(c.arrow, view);
        EXPECT_EQ(x, c.x);
        EXPECT_EQ(y, c.y);
        controls.hoverReset();
        EXPECT_EQ(controls.panPicture, PanPicture::Plain);
    }
}

TEST(ViewSideControls, TreeTabsShowOneTreeAndHideTheOther) {
    ViewSideControls c;
    TreeControl network, hardware;
    EXPECT_EQ(c.tabHeader, TabHeader::Network);
    c.showHardwareTree(network, hardware);
    EXPECT_FALSE(network.visible());
    EXPECT_TRUE(hardware.visible());
    EXPECT_EQ(c.tabHeader, TabHeader::Hardware);
    c.showNetworkTree(network, hardware);
    EXPECT_TRUE(network.visible());
    EXPECT_FALSE(hardware.visible());
    EXPECT_EQ(c.tabHeader, TabHeader::Network);
}

}  // namespace
}  // namespace vantrel::test
