// The Background Color dialog: its colour field, hover and click picks, the
// hexadecimal text, OK and Cancel.

#include <gtest/gtest.h>

#include "engine3d/device/recording_device.h"
#include "view/background_color_dialog.h"
#include "view/scene_view.h"

namespace vantrel::test {
namespace {

using namespace engine3d;
using view::BackgroundColorDialog;

struct DialogFixture : ::testing::Test {
    RecordingDevice dev;
    D3DUtil util{dev};
    float x = 0, y = 0, z = -10;
    std::int32_t background = 0x00123456;
    view::SceneView sceneView{util, {x, y, z, background}};
    BackgroundColorDialog dialog;
    std::vector<std::string> messages;
    FramePtr root = CD3DFrame::Create();

    DialogFixture() { sceneView.setScene(root, root, root); }
    bool ok() {
        return view::confirmBackgroundColor(dialog, sceneView, [this](const std::string& m) { messages.push_back(m); });
    }
    // Puts a colour (0x00BBGGRR) under the pointer at (0, 0) and clicks it.
    void clickColour(std::uint32_t bgr) {
        dialog.field[0] = bgr;
        dialog.press(0, 0);
    }
};

TEST_F(DialogFixture, FieldRunsFromPureRedToTheScrollBarsGrey) {
    dialog.show();
    EXPECT_EQ(dialog.fieldPixel(0, 0), 0x000000FFu);
    for (int col = 0; col < dialog.width; col += 17)
        EXPECT_EQ(dialog.fieldPixel(col, dialog.height - 1), 0x00555555u) << col;
    EXPECT_EQ(dialog.complementTexts, (std::array<std::string, 3>{"0", "0", "0"}));
    EXPECT_EQ(dialog.greyLevelText, "85");
    dialog.setGreyLevel(255);
    EXPECT_EQ(dialog.greyLevelText, "255");
    for (int col = 0; col < dialog.width; col += 17)
        EXPECT_EQ(dialog.fieldPixel(col, dialog.height - 1), 0x00FFFFFFu) << col;
}

TEST_F(DialogFixture, HueSweepPassesThroughEveryPrimaryAndSecondary) {
    dialog.show();
    bool seen[6] = {};
    const std::uint32_t hues[6] = {0x0000FF, 0x00FFFF, 0x00FF00, 0xFFFF00, 0xFF0000, 0xFF00FF};
    for (int col = 0; col < dialog.width; ++col)
        for (int h = 0; h < 6; ++h) seen[h] = seen[h] || dialog.fieldPixel(col, 0) == hues[h];
    for (int h = 0; h < 6; ++h) EXPECT_TRUE(seen[h]) << std::hex << hues[h];
}

TEST_F(DialogFixture, ClickShowsTheColourItsHexTextAndComplements) {
    struct Case {
        std::uint32_t bgr;
        const char* hex;
        std::array<std::string, 3> complements;
        std::int32_t background;
    };
    const Case cases[] = {
        {0x0000FF, "FF0000", {"0", "255", "255"}, 0x00FF0000},
        {0x00C80A, "0AC800", {"245", "55", "255"}, 0x000AC800},
        {0x00FF00, "00FF00", {"255", "0", "255"}, 0x0000FF00},
        {0xFFFF00, "00FFFF", {"255", "0", "0"}, 0x0000FFFF},
    };
    for (const auto& c : cases) {
        dialog.show();
        clickColour(c.bgr);
        EXPECT_EQ(dialog.chosenSwatch, c.bgr);
        EXPECT_EQ(dialog.hexText, c.hex);
        EXPECT_EQ(dialog.complementTexts, c.complements);
        EXPECT_TRUE(ok());
        EXPECT_EQ(background, c.background) << c.hex;
        EXPECT_FALSE(dialog.visible);
    }
}

TEST_F(DialogFixture, HoverChangesOnlyTheHoverSwatchAndComplements) {
    dialog.show();
    clickColour(0x0000FF);
    dialog.field[1] = 0x00FF00;
    dialog.hover(1, 0);
    EXPECT_EQ(dialog.hoverSwatch, 0x00FF00u);
    EXPECT_EQ(dialog.GreenComplement, 0);
    EXPECT_EQ(dialog.hexText, "FF0000");  // OK still applies the clicked colour
    dialog.hover(-1, 5000);              // outside the field: nothing
    EXPECT_EQ(dialog.hoverSwatch, 0x00FF00u);
}

TEST_F(DialogFixture, OkRedrawsWithTheNewColour) {
    dialog.show();
    clickColour(0x0000FF);
    dev.clearCalls();
    ASSERT_TRUE(ok());
    const auto clears = dev.callsOf(DeviceCallKind::Clear);
    ASSERT_EQ(clears.size(), 1u);
    EXPECT_EQ(clears[0].b, 0x00FF0000u);
}

TEST_F(DialogFixture, TextThatIsNotSixHexDigitsIsRefusedAndChangesNothing) {
    for (const char* text : {"", "12345", "1234567", "GG0000", "12 456", "0x1234"}) {
        dialog.show();
        dialog.hexText = text;
        messages.clear();
        dev.clearCalls();
        EXPECT_FALSE(ok()) << text;
        EXPECT_EQ(background, 0x00123456) << text;
        EXPECT_TRUE(dialog.visible) << text;
        ASSERT_EQ(messages.size(), 1u) << text;
        EXPECT_EQ(messages[0], view::kHexColourRefused);
        EXPECT_TRUE(dev.calls().empty());
    }
    dialog.hexText = "00ff80";  // lower case digits are fine
    EXPECT_TRUE(ok());
    EXPECT_EQ(background, 0x0000FF80);
}

TEST_F(DialogFixture, ReopeningKeepsTheStateAndCancelChangesNothing) {
    dialog.show();
    dialog.setGreyLevel(200);
    clickColour(0x0000FF);
    ASSERT_TRUE(ok());
    background = 0;
    dialog.show();  // second showing: the same dialog, the same colour
    EXPECT_EQ(dialog.greyLevel, 200);
    EXPECT_EQ(dialog.hexText, "FF0000");
    ASSERT_TRUE(ok());
    EXPECT_EQ(background, 0x00FF0000);
    dialog.show();
    clickColour(0x00FF00);
    dialog.cancel();
    EXPECT_EQ(background, 0x00FF0000);
    EXPECT_FALSE(dialog.visible);
}

TEST(BackgroundColorDialog, FixByteClampsAndRoundsHalvesToEven) {
    struct Case {
        double in;
        int out;
    };
    for (const Case c : {Case{-3, 0}, Case{300, 255}, Case{255.4, 255}, Case{2.5, 2}, Case{3.5, 4}, Case{0.49, 0}})
        EXPECT_EQ(BackgroundColorDialog::fixByte(c.in), c.out) << c.in;
}

}  // namespace
}  // namespace vantrel::test
