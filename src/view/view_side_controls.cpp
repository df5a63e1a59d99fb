#include "view/view_side_controls.h"

namespace vantrel::view {

void ViewSideControls::panClick(PanArrow arrow, SceneView& view) {
    static constexpr CameraCommand commands[4] = {CameraCommand::Up, CameraCommand::Left, CameraCommand::Down,
                                                  CameraCommand::Right};
    view.runCameraCommand(commands[static_cast<int>(arrow)]);
}

void ViewSideControls::panHover(PanArrow arrow) {
    static constexpr PanPicture pictures[4] = {PanPicture::UpLit, PanPicture::LeftLit, PanPicture::DownLit,
                                               PanPicture::RightLit};
    panPicture = pictures[static_cast<int>(arrow)];
    panNeedsRestore = true;
}

void ViewSideControls::barMouseDown(int bar) {
    if (bar < 0 || bar >= kBarCount) return;
    BarCollapsed[bar] = !BarCollapsed[bar];
    barGlyphs[bar] = BarCollapsed[bar] ? BarGlyph::Collapsed : BarGlyph::Open;
}

void ViewSideControls::barHover(int bar) {
    if (bar < 0 || bar >= kBarCount) return;
    barGlyphs[bar] = BarCollapsed[bar] ? BarGlyph::CollapsedHover : BarGlyph::OpenHover;
}

void ViewSideControls::showNetworkTree(TreeControl& networkTree, TreeControl& hardwareTree) {
    networkTree.setVisible(true);
    hardwareTree.setVisible(false);
    tabHeader = TabHeader::Network;
}

void ViewSideControls::showHardwareTree(TreeControl& networkTree, TreeControl& hardwareTree) {
    hardwareTree.setVisible(true);
    networkTree.setVisible(false);
    tabHeader = TabHeader::Hardware;
}

void ViewSideControls::hoverReset() {
    panPicture = PanPicture::Plain;
    panNeedsRestore = false;
    for (int bar = 0; bar < kBarCount; ++bar)
        barGlyphs[bar] = BarCollapsed[bar] ? BarGlyph::Collapsed : BarGlyph::Open;
}

}  // namespace vantrel::view
