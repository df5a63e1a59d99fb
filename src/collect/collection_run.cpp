#include "collect/collection_run.h"

#include <system_error>

#include "collect/catalogue.h"
#include "collect/collectors.h"
#include "collect/connection.h"
#include "core/text_file.h"

namespace vantrel {

void collectReportText(ProgramState& state, HardwareSession& session) {
    session.ReportText.clear();
    session.SectionLines.clear();
    for (const auto& category : kCatalogue) {
        session.SectionLines.clear();
        session.listener->categoryStarted(category.number, static_cast<int>(kCategoryCount));
        runCollector(state, session, category);
        if (category.number >= static_cast<int>(kCategoryCount) - 1) state.ui->doEvents();
    }
}

bool CollectHardware(ProgramState& state, HardwareSession& session) {
    collectReportText(state, session);
    const std::string tag = currentNodeTag(state);
    session.listener->statusChanged("Hardware data collected for " + tag);
    if (!WriteReport(state, session)) {
        session.listener->statusChanged("Unable to write the hardware report for " + tag);
        return false;
    }
    NodeTable& nodes = state.domain.nodes;
    if (nodes.isNode(nodes.currentNode)) nodes.node(nodes.currentNode).scanStatus = ScanStatus::Scanned;
    return true;
}

bool WriteReport(ProgramState& state, HardwareSession& session) {
    std::filesystem::path target = session.reportFileOverride;
    if (target.empty()) {
        const int i = state.domain.nodes.currentNode;
        if (!state.domain.nodes.isNode(i)) return false;
        const auto folder = state.folder.nodeFolder(state.domain.nodes.node(i).name);
        if (!folder) return false;
        std::error_code ec;
        std::filesystem::create_directory(*folder, ec);
        if (!std::filesystem::is_directory(*folder, ec)) return false;
        target = *folder / "report";
    }
    return writeFileAtomically(target, session.ReportText + kLineBreak);
}

}  // namespace vantrel
