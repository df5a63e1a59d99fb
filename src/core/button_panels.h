#pragma once
// The section captions along the top of the main window and the button
// panels under them: which caption opens which menu, which panel holds which
// button, what each button says, shows and runs.

#include <array>
#include <string_view>

#include "core/button_hover.h"
#include "core/menus.h"

namespace vantrel {

struct ProgramState;

enum class Section { Main, Network, Home, Nodes, Pc, Administrator, Configure, Support };

// The captions in window order; "Administrator" spelt out in full.
inline constexpr std::array<std::string_view, kSectionCount> kSectionCaptions = {
    "Main", "Network", "Home", "Nodes", "PC", "Administrator", "Configure", "Support"};

// The panels: six Home panels (left to right), the Support panel, and the
// place beside the network tree for the two login buttons.
enum class Panel { Network, Nodes, Pc, Zoom, Configure, Admin, Support, BesideNetworkTree };

inline constexpr std::array<std::string_view, 7> kPanelTitles = {"Network", "Nodes",  "PC",     "Zoom",
                                                                 "Configure", "Admin", "Support"};

struct ButtonDef {
    std::string_view caption;  // empty: no caption
    std::string_view toolTip;
    Panel panel;
    std::string_view picture;  // resource name of the resting/hover picture pair
    MenuCommand command;
};

// The twenty buttons, by index. "Selected" and "Local" run the scans their
// tool tips name.
extern const std::array<ButtonDef, kButtonCount> kButtons;

// A section caption was clicked: a menu pops up, or the Home or Support
// panels are shown.
void sectionCaptionClicked(ProgramState& state, Section section);

}  // namespace vantrel
