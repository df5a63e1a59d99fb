#pragma once
// Writes the HTML export: pictures drawn by renderers on worker threads (one
// renderer, and so one GL context, per thread), then the pages, then the
// manifest that lets the next export remove pages of removed nodes.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "export/export_folder.h"
#include "export/html_pages.h"
#include "render_gl/image_file.h"

namespace vantrel {

// What a renderer makes of one node's report.
struct NodeDrawing {
    render_gl::RgbaImage view;   // front three-quarter view
    render_gl::RgbaImage front;  // front view, shrunk to the thumbnail
    std::vector<TreeLine> tree;
};

class NodeRenderer {
public:
    virtual ~NodeRenderer() = default;
    // Throws on a report it cannot show; the node is then exported without a picture.
    virtual NodeDrawing draw(const ExportNode& node) = 0;
};

struct HtmlExportOptions {
    // Called on each worker thread; throws when no renderer can be had
    // there. Empty: no pictures.
    std::function<std::unique_ptr<NodeRenderer>()> makeRenderer;
    int workers = 1;
    int thumbnailShrink = 4;
    // (pictures done, pictures to draw), from any thread, one call at a time.
    std::function<void(int, int)> progress;
};

struct HtmlExportResult {
    int pictures = 0;
    std::vector<std::string> problems;  // nodes without a picture, and why
};

// Throws ExportError when the folder or a file cannot be written.
HtmlExportResult writeHtmlSite(ExportFolder& folder, const std::vector<ExportNode>& nodes,
                               const HtmlExportOptions& options, std::chrono::system_clock::time_point exported);

}  // namespace vantrel
