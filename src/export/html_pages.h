#pragma once
// The pages of the HTML export: an index of every node (sorted and filtered
// in the page by a few lines of plain JavaScript, so it works from file://)
// and one page per node, all sharing one stylesheet. Every text from a node
// is escaped.

#include <chrono>
#include <string>
#include <vector>

#include "export/export_nodes.h"

namespace vantrel {

// One item of the hardware tree, at its depth (0: the computer).
struct TreeLine {
    int depth = 0;
    std::string text;
};

struct PictureSize {
    int width = 0;
    int height = 0;
};

// A node as the site shows it: its file name stem, and its pictures and
// hardware tree when it could be drawn.
struct SiteNode {
    const ExportNode* node = nullptr;
    std::string page;            // nodes/<page>.html, pictures/<page>.png, pictures/<page>-front.png
    PictureSize picture;         // 0 x 0: none
    PictureSize thumbnail;
    std::vector<TreeLine> tree;
};

std::string indexPage(const std::vector<SiteNode>& nodes, std::chrono::system_clock::time_point exported);
std::string nodePage(const SiteNode& node, std::chrono::system_clock::time_point exported);
std::string stylesheet();

}  // namespace vantrel
