#include "core/logins_dialog.h"

namespace vantrel {

namespace {

constexpr int kLoginColumnWidth = 1800;  // twips

void writeNodeRow(ProgramState& state, int i) {
    GridControl& grid = state.windows.loginsDialog.loginGrid;
    const NodeRecord& node = state.domain.nodes.node(i);
    grid.setCell(i, 0, node.name);
    grid.setCell(i, 1, node.displayName);
    grid.setCell(i, 2, node.address);
    grid.setCell(i, 3, node.loginUser);
    grid.setCell(i, 4, passwordCell(node.loginPassword, state.domain.settings.showPasswords));
}

}  // namespace

std::string passwordCell(const std::string& password, bool showPasswords) {
    if (showPasswords) return password;
    // One star per character, not per byte of its UTF-8 form.
    std::size_t characters = 0;
    for (unsigned char byte : password)
        if ((byte & 0xC0) != 0x80) ++characters;
    return std::string(characters, '*');
}

void loadLoginsDialog(ProgramState& state) {
    LoginsDialogState& dialog = state.windows.loginsDialog;
    GridControl& grid = dialog.loginGrid;
    grid.clear();
    grid.setRows(1);
    for (int col = 0; col < 5; ++col) grid.setColWidth(col, kLoginColumnWidth);
    int col = 0;
    for (const char* title : {"Name", "Node", "IP", "Login", "Password"}) grid.setCell(0, col++, title);
    state.ui->doEvents();
    for (int i = 1; i <= state.domain.nodes.nodeCount(); ++i) {
        grid.setRows(grid.rows() + 1);
        grid.setRow(i);
        writeNodeRow(state, i);
    }
    dialog.loaded = true;
}

void openLoginsDialog(ProgramState& state) {
    if (state.domain.nodes.nodeCount() == 0) return;
    if (!state.windows.loginsDialog.loaded) loadLoginsDialog(state);
    state.windows.loginsDialog.visible = true;
}

void loginsGridMouseDown(ProgramState& state, int row) {
    LoginsDialogState& dialog = state.windows.loginsDialog;
    dialog.loginGrid.setSelectedRow(row);
    // Rows past the table (nodes added since the last loading are not listed) select nothing.
    if (row < 1 || row >= dialog.loginGrid.rows() || !state.domain.nodes.isNode(row)) return;
    dialog.selectedNode = row;
    const NodeRecord& node = state.domain.nodes.node(row);
    dialog.userField = node.loginUser;
    dialog.passwordField = node.loginPassword;
    dialog.nameField = node.displayName;
}

void loginsDialogUpdate(ProgramState& state) {
    LoginsDialogState& dialog = state.windows.loginsDialog;
    NodeTable& nodes = state.domain.nodes;
    if (nodes.isNode(dialog.selectedNode)) {
        NodeRecord& node = nodes.node(dialog.selectedNode);
        node.loginUser = dialog.userField;
        node.loginPassword = dialog.passwordField;
    }
    state.ui->doEvents();
    GridControl& grid = dialog.loginGrid;
    for (int i = 1; i <= nodes.nodeCount() && i < grid.rows(); ++i) writeNodeRow(state, i);
    grid.redraw();
}

void loginsDialogOk(ProgramState& state) { state.windows.loginsDialog.visible = false; }

void loginsDialogCancel(ProgramState& state) { state.windows.loginsDialog.visible = false; }

void loginsDialogClose(ProgramState& state) {
    LoginsDialogState& dialog = state.windows.loginsDialog;
    dialog.visible = false;
    dialog.loaded = false;
}

}  // namespace vantrel
