#pragma once
// Pictures of the HTML export, drawn as `vantrel-cli render --report` draws
// them: the virtual PC assembled once per renderer, each node's report
// applied through the builders, the scene drawn on a windowless GL context.

#include <memory>
#include <string>

#include "app/cli_model.h"
#include "export/html_site.h"
#include "view/offscreen_view.h"

namespace vantrel::cli {

class ExportRenderer final : public NodeRenderer {
public:
    // Throws ExportError without a media folder, render_gl::GlError without a GL context.
    ExportRenderer(const std::string& home, int width, int height, std::int32_t background);

    NodeDrawing draw(const ExportNode& node) override;

private:
    HeadlessPc pc_;
    view::OffscreenView view_;
};

}  // namespace vantrel::cli
