// Text from nodes as the exports write it: escaped for HTML, made a file
// name that cannot leave its folder, and a CSV field a spreadsheet will not run.

#include <gtest/gtest.h>

#include "export/csv_export.h"
#include "export/html_text.h"

using namespace vantrel;

TEST(HtmlEscape, MarkupAndControlCharactersNeverReachThePage) {
    const struct {
        std::string in, out;
    } cases[] = {
        {"WS-7", "WS-7"},
        {"<script>alert(1)</script>", "&lt;script&gt;alert(1)&lt;/script&gt;"},
        {"a & b \"c\" 'd'", "a &amp; b &quot;c&quot; &#39;d&#39;"},
        {"&amp;", "&amp;amp;"},
        {std::string("nul\0bell\a del\x7F", 15), "nulbell del"},
        {"tab\tline\n", "tab\tline\n"},
        {"caf\xC3\xA9 \xE2\x82\xAC", "caf\xC3\xA9 \xE2\x82\xAC"},
        {"bad \xFF\xC3 end", "bad \xEF\xBF\xBD\xEF\xBF\xBD end"},
    };
    for (const auto& c : cases) EXPECT_EQ(htmlEscape(c.in), c.out) << c.in;
}

TEST(PageName, EveryNodeGetsItsOwnSafeName) {
    std::set<std::string> taken;
    const struct {
        std::string node, page;
    } cases[] = {
        {"WS-7", "ws-7"},      {"ws-7", "ws-7-2"},         {"<img src=x>", "_img_src_x_"},
        {"../../etc", "______etc"}, {"", "node"},          {"caf\xC3\xA9", "caf__"},
        {std::string(80, 'a'), std::string(48, 'a')},
    };
    for (const auto& c : cases) EXPECT_EQ(pageName(c.node, taken), c.page) << c.node;
}

TEST(CsvField, QuotesWhatNeedsItAndDisarmsFormulas) {
    const struct {
        std::string in, out;
    } cases[] = {
        {"plain", "plain"},
        {"a,b", "\"a,b\""},
        {"say \"hi\"", "\"say \"\"hi\"\"\""},
        {"two\r\nlines", "\"two\r\nlines\""},
        {"=HYPERLINK(\"x\")", "\"'=HYPERLINK(\"\"x\"\")\""},
        {"+1", "'+1"},
        {"@SUM(A1)", "'@SUM(A1)"},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(csvField(c.in), c.out) << c.in;
}

TEST(InventoryCsv, OneRowPerComponentNumberedWithinItsCategory) {
    ExportNode node;
    node.name = "WS-7";
    node.address = "10.0.0.7";
    node.components = {{"Memory", "serial A", "DIMM 1: 8 GiB", {{"Capacity", "8589934592"}, {"DeviceLocator", "DIMM 1"}}},
                       {"Memory", "serial B", "DIMM 2: 8 GiB", {}},
                       {"CPU", "cpu0", "Example CPU", {}}};
    EXPECT_EQ(inventoryCsv({node}),
              "node,address,category,position,name,key,details\r\n"
              "WS-7,10.0.0.7,Memory,1,DIMM 1: 8 GiB,serial A,Capacity=8589934592; DeviceLocator=DIMM 1\r\n"
              "WS-7,10.0.0.7,Memory,2,DIMM 2: 8 GiB,serial B,\r\n"
              "WS-7,10.0.0.7,CPU,1,Example CPU,cpu0,\r\n");
}
