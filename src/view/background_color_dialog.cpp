#include "view/background_color_dialog.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>

#include "view/scene_view.h"

namespace vantrel::view {

BackgroundColorDialog::BackgroundColorDialog(int fieldWidth, int fieldHeight)
    : width(fieldWidth), height(fieldHeight),
      field(static_cast<std::size_t>(fieldWidth) * static_cast<std::size_t>(fieldHeight)) {}

void BackgroundColorDialog::show() {
    if (!created) {
        created = true;
        complementTexts = {"0", "0", "0"};
        hoverSwatch = 0;
        drawColorField();
    }
    visible = true;
}

void BackgroundColorDialog::setGreyLevel(int value) {
    greyLevel = std::clamp(value, 0, 255);
    drawColorField();
    greyLevelText = std::to_string(greyLevel);
}

std::uint8_t BackgroundColorDialog::fixByte(double value) {
    if (value > 255) return 255;
    if (value < 0) return 0;
    return static_cast<std::uint8_t>(std::nearbyint(value));
}

// Each column fades from its hue at the top to (g, g, g) at the bottom; the
// hue runs red, yellow, green, cyan, blue, magenta and back, with steps larger
// at the start of a rising channel and smaller towards its end.
void BackgroundColorDialog::drawColorField() {
    busyPointer = true;
    std::fill(field.begin(), field.end(), 0u);
    const float w = static_cast<float>(width), h = static_cast<float>(height);
    const float s = 1530.0f / w;
    float colour[3] = {255, 0, 0};  // red, green, blue
    float k = 1.5f;
    int phase = 0;
    const int columns = static_cast<int>(std::nearbyint(w)), rows = static_cast<int>(std::nearbyint(h));
    const float g = static_cast<float>(greyLevel);
    for (int x = 1; x <= columns; ++x) {
        const float top[3] = {colour[0], colour[1], colour[2]};
        for (int y = 1; y <= rows; ++y) {
            field[static_cast<std::size_t>(y - 1) * width + (x - 1)] =
                fixByte(colour[2]) * 65536u + fixByte(colour[1]) * 256u + fixByte(colour[0]);
            for (int c = 0; c < 3; ++c)
                if (std::nearbyint(colour[c]) != g && h > 1) colour[c] += (g - top[c]) / (h - 1);
        }
        for (int c = 0; c < 3; ++c) colour[c] = top[c];
        // Phases 0..5: which channel moves, and in which direction.
        static constexpr int channel[6] = {1, 0, 2, 1, 0, 2};
        static constexpr bool rising[6] = {true, false, true, false, true, false};
        if (phase < 6) {
            const int c = channel[phase];
            if (rising[phase]) {
                colour[c] = top[c] + k * s;
                k -= s / 255;
                if (colour[c] >= 255) {
                    ++phase;
                    k -= s / 255;
                }
            } else {
                colour[c] = top[c] - k * s;
                k += s / 255;
                if (colour[c] <= 0) ++phase;
            }
        }
    }
    busyPointer = false;
}

bool BackgroundColorDialog::pickAt(int x, int y) {
    if (x < 0 || y < 0 || x >= width || y >= height) return false;
    const std::uint32_t c = fieldPixel(x, y);
    RedComplement = 255 - static_cast<std::int32_t>(c & 255);
    GreenComplement = 255 - static_cast<std::int32_t>((c >> 8) & 255);
    BlueComplement = 255 - static_cast<std::int32_t>((c >> 16) & 255);
    return true;
}

void BackgroundColorDialog::hover(int x, int y) {
    if (pickAt(x, y)) hoverSwatch = fieldPixel(x, y);
}

void BackgroundColorDialog::press(int x, int y) {
    if (pickAt(x, y)) updateshape();
}

void BackgroundColorDialog::updateshape() {
    const int red = 255 - RedComplement, green = 255 - GreenComplement, blue = 255 - BlueComplement;
    chosenSwatch = static_cast<std::uint32_t>(red + green * 256 + blue * 65536);
    char text[8];
    std::snprintf(text, sizeof text, "%02X%02X%02X", red, green, blue);
    hexText = text;
    complementTexts = {std::to_string(RedComplement), std::to_string(GreenComplement),
                       std::to_string(BlueComplement)};
}

std::optional<std::int32_t> BackgroundColorDialog::parseHexColour(const std::string& text) {
    if (text.size() != 6) return std::nullopt;
    std::int32_t value = 0;
    for (char ch : text) {
        if (!std::isxdigit(static_cast<unsigned char>(ch))) return std::nullopt;
        value = value * 16 + (std::isdigit(static_cast<unsigned char>(ch))
                                  ? ch - '0'
                                  : std::toupper(static_cast<unsigned char>(ch)) - 'A' + 10);
    }
    return value;
}

bool confirmBackgroundColor(BackgroundColorDialog& dialog, SceneView& view,
                            const std::function<void(const std::string&)>& showMessage) {
    const auto colour = BackgroundColorDialog::parseHexColour(dialog.hexText);
    if (!colour) {
        if (showMessage) showMessage(kHexColourRefused);
        return false;
    }
    view.camera().BackgroundColor = *colour;
    view.RenderScene();
    dialog.visible = false;
    return true;
}

}  // namespace vantrel::view
