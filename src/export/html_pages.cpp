#include "export/html_pages.h"

#include <algorithm>
#include <map>

#include "export/html_text.h"
#include "store/change_format.h"

namespace vantrel {
namespace {

// Sorting and filtering of the index: no framework, no server.
constexpr const char* kIndexScript = R"(
(function () {
  var table = document.getElementById('nodes');
  var body = table.tBodies[0];
  var headers = table.tHead.rows[0].cells;
  var count = document.getElementById('count');
  function key(row, i) {
    var cell = row.cells[i];
    return cell.hasAttribute('data-sort') ? cell.getAttribute('data-sort') : cell.textContent.trim();
  }
  Array.prototype.forEach.call(headers, function (th, i) {
    if (!th.classList.contains('sortable')) return;
    th.addEventListener('click', function () {
      var ascending = th.getAttribute('aria-sort') !== 'ascending';
      Array.prototype.forEach.call(headers, function (h) { h.removeAttribute('aria-sort'); });
      th.setAttribute('aria-sort', ascending ? 'ascending' : 'descending');
      var rows = Array.prototype.slice.call(body.rows);
      rows.sort(function (a, b) {
        var order = key(a, i).localeCompare(key(b, i), undefined, {numeric: true, sensitivity: 'base'});
        return ascending ? order : -order;
      });
      rows.forEach(function (row) { body.appendChild(row); });
    });
  });
  var filter = document.getElementById('filter');
  function applyFilter() {
    var words = filter.value.toLowerCase().split(/\s+/).filter(Boolean);
    var shown = 0;
    Array.prototype.forEach.call(body.rows, function (row) {
      var text = row.textContent.toLowerCase();
      var match = words.every(function (word) { return text.indexOf(word) >= 0; });
      row.hidden = !match;
      if (match) shown++;
    });
    count.textContent = shown + ' of ' + body.rows.length + ' nodes shown';
  }
  filter.addEventListener('input', applyFilter);
  applyFilter();
})();
)";

constexpr const char* kStylesheet = R"(:root { font-family: system-ui, sans-serif; color: #1d2430; background: #f6f7f9; }
body { margin: 0 auto; padding: 1rem; max-width: 80rem; }
h1 { font-size: 1.5rem; margin: 0 0 .5rem; }
h2 { font-size: 1.2rem; margin: 1.5rem 0 .5rem; }
h3 { font-size: 1rem; margin: 1rem 0 .25rem; }
a { color: #0b57a4; }
.meta { color: #5a6270; font-size: .9rem; }
.tools { display: flex; gap: 1rem; align-items: center; flex-wrap: wrap; margin: .75rem 0; }
#filter { font: inherit; padding: .35rem .5rem; min-width: 16rem; border: 1px solid #b8bec8; border-radius: 4px; }
.scroll { overflow-x: auto; }
table { border-collapse: collapse; width: 100%; background: #fff; }
th, td { text-align: left; vertical-align: top; padding: .4rem .5rem; border-bottom: 1px solid #e1e4e8; }
th { background: #e9edf2; white-space: nowrap; }
th.sortable { cursor: pointer; }
th.sortable button { all: inherit; cursor: pointer; padding: 0; }
th[aria-sort=ascending]::after { content: " \25B2"; }
th[aria-sort=descending]::after { content: " \25BC"; }
td.thumb img { display: block; width: 80px; height: auto; border-radius: 3px; }
.status-Scanned { color: #1d7a32; }
figure { margin: 0; }
figure img { max-width: 100%; height: auto; border-radius: 6px; background: #000; }
dl.facts { display: grid; grid-template-columns: max-content 1fr; gap: .25rem 1rem; }
dl.facts dt { font-weight: 600; }
dl.facts dd { margin: 0; }
.columns { display: grid; grid-template-columns: minmax(0, 3fr) minmax(0, 2fr); gap: 1.5rem; }
ul.tree, ul.tree ul { list-style: none; padding-left: 1.1rem; margin: 0; }
ul.tree { padding-left: 0; }
ul.tree li { padding: .05rem 0; }
@media (max-width: 50rem) {
  /* On a phone each node is a card; the headers stay as a row of sort buttons. */
  #nodes, #nodes thead, #nodes tbody, #nodes tr, #nodes td { display: block; }
  #nodes thead tr { display: flex; flex-wrap: wrap; gap: .25rem; padding: .25rem; background: #e9edf2; }
  #nodes th { display: block; padding: .2rem .4rem; border: 1px solid #c9ced6; border-radius: 4px; }
  #nodes th:first-child { display: none; }
  #nodes tr { border-bottom: 2px solid #c9ced6; padding: .4rem 0; }
  #nodes tr[hidden] { display: none; }
  #nodes td { border: none; padding: .1rem .5rem; }
  #nodes td:empty { display: none; }
  #nodes td[data-label]::before { content: attr(data-label) ": "; font-weight: 600; }
  .columns { grid-template-columns: 1fr; }
  body { padding: .5rem; }
  #filter { min-width: 0; width: 100%; }
}
@media print {
  :root { background: #fff; }
  .tools, .back { display: none; }
  th { background: none; border-bottom: 2px solid #000; }
  tr[hidden] { display: table-row; }
  a { color: inherit; text-decoration: none; }
  .columns { grid-template-columns: 1fr; }
  figure img { max-width: 12cm; }
}
)";

std::string head(const std::string& title, const std::string& stylesheetPath) {
    return "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
           "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>" +
           htmlEscape(title) + "</title>\n<link rel=\"stylesheet\" href=\"" + stylesheetPath + "\">\n</head>\n<body>\n";
}

std::string cell(const char* label, const std::string& text) {
    return std::string("<td data-label=\"") + label + "\">" + htmlEscape(text) + "</td>";
}

std::string scanTimeText(const ExportNode& node) { return node.scanTime ? timeText(*node.scanTime) : ""; }

std::string image(const std::string& source, PictureSize size, const std::string& alt) {
    return "<img src=\"" + source + "\" width=\"" + std::to_string(size.width) + "\" height=\"" +
           std::to_string(size.height) + "\" alt=\"" + htmlEscape(alt) + "\">";
}

// The tree's lines as nested lists, each deeper line inside the one before.
std::string treeList(const std::vector<TreeLine>& lines) {
    std::string out = "<ul class=\"tree\">";
    int depth = 0;
    bool open = false;
    for (const auto& line : lines) {
        const int target = std::max(0, std::min(line.depth, depth + 1));
        if (target > depth) out += "<ul>";
        else if (open) out += "</li>";
        for (; depth > target; --depth) out += "</ul></li>";
        depth = target;
        out += "\n<li>" + htmlEscape(line.text);
        open = true;
    }
    if (open) out += "</li>";
    for (; depth > 0; --depth) out += "</ul></li>";
    return out + "\n</ul>\n";
}

std::string componentsSection(const ExportNode& node) {
    if (node.components.empty()) return "<p>No components are known.</p>\n";
    std::string out;
    std::string category;
    for (const auto& part : node.components) {
        if (part.category != category) {
            if (!category.empty()) out += "</ul>\n";
            category = part.category;
            out += "<h3>" + htmlEscape(category) + "</h3>\n<ul>\n";
        }
        out += "<li>" + htmlEscape(part.name);
        std::string details;
        for (const auto& [property, value] : part.details)
            if (!value.empty()) details += "<dt>" + htmlEscape(property) + "</dt><dd>" + htmlEscape(value) + "</dd>";
        if (!details.empty()) out += "<dl class=\"facts\">" + details + "</dl>";
        out += "</li>\n";
    }
    return out + "</ul>\n";
}

}  // namespace

std::string indexPage(const std::vector<SiteNode>& nodes, std::chrono::system_clock::time_point exported) {
    std::string out = head("Vantrel inventory", "style.css");
    out += "<h1>Vantrel inventory</h1>\n<p class=\"meta\">" + std::to_string(nodes.size()) +
           " nodes, exported " + htmlEscape(timeText(exported)) + "</p>\n";
    out += "<div class=\"tools\"><label>Filter <input id=\"filter\" type=\"search\" "
           "placeholder=\"name, address, hardware...\"></label><span id=\"count\" class=\"meta\"></span></div>\n";
    out += "<div class=\"scroll\"><table id=\"nodes\">\n<thead><tr><th>Picture</th>";
    for (const char* column : {"Name", "Address", "Status", "Last scan", "Processor", "Memory", "Disks", "Graphics",
                               "Network", "Last change"})
        out += std::string("<th class=\"sortable\"><button type=\"button\">") + column + "</button></th>";
    out += "</tr></thead>\n<tbody>\n";
    for (const auto& site : nodes) {
        const ExportNode& node = *site.node;
        const std::string page = "nodes/" + site.page + ".html";
        out += "<tr><td class=\"thumb\">";
        if (site.thumbnail.width > 0)
            out += "<a href=\"" + page + "\">" +
                   image("pictures/" + site.page + "-front.png", site.thumbnail, "Front of " + node.displayName) + "</a>";
        out += "</td><td><a href=\"" + page + "\">" + htmlEscape(node.displayName) + "</a></td>";
        out += cell("Address", node.address) + "<td data-label=\"Status\" class=\"status-" +
               (node.status == "Scanned" ? "Scanned" : "other") + "\">" + htmlEscape(node.status) + "</td>";
        out += "<td data-label=\"Last scan\" data-sort=\"" + htmlEscape(isoTime(node.scanTime)) + "\">" +
               htmlEscape(scanTimeText(node)) + "</td>";
        for (const auto& [label, category] : {std::pair<const char*, const char*>{"Processor", "CPU"},
                                              {"Memory", "Memory"}, {"Disks", "Disk Drive"}, {"Graphics", "Video"},
                                              {"Network", "Ethernet"}})
            out += cell(label, componentNames(node, category));
        out += cell("Last change", node.lastChange) + "</tr>\n";
    }
    out += "</tbody>\n</table></div>\n<script>" + std::string(kIndexScript) + "</script>\n</body>\n</html>\n";
    return out;
}

std::string nodePage(const SiteNode& site, std::chrono::system_clock::time_point exported) {
    const ExportNode& node = *site.node;
    std::string out = head(node.displayName + " - Vantrel inventory", "../style.css");
    out += "<p class=\"back\"><a href=\"../index.html\">&larr; All nodes</a></p>\n";
    out += "<h1>" + htmlEscape(node.displayName) + "</h1>\n<div class=\"columns\">\n<div>\n";
    if (site.picture.width > 0)
        out += "<figure>" + image("../pictures/" + site.page + ".png", site.picture, "Virtual PC of " + node.displayName) +
               "</figure>\n";
    else
        out += "<p>No picture: the node has no report.</p>\n";
    out += "</div>\n<div>\n<dl class=\"facts\">";
    const std::pair<const char*, std::string> facts[] = {
        {"Name", node.name},          {"Address", node.address},           {"Status", node.status},
        {"Last scan", scanTimeText(node)}, {"Last change", node.lastChange}};
    for (const auto& [label, value] : facts)
        out += std::string("<dt>") + label + "</dt><dd>" + htmlEscape(value.empty() ? "-" : value) + "</dd>";
    out += "</dl>\n</div>\n</div>\n";
    out += "<h2>Hardware</h2>\n" + (site.tree.empty() ? std::string("<p>No hardware tree.</p>\n") : treeList(site.tree));
    out += "<h2>Components</h2>\n" + componentsSection(node);
    out += "<p class=\"meta\">Exported " + htmlEscape(timeText(exported)) + "</p>\n</body>\n</html>\n";
    return out;
}

std::string stylesheet() { return kStylesheet; }

}  // namespace vantrel
