#pragma once
// Pictures of the HTML export, drawn as `vantrel-cli render --report` draws
// them: the virtual PC assembled once per renderer, each node's report
// applied through the builders, the scene drawn on a windowless GL context.
// One renderer per thread: each holds a context of its own.

#include <cstdint>
#include <string>

#include "export/html_site.h"
#include "model/headless_pc.h"
#include "view/offscreen_view.h"

namespace vantrel {

class ExportRenderer final : public NodeRenderer {
public:
    // Throws ExportError without a media folder, render_gl::GlError without a GL context.
    ExportRenderer(const std::string& home, int width, int height, std::int32_t background);

    // Throws ExportError when showing the report had something to say.
    NodeDrawing draw(const ExportNode& node) override;

private:
    class Messages;
    Messages* messages_;  // owned by pc_
    model::HeadlessPc pc_;
    view::OffscreenView view_;
};

}  // namespace vantrel
