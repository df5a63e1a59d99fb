#pragma once
// The Export dialog ("Export..." in the Main menu): a folder, the kinds of
// export and the nodes to export. The export itself runs elsewhere; this is
// what the dialog shows and what it hands over.

#include <string>
#include <vector>

#include "core/program_state.h"

namespace vantrel {

// What the dialog asks for, checked.
struct ExportChoice {
    std::string folder;
    bool html = false, csv = false, json = false;
    std::vector<std::string> nodes;  // never empty
};

// Lists the nodes that are not deleted (a node checked or unchecked before
// keeps its mark; a new one is checked) and shows the dialog. While an
// export runs only shows it.
void openExportDialog(ProgramState& state);
// The dialog's choice. Throws CoreError with a sentence for the user when
// the folder, the kinds or the nodes are missing.
ExportChoice exportDialogChoice(const ProgramState& state);

// The export's steps as the dialog shows them.
void exportStarted(ProgramState& state);
void exportProgress(ProgramState& state, int picturesDone, int picturesToDraw);
void exportFinished(ProgramState& state, std::string outcome);

// "Close" and the close button hide the dialog; an export under way goes on.
void closeExportDialog(ProgramState& state);

}  // namespace vantrel
