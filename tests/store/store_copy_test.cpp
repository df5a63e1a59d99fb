// Copying a history into another store: every scan of every node, in order,
// with its time, source and contents; a second run copies nothing twice.

#include <gtest/gtest.h>

#include "store/sqlite/sqlite_inventory_store.h"
#include "store/store_copy.h"
#include "support/stored_scans.h"
#include "support/temp_folder.h"

using namespace vantrel;
using test::answersWithEveryKind;
using test::scanOf;

namespace {

TEST(StoreCopy, EveryScanGoesOverOnceInItsOrder) {
    test::TempFolder dir;
    SqliteInventoryStore from(dir.path() / "home.db");
    SqliteInventoryStore to(dir.path() / "shared.db");
    CollectedScan later = scanOf("PC-A", "Sound\r\n1\r\nCard B", answersWithEveryKind());
    later.time += std::chrono::hours(1);
    later.source = ScanSource::Ssh;
    from.recordScan(scanOf("PC-A", "Sound\r\n1\r\nCard A"));
    from.recordScan(later);
    from.recordScan(scanOf("PC-B", "B"));
    to.recordScan(scanOf("PC-B", "B"));  // already there, as after an earlier copy

    const CopyCount first = copyScans(from, to);
    EXPECT_EQ(first.copied, 2);
    EXPECT_EQ(first.alreadyThere, 1);
    const CopyCount again = copyScans(from, to);
    EXPECT_EQ(again.copied, 0);
    EXPECT_EQ(again.alreadyThere, 3);

    const auto scans = to.listScans("PC-A");
    ASSERT_EQ(scans.size(), 2u);
    EXPECT_EQ(scans[1].time, later.time);
    EXPECT_EQ(scans[1].source, "SSH");
    EXPECT_EQ(scans[1].summary, "Sound: 1 added, 1 removed");
    const auto loaded = to.loadScan("PC-A", 2);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->content.reportText, later.reportText);
    EXPECT_EQ(loaded->content.answers.classes().size(), 2u);
    EXPECT_EQ(to.listScans("PC-B").size(), 1u);
}

}  // namespace
