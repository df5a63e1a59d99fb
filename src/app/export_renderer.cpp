#include "app/export_renderer.h"

#include <cmath>
#include <functional>

#include "core/start_camera.h"
#include "export/export_error.h"

namespace vantrel::cli {
namespace {

// The start camera turned 40 degrees about the vertical, towards the left
// side where the drive bays are: the front three-quarter view.
CameraPosition threeQuarterCamera() {
    const double turn = 40.0 * 3.14159265358979 / 180.0;
    const double distance = -kStartCamera.z;
    return {static_cast<float>(-distance * std::sin(turn)), kStartCamera.y,
            static_cast<float>(-distance * std::cos(turn))};
}

void addTree(const TreeControl& tree, int index, int depth, std::vector<TreeLine>& out) {
    const auto& item = tree.item(index);
    out.push_back({depth, item.text});
    for (int child : item.children) addTree(tree, child, depth + 1, out);
}

}  // namespace

ExportRenderer::ExportRenderer(const std::string& home, int width, int height, std::int32_t background)
    : pc_("export", home, "node"), view_(width, height, background) {
    if (!pc_.assemble()) throw ExportError("no media folder with vm1.x next to the program or in the current folder");
    view_.useScene(pc_.pc.SceneRoot, pc_.pc.ModelFrame, pc_.pc.PcRoot);
}

NodeDrawing ExportRenderer::draw(const ExportNode& node) {
    if (!node.reportFile) throw ExportError("no report");
    pc_.nameNode(node.displayName);
    pc_.showReport(*node.reportFile);
    NodeDrawing drawing;
    const CameraPosition side = threeQuarterCamera();
    view_.placeCamera(side.x, side.y, side.z);
    drawing.view = view_.picture();
    view_.placeCamera(kStartCamera.x, kStartCamera.y, kStartCamera.z);
    drawing.front = view_.picture();
    for (int root : pc_.hardwareTree().roots()) addTree(pc_.hardwareTree(), root, 0, drawing.tree);
    return drawing;
}

}  // namespace vantrel::cli
