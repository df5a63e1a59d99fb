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
        state.scanDialog.picbarWidth =
            category.number == static_cast<int>(kCategoryCount) ? kProgressFull : kProgressStep * category.number;
        runCollector(state, session, category);
        if (category.number >= static_cast<int>(kCategoryCount) - 1) state.ui->doEvents();
    }
}

bool CollectHardware(ProgramState& state, HardwareSession& session) {
    collectReportText(state, session);
    const std::string tag = currentNodeTag(state);
    setScanStatusText(state, session, "Hardware data collected for " + tag);
    if (!WriteReport(state, session)) {
        setScanStatusText(state, session, "Unable to write the hardware report for " + tag);
        return false;
    }
    if (state.nodes.isNode(state.nodes.currentNode)) state.nodes.node(state.nodes.currentNode).scanStatus = kScanDone;
    return true;
}

bool WriteReport(ProgramState& state, HardwareSession& session) {
    std::filesystem::path target = session.reportFileOverride;
    if (target.empty()) {
        const int i = state.nodes.currentNode;
        if (!state.nodes.isNode(i)) return false;
        const auto folder = state.folder.nodeFolder(state.nodes.node(i).name);
        if (!folder) return false;
        std::error_code ec;
        std::filesystem::create_directory(*folder, ec);
        if (!std::filesystem::is_directory(*folder, ec)) return false;
        target = *folder / "report";
    }
    return writeFileAtomically(target, session.ReportText + kLineBreak);
}

}  // namespace vantrel
