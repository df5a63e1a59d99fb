#pragma once
// The controls around the 3D view: the pan pad (four arrows that run the
// camera commands, with a highlighted picture per arrow under the mouse), the
// two tabs switching the left pane between the network and hardware trees, and
// the five collapsible side bars.

#include <array>

#include "core/tree_control.h"
#include "view/scene_view.h"

namespace vantrel::view {

enum class PanArrow { Up = 0, Left = 1, Down = 2, Right = 3 };

// Pictures of the pan pad, in the order of the main window's picture list.
enum class PanPicture { DownLit = 0, LeftLit = 1, UpLit = 2, RightLit = 3, Plain = 4 };

// Glyph of a side bar's head.
enum class BarGlyph { Open = 0, OpenHover = 1, Collapsed = 2, CollapsedHover = 3 };

// Picture of the tab header: the one of the network tab or of the hardware tab.
enum class TabHeader { Network, Hardware };

class ViewSideControls {
public:
    static constexpr int kBarCount = 5;

    void panClick(PanArrow arrow, SceneView& view);
    void panHover(PanArrow arrow);
    void barMouseDown(int bar);
    void barHover(int bar);
    // The main window's hover reset: the mouse moved elsewhere on the window.
    void hoverReset();
    // The tabs over the left pane: one tree shown, the other hidden.
    void showNetworkTree(TreeControl& networkTree, TreeControl& hardwareTree);
    void showHardwareTree(TreeControl& networkTree, TreeControl& hardwareTree);

    PanPicture panPicture = PanPicture::Plain;
    bool panNeedsRestore = false;
    TabHeader tabHeader = TabHeader::Network;
    std::array<bool, kBarCount> BarCollapsed{};
    std::array<BarGlyph, kBarCount> barGlyphs{};  // all Open
    // Side bar 1 holds the pan pad.
    bool panPadVisible() const { return !BarCollapsed[1]; }
};

}  // namespace vantrel::view
