#include "core/button_hover.h"

namespace vantrel {

void resetHover(HoverState& hover) {
    if (hover.buttonFlag) {
        hover.buttonShowsHover.fill(false);
        hover.buttonFlag = false;
    }
    if (hover.captionFlag) {
        hover.captionHighlighted.fill(false);
        hover.captionFlag = false;
    }
    if (hover.panArrowFlag) {
        if (hover.restorePanArrows) hover.restorePanArrows();
        hover.panArrowFlag = false;
    }
}

void buttonMouseMove(HoverState& hover, int index) {
    resetHover(hover);
    if (index < 0 || index >= kButtonCount) return;
    hover.buttonShowsHover[static_cast<std::size_t>(index)] = true;
    hover.buttonFlag = true;
}

void captionMouseMove(HoverState& hover, int index) {
    resetHover(hover);
    if (index < 0 || index >= kSectionCount) return;
    hover.captionHighlighted[static_cast<std::size_t>(index)] = true;
    hover.captionFlag = true;
}

}  // namespace vantrel
