#include "export/html_site.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <set>
#include <thread>

#include "export/html_text.h"
#include "export/png_bytes.h"

namespace vantrel {
namespace {

struct Drawn {
    std::vector<std::uint8_t> view, front;
    PictureSize viewSize, frontSize;
    std::vector<TreeLine> tree;
    std::string problem;
};

class PictureWork {
public:
    PictureWork(const std::vector<ExportNode>& nodes, const HtmlExportOptions& options)
        : nodes_(nodes), options_(options), drawn_(nodes.size()) {
        for (std::size_t i = 0; i < nodes.size(); ++i)
            if (nodes[i].reportFile) todo_.push_back(i);
    }

    std::vector<Drawn> run() {
        if (todo_.empty() || !options_.makeRenderer) return std::move(drawn_);
        const int workers = std::max(1, std::min<int>(options_.workers, static_cast<int>(todo_.size())));
        std::vector<std::thread> threads;
        for (int w = 1; w < workers; ++w) threads.emplace_back([this] { work(); });
        work();
        for (auto& t : threads) t.join();
        // No thread could have a context: the nodes left say so.
        for (std::size_t k = next_; k < todo_.size(); ++k) drawn_[todo_[k]].problem = contextProblem_;
        return std::move(drawn_);
    }

private:
    void work() {
        std::unique_ptr<NodeRenderer> renderer;
        try {
            renderer = options_.makeRenderer();
        } catch (const std::exception& e) {
            std::lock_guard lock(mutex_);
            contextProblem_ = std::string("no picture could be drawn: ") + e.what();
            return;  // the other threads draw this one's share
        }
        for (std::size_t k; (k = next_++) < todo_.size();) {
            const std::size_t i = todo_[k];
            Drawn& out = drawn_[i];
            try {
                NodeDrawing drawing = renderer->draw(nodes_[i]);
                const auto thumbnail = shrunk(drawing.front, options_.thumbnailShrink);
                out.view = pngBytes(drawing.view);
                out.front = pngBytes(thumbnail);
                out.viewSize = {drawing.view.width, drawing.view.height};
                out.frontSize = {thumbnail.width, thumbnail.height};
                out.tree = std::move(drawing.tree);
            } catch (const std::exception& e) {
                out = Drawn{};
                out.problem = e.what();
            }
            std::lock_guard lock(mutex_);
            ++done_;
            if (options_.progress) options_.progress(done_, static_cast<int>(todo_.size()));
        }
    }

    const std::vector<ExportNode>& nodes_;
    const HtmlExportOptions& options_;
    std::vector<Drawn> drawn_;
    std::vector<std::size_t> todo_;
    std::atomic<std::size_t> next_{0};
    std::mutex mutex_;
    int done_ = 0;
    std::string contextProblem_;
};

std::string_view asText(const std::vector<std::uint8_t>& bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

}  // namespace

HtmlExportResult writeHtmlSite(ExportFolder& folder, const std::vector<ExportNode>& nodes,
                               const HtmlExportOptions& options, std::chrono::system_clock::time_point exported) {
    std::vector<Drawn> drawn = PictureWork(nodes, options).run();
    HtmlExportResult result;
    std::set<std::string> taken;
    std::vector<SiteNode> site;
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        SiteNode entry;
        entry.node = &nodes[i];
        entry.page = pageName(nodes[i].name, taken);
        Drawn& d = drawn[i];
        if (!d.view.empty()) {
            folder.write("pictures/" + entry.page + ".png", asText(d.view));
            folder.write("pictures/" + entry.page + "-front.png", asText(d.front));
            entry.picture = d.viewSize;
            entry.thumbnail = d.frontSize;
            ++result.pictures;
        } else if (!d.problem.empty()) {
            result.problems.push_back(nodes[i].name + ": " + d.problem);
        }
        entry.tree = std::move(d.tree);
        site.push_back(std::move(entry));
    }
    for (const auto& entry : site) folder.write("nodes/" + entry.page + ".html", nodePage(entry, exported));
    folder.write("style.css", stylesheet());
    folder.write("index.html", indexPage(site, exported));
    folder.finish();
    return result;
}

}  // namespace vantrel
