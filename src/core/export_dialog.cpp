#include "core/export_dialog.h"

#include <map>

#include "core/error.h"
#include "core/node_label.h"

namespace vantrel {

void openExportDialog(ProgramState& state) {
    ExportDialogState& dialog = state.windows.exportDialog;
    dialog.visible = true;
    if (dialog.running) return;
    std::map<std::string, bool> marks;
    for (const auto& choice : dialog.nodes) marks[choice.name] = choice.checked;
    dialog.nodes.clear();
    const NodeTable& table = state.domain.nodes;
    for (int i = 1; i <= table.nodeCount(); ++i) {
        const NodeRecord& node = table.node(i);
        if (node.enabled == NodeEnabled::Hidden) continue;
        ExportNodeChoice choice;
        choice.name = node.name;
        choice.label = nodeLabel(node, state.domain.settings.nodeLabelMode.value()).value_or(node.name);
        if (const auto mark = marks.find(node.name); mark != marks.end()) choice.checked = mark->second;
        dialog.nodes.push_back(std::move(choice));
    }
    dialog.statusText.clear();
}

ExportChoice exportDialogChoice(const ProgramState& state) {
    const ExportDialogState& dialog = state.windows.exportDialog;
    ExportChoice choice;
    choice.folder = dialog.folderField;
    if (choice.folder.find_first_not_of(" \t") == std::string::npos) throw CoreError("Choose a folder to export into.");
    choice.html = dialog.htmlChecked;
    choice.csv = dialog.csvChecked;
    choice.json = dialog.jsonChecked;
    if (!choice.html && !choice.csv && !choice.json) throw CoreError("Choose what to export: HTML, CSV or JSON.");
    for (const auto& node : dialog.nodes)
        if (node.checked) choice.nodes.push_back(node.name);
    if (choice.nodes.empty()) throw CoreError("Choose at least one node to export.");
    return choice;
}

void exportStarted(ProgramState& state) {
    ExportDialogState& dialog = state.windows.exportDialog;
    dialog.running = true;
    dialog.picturesDone = dialog.picturesToDraw = 0;
    dialog.statusText = "Reading the inventory...";
}

void exportProgress(ProgramState& state, int picturesDone, int picturesToDraw) {
    ExportDialogState& dialog = state.windows.exportDialog;
    dialog.picturesDone = picturesDone;
    dialog.picturesToDraw = picturesToDraw;
    dialog.statusText = "Drawing pictures: " + std::to_string(picturesDone) + " of " + std::to_string(picturesToDraw);
}

void exportFinished(ProgramState& state, std::string outcome) {
    ExportDialogState& dialog = state.windows.exportDialog;
    dialog.running = false;
    dialog.statusText = std::move(outcome);
}

void closeExportDialog(ProgramState& state) { state.windows.exportDialog.visible = false; }

}  // namespace vantrel
