#pragma once
// Hover feedback of the main window: the button under the mouse shows its
// hover picture, the section caption under the mouse turns light green, and
// moving onto a panel or the window's background puts everything back.

#include <array>
#include <functional>

namespace vantrel {

inline constexpr int kButtonCount = 20;
inline constexpr int kSectionCount = 8;

struct HoverState {
    std::array<bool, kButtonCount> buttonShowsHover{};     // else its resting picture
    std::array<bool, kSectionCount> captionHighlighted{};  // light green, else white
    // Set while something shows hover feedback, so a reset only touches what needs it.
    bool buttonFlag = false;
    bool captionFlag = false;
    bool panArrowFlag = false;  // the view's pan arrows (set by the view)
    // Puts the view's pan arrows back to their resting picture.
    std::function<void()> restorePanArrows;
};

// The mouse moved over button `index`.
void buttonMouseMove(HoverState& hover, int index);
// The mouse moved over section caption `index`.
void captionMouseMove(HoverState& hover, int index);
// The mouse moved over a panel or the window's background.
void resetHover(HoverState& hover);

}  // namespace vantrel
