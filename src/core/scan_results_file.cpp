#include "core/scan_results_file.h"

#include <system_error>

#include "core/text_file.h"

namespace vantrel {

std::string formatResultsFile(const NodeTable& table) {
    std::string out;
    for (int i = 1; i <= table.nodeCount(); ++i) {
        const NodeRecord& node = table.node(i);
        if (node.lastResult.empty()) continue;
        appendFileLine(out, node.name);
        appendFileLine(out, node.lastResult);
    }
    return out;
}

void loadScanResults(ProgramState& state) {
    TextLineReader reader(state.folder.resultsFile(), kMaxResultsFileBytes);
    NodeTable& nodes = state.domain.nodes;
    while (reader.isOpen() && !reader.atEnd()) {
        auto name = reader.readLine();
        auto result = reader.readLine();
        if (!name || !result) break;
        if (const int i = nodes.find(stripSpaces(*name)); i != 0) nodes.node(i).lastResult = stripSpaces(*result);
    }
    state.domain.unreadableFiles.results = reader.failed();
}

bool saveScanResults(const ProgramState& state) {
    // Results belong to the table: a table that was not read is not answered for.
    if (state.domain.unreadableFiles.logins || state.domain.unreadableFiles.results) return false;
    const auto path = state.folder.resultsFile();
    const std::string text = formatResultsFile(state.domain.nodes);
    std::error_code ec;
    if (text.empty() && !std::filesystem::exists(path, ec)) return true;
    return writeFileAtomically(path, text);
}

}  // namespace vantrel
