// The HTML site written with a renderer that draws plain pictures: pictures
// where a node has a report, progress for each, the tree as nested lists,
// every node text escaped, and a node that cannot be drawn still listed.

#include <gtest/gtest.h>

#include <mutex>
#include <stdexcept>

#include "export/html_site.h"
#include "support/temp_folder.h"

using namespace vantrel;
namespace fs = std::filesystem;

namespace {

render_gl::RgbaImage plain(int width, int height, std::uint8_t red) {
    render_gl::RgbaImage image{width, height, {}};
    for (int i = 0; i < width * height; ++i) image.pixels.insert(image.pixels.end(), {red, 20, 30, 255});
    return image;
}

class PlainRenderer final : public NodeRenderer {
public:
    NodeDrawing draw(const ExportNode& node) override {
        if (node.name == "broken") throw std::runtime_error("the report cannot be shown");
        return {plain(8, 6, 200), plain(8, 6, 100), {{0, node.displayName}, {1, "CPU"}, {2, "<Fast> CPU"}, {1, "Memory"}}};
    }
};

ExportNode node(std::string name, bool report) {
    ExportNode n;
    n.name = name;
    n.displayName = name;
    n.status = report ? "Scanned" : "Not scanned";
    if (report) n.reportFile = "/nonexistent/report";
    return n;
}

}  // namespace

TEST(HtmlSite, WritesPicturesPagesAndProgressForEveryNodeWithAReport) {
    test::TempFolder temp;
    const std::vector<ExportNode> nodes{node("<b>Q&A</b>", true), node("never-scanned", false), node("broken", true)};
    HtmlExportOptions options;
    options.makeRenderer = [] { return std::make_unique<PlainRenderer>(); };
    options.workers = 2;
    options.thumbnailShrink = 2;
    std::mutex mutex;
    std::vector<std::pair<int, int>> progress;
    options.progress = [&](int done, int total) {
        std::lock_guard lock(mutex);
        progress.emplace_back(done, total);
    };
    ExportFolder folder(temp.path());
    const auto result = writeHtmlSite(folder, nodes, options, std::chrono::system_clock::time_point{});

    EXPECT_EQ(result.pictures, 1);
    EXPECT_EQ(result.problems, std::vector<std::string>{"broken: the report cannot be shown"});
    EXPECT_EQ(progress, (std::vector<std::pair<int, int>>{{1, 2}, {2, 2}}));
    const auto picture = render_gl::readImageFile((temp.path() / "pictures" / "_b_q_a__b_.png").string());
    const auto thumbnail = render_gl::readImageFile((temp.path() / "pictures" / "_b_q_a__b_-front.png").string());
    ASSERT_TRUE(picture && thumbnail);
    EXPECT_EQ(std::make_pair(picture->width, picture->height), std::make_pair(8, 6));
    EXPECT_EQ(std::make_pair(thumbnail->width, thumbnail->height), std::make_pair(4, 3));
    EXPECT_EQ(picture->pixel(3, 3)[0], 200);
    EXPECT_EQ(thumbnail->pixel(1, 1)[0], 100);
    EXPECT_FALSE(fs::exists(temp.path() / "pictures" / "never-scanned.png"));
    EXPECT_FALSE(fs::exists(temp.path() / "pictures" / "broken.png"));

    const std::string index = test::readBytes(temp.path() / "index.html");
    EXPECT_EQ(index.find("<b>Q&A</b>"), std::string::npos);
    EXPECT_NE(index.find("<a href=\"nodes/_b_q_a__b_.html\">&lt;b&gt;Q&amp;A&lt;/b&gt;</a>"), std::string::npos);
    EXPECT_NE(index.find("src=\"pictures/_b_q_a__b_-front.png\" width=\"4\" height=\"3\""), std::string::npos);
    const std::string page = test::readBytes(temp.path() / "nodes" / "_b_q_a__b_.html");
    EXPECT_NE(page.find("<ul class=\"tree\">\n<li>&lt;b&gt;Q&amp;A&lt;/b&gt;<ul>\n<li>CPU<ul>\n<li>&lt;Fast&gt; CPU</li></ul></li>"
                        "\n<li>Memory</li></ul></li>\n</ul>"),
              std::string::npos)
        << page;
    EXPECT_NE(page.find("src=\"../pictures/_b_q_a__b_.png\" width=\"8\" height=\"6\""), std::string::npos);
    for (const char* name : {"never-scanned", "broken"})
        EXPECT_NE(test::readBytes(temp.path() / "nodes" / (std::string(name) + ".html")).find("No picture"),
                  std::string::npos)
            << name;
}

TEST(HtmlSite, WithoutAnyGlContextThePagesAreStillWrittenAndEachNodeSaysWhy) {
    test::TempFolder temp;
    HtmlExportOptions options;
    options.makeRenderer = []() -> std::unique_ptr<NodeRenderer> { throw std::runtime_error("no EGL display"); };
    options.workers = 3;
    ExportFolder folder(temp.path());
    const auto result =
        writeHtmlSite(folder, {node("a", true), node("b", true)}, options, std::chrono::system_clock::time_point{});
    EXPECT_EQ(result.pictures, 0);
    EXPECT_EQ(result.problems, (std::vector<std::string>{"a: no picture could be drawn: no EGL display",
                                                         "b: no picture could be drawn: no EGL display"}));
    EXPECT_TRUE(fs::exists(temp.path() / "nodes" / "a.html"));
    EXPECT_TRUE(fs::exists(temp.path() / "index.html"));
}
