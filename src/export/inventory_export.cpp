#include "export/inventory_export.h"

#include <chrono>

#include "core/text_file.h"
#include "export/csv_export.h"
#include "export/export_error.h"
#include "export/export_folder.h"
#include "export/export_renderer.h"
#include "export/export_target.h"
#include "export/json_export.h"

namespace vantrel {

InventoryExportResult exportInventory(const ProgramFolder& home, const NodeTable& table, std::int32_t background,
                                      const InventoryExportRequest& request,
                                      const std::function<void(int, int)>& progress) {
    if (!request.html && !request.csv && !request.json) throw ExportError("nothing to export was chosen");
    refuseInsideProgramFolder(request.folder, home.root());
    const auto nodes = gatherExportNodes(home, table, request.nodes);
    const auto now = std::chrono::system_clock::now();
    InventoryExportResult result;
    result.nodes = static_cast<int>(nodes.size());
    // The folder first: it is made when missing, and refused when it is no folder.
    std::optional<ExportFolder> site;
    if (request.html) site.emplace(request.folder);
    else {
        std::error_code error;
        std::filesystem::create_directories(request.folder, error);
        if (!std::filesystem::is_directory(request.folder, error))
            throw ExportError("cannot make the folder " + request.folder.string());
    }
    auto writeData = [&](const char* name, const std::string& content) {
        const auto file = request.folder / name;
        if (!writeFileAtomically(file, content)) throw ExportError("cannot write " + file.string());
    };
    if (request.csv) writeData(kCsvExportName, inventoryCsv(nodes));
    if (request.json) writeData(kJsonExportName, inventoryJson(nodes, now));
    if (!site) return result;

    HtmlExportOptions options;
    const std::string homePath = home.root().string();
    const int width = request.pictureWidth, height = request.pictureHeight;
    options.makeRenderer = [homePath, width, height, background] {
        return std::make_unique<ExportRenderer>(homePath, width, height, background);
    };
    options.workers = request.workers;
    options.progress = progress;
    if (progress) {
        int toDraw = 0;
        for (const auto& node : nodes) toDraw += node.reportFile ? 1 : 0;
        progress(0, toDraw);
    }
    const auto html = writeHtmlSite(*site, nodes, options, now);
    result.pictures = html.pictures;
    result.problems = html.problems;
    return result;
}

}  // namespace vantrel
