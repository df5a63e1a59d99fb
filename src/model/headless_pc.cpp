#include "model/headless_pc.h"

#include "collect/report_in_memory.h"
#include "collect/show_node.h"
#include "model/assembly.h"
#include "model/display_modes.h"
#include "model/media_folder.h"
#include "model/model_session.h"

namespace vantrel::model {

HeadlessPc::HeadlessPc(std::unique_ptr<UiServices> ui, const std::string& home, const std::string& nodeName)
    : ui_(std::move(ui)),
      state_(ProgramFolder(home.empty() ? std::filesystem::path(".") : std::filesystem::path(home)), *ui_) {
    NodeRecord node;
    node.name = nodeName;
    node.displayName = nodeName;
    node.enabled = NodeEnabled::Shown;
    node.scanStatus = ScanStatus::Scanned;
    state_.domain.nodes.currentNode = state_.domain.nodes.append(node);
    state_.domain.settings.nodeLabelMode = NodeLabelMode::Name;
    attachModel(session_, target_);
    // One picture on the recording device, as the view would draw it.
    pc.hooks.renderScene = [this] {
        if (!pc.SceneRoot) return;
        device.Clear(engine3d::D3DCLEAR_TARGET | engine3d::D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
        device.BeginScene();
        pc.SceneRoot->Render(device);
        device.EndScene();
        device.clearCalls();
    };
}

bool HeadlessPc::assemble() {
    const auto media = findModelMedia();
    if (!media) return false;
    pc.MediaFolder = *media;
    device.setTextureFolder(*media);
    load_start(pc, device);
    return true;
}

void HeadlessPc::showReport(const std::filesystem::path& file) {
    session_.reportFileOverride = file;
    showStoredNode(state_, session_);
}

void HeadlessPc::showReportText(const std::string& text) {
    const ReportInMemory report(text);
    showReport(report.path());
    session_.reportFileOverride.clear();
}

void HeadlessPc::showAllParts() { model::showAllParts(pc); }

void HeadlessPc::nameNode(const std::string& nodeName) {
    NodeRecord& node = state_.domain.nodes.node(state_.domain.nodes.currentNode);
    node.name = nodeName;
    node.displayName = nodeName;
}

}  // namespace vantrel::model
