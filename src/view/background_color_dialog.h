#pragma once
// The Background Color dialog without its window: the colour field it paints
// (a hue sweep from left to right fading to a grey chosen with the scroll bar),
// the hover and chosen swatches, the hexadecimal text and OK / Cancel.
// Field and swatch colours are 0x00BBGGRR; the background colour 0x00RRGGBB.

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vantrel::view {

class SceneView;

class BackgroundColorDialog {
public:
    // Size of the colour field in pixels.
    static constexpr int kFieldWidth = 256;
    static constexpr int kFieldHeight = 160;

    BackgroundColorDialog(int fieldWidth = kFieldWidth, int fieldHeight = kFieldHeight);

    // Shows the dialog; the first showing also sets it up and paints the field.
    void show();
    void cancel() { visible = false; }
    void setGreyLevel(int value);      // the scroll bar
    void hover(int x, int y);          // mouse over the field
    void press(int x, int y);          // left button down on the field
    // The colour the typed text stands for, or none when it is not six
    // hexadecimal digits.
    static std::optional<std::int32_t> parseHexColour(const std::string& text);
    // Values above 255 give 255, below 0 give 0, others round half to even.
    static std::uint8_t fixByte(double value);

    std::uint32_t fieldPixel(int x, int y) const { return field[static_cast<std::size_t>(y) * width + x]; }

    bool created = false;
    bool visible = false;
    bool busyPointer = false;
    int width, height;
    std::vector<std::uint32_t> field;         // the colour field's pixels
    int greyLevel = 85;                       // the grey scroll bar
    std::string greyLevelText = "85";         // the grey level shown beside it
    std::uint32_t hoverSwatch = 0;            // the swatch under the pointer
    std::uint32_t chosenSwatch = 0;           // the chosen colour's swatch
    std::string hexText;                      // the hexadecimal field
    std::array<std::string, 3> complementTexts;  // 255 minus red, green, blue, as shown
    std::int32_t RedComplement = 0, GreenComplement = 0, BlueComplement = 0;

private:
    void drawColorField();
    bool pickAt(int x, int y);
    void updateshape();
};

// OK: a typed text of six hexadecimal digits becomes the background colour,
// the view redraws and the dialog hides. Any other text is refused through
// showMessage and nothing changes. True when the colour was taken.
bool confirmBackgroundColor(BackgroundColorDialog& dialog, SceneView& view,
                            const std::function<void(const std::string&)>& showMessage);

inline constexpr const char* kHexColourRefused =
    "The colour must be six hexadecimal digits RRGGBB, for example 0AC800.";

}  // namespace vantrel::view
