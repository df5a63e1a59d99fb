#include "export/export_renderer.h"

#include <cmath>

#include "core/start_camera.h"
#include "export/export_error.h"

namespace vantrel {

// Nobody is there to answer while pictures are drawn: what showing a report
// says becomes that node's problem in the export's result.
class ExportRenderer::Messages final : public UiServices {
public:
    MsgAnswer messageBox(const std::string& text, const std::string&, MsgIcon, MsgButtons buttons) override {
        if (said.empty()) said = text;
        return buttons == MsgButtons::YesNo ? MsgAnswer::No : MsgAnswer::Ok;
    }
    void doEvents() override {}
    void endProgram() override {}
    int logicalDpiX() override { return 96; }
    void popupMenu(PopupMenu) override {}

    std::string said;
};

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

template <class T>
std::unique_ptr<UiServices> keep(T*& out) {
    auto made = std::make_unique<T>();
    out = made.get();
    return made;
}

}  // namespace

ExportRenderer::ExportRenderer(const std::string& home, int width, int height, std::int32_t background)
    : pc_(keep(messages_), home, "export"), view_(width, height, background) {
    if (!pc_.assemble()) throw ExportError("no media folder with vm1.x next to the program or in the current folder");
    view_.useScene(pc_.pc.SceneRoot, pc_.pc.ModelFrame, pc_.pc.PcRoot);
}

NodeDrawing ExportRenderer::draw(const ExportNode& node) {
    if (!node.reportFile) throw ExportError("no report");
    messages_->said.clear();
    pc_.nameNode(node.displayName);
    pc_.showReport(*node.reportFile);
    if (!messages_->said.empty()) throw ExportError(messages_->said);
    NodeDrawing drawing;
    const CameraPosition side = threeQuarterCamera();
    view_.placeCamera(side.x, side.y, side.z);
    drawing.view = view_.picture();
    view_.placeCamera(kStartCamera.x, kStartCamera.y, kStartCamera.z);
    drawing.front = view_.picture();
    for (int root : pc_.hardwareTree().roots()) addTree(pc_.hardwareTree(), root, 0, drawing.tree);
    return drawing;
}

}  // namespace vantrel
