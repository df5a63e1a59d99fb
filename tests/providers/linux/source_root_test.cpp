// Reading below a source root: paths never climb out of it, links that lead
// out of it resolve to nothing, and values are bounded and clean.

#include <gtest/gtest.h>

#include "providers/linux/source_root.h"
#include "source_tree.h"

using namespace vantrel::linuxhost;
using vantrel::linuxhost::testing::SourceTree;

TEST(SourceRoot, PathsStayBelowTheRoot) {
    SourceTree t;
    const SourceRoot root(t.root());
    const std::string base = t.root().string();
    const struct {
        const char* absolute;
        const char* below;
    } cases[] = {
        {"/sys/block", "/sys/block"},         {"/sys//block/", "/sys/block"}, {"/sys/./block/.", "/sys/block"},
        {"/../../etc/passwd", "/etc/passwd"}, {"sys/../../x", "/x"},          {"/", "/"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.absolute);
        EXPECT_EQ(root.path(c.absolute).string(), base + c.below);
    }
}

TEST(SourceRoot, LinksResolveOnlyInsideTheRoot) {
    SourceTree t;
    t.file("/sys/devices/pci0000:00/0000:00:1f.6/vendor", "0x8086\n");
    t.link("/sys/class/net/eth0/device", "../../../devices/pci0000:00/0000:00:1f.6");
    t.link("/sys/class/net/eth1/device", "/usr");                 // absolute: this machine's /usr
    t.link("/sys/class/net/eth2/device", "../../../../../../..");  // climbs out
    t.link("/sys/class/net/loop", "loop");
    const SourceRoot root(t.root());
    EXPECT_EQ(root.resolve("/sys/class/net/eth0/device"), "/sys/devices/pci0000:00/0000:00:1f.6");
    EXPECT_EQ(root.readValue("/sys/class/net/eth0/device/vendor"), "0x8086");
    EXPECT_EQ(root.resolve("/sys/class/net/eth1/device"), std::nullopt);
    EXPECT_EQ(root.resolve("/sys/class/net/eth2/device"), std::nullopt);
    EXPECT_EQ(root.resolve("/sys/class/net/loop"), std::nullopt);
    EXPECT_EQ(root.resolve("/sys/class/net/missing"), std::nullopt);
    EXPECT_EQ(root.readFile("/sys/class/net/loop"), std::nullopt);
    EXPECT_EQ(root.readFile("/sys/class/net"), std::nullopt) << "a folder is not a file";
    EXPECT_EQ(root.list("/sys/class/net"), (std::vector<std::string>{"eth0", "eth1", "eth2", "loop"}));
    EXPECT_TRUE(root.list("/sys/class/nothing").empty());
}

TEST(SourceRoot, CleanText) {
    const struct {
        std::string text;
        bool clean;
    } cases[] = {
        {"Intel(R) Core(TM)", true}, {"Größe ® 3", true},        {"tab\there", true},
        {std::string("nul\0x", 5), false},           {"bell\x07", false},         {"del\x7f", false},
        {"\xff\xfe", false},         {"cut \xc3", false},         {"overlong \xc0\xaf", false},
        {"surrogate \xed\xa0\x80", false}, {"beyond \xf4\x90\x80\x80", false}, {"emoji \xf0\x9f\x98\x80", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(isCleanText(c.text), c.clean);
    }
}
