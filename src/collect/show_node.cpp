#include "collect/show_node.h"

#include "collect/hardware_tree.h"
#include "collect/report_loader.h"

namespace vantrel {

void showStoredNode(ProgramState& state, HardwareSession& session) {
    if (session.resetModel) session.resetModel();
    state.ui->doEvents();
    buildHardwareTree(state);
    state.ui->doEvents();
    LoadReport(state, session);
    if (session.renderView) session.renderView();
}

std::function<void()> makeShowCurrentNode(ProgramState& state, HardwareSession& session) {
    return [&state, &session] { showStoredNode(state, session); };
}

}  // namespace vantrel
