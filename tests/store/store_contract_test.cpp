// The contract of every inventory store, run over each implementation:
// scans numbered per node, kept and given back as recorded, and the change
// against the node's previous scan found as it is recorded.

#include <gtest/gtest.h>

#include <algorithm>

#include "store/postgres/postgres_inventory_store.h"
#include "store/sqlite/sqlite_inventory_store.h"
#include "store/store_error.h"
#include "support/postgres_server.h"
#include "support/stored_scans.h"
#include "support/temp_folder.h"

using namespace vantrel;
using test::answersWithEveryKind;
using test::scanOf;

namespace {

struct SqliteStore {
    static std::string unavailable() { return {}; }
    static std::unique_ptr<InventoryStore> make(const std::filesystem::path& folder) {
        return std::make_unique<SqliteInventoryStore>(folder / "inventory.db");
    }
};

// A fresh server for each test program (ctest runs each test in its own).
struct PostgresStore {
    static std::string unavailable() {
        auto& server = test::sharedPostgresServer();
        return server.ready() ? std::string() : server.why();
    }
    static std::unique_ptr<InventoryStore> make(const std::filesystem::path&) {
        return std::make_unique<PostgresInventoryStore>(test::sharedPostgresServer().target());
    }
};

template <typename Kind>
struct StoreContract : ::testing::Test {
    void SetUp() override {
        if (const std::string why = Kind::unavailable(); !why.empty()) GTEST_SKIP() << why;
        store = Kind::make(dir.path());
    }
    test::TempFolder dir;
    std::unique_ptr<InventoryStore> store;
};

using StoreKinds = ::testing::Types<SqliteStore, PostgresStore>;
TYPED_TEST_SUITE(StoreContract, StoreKinds);

TYPED_TEST(StoreContract, ScansAreNumberedPerNodeAndComeBackAsRecorded) {
    InventoryStore& store = *this->store;
    EXPECT_EQ(store.recordScan(scanOf("PC-A", "Baseboard\r\n0")).number, 1);
    EXPECT_EQ(store.recordScan(scanOf("PC-B", "B")).number, 1);
    const RecordedScan second = store.recordScan(scanOf("PC-A", "Baseboard\r\n0", answersWithEveryKind()));
    EXPECT_EQ(second.number, 2);
    ASSERT_TRUE(second.previous);
    EXPECT_EQ(second.previous->number, 1);

    EXPECT_EQ(store.nodes(), (std::vector<std::string>{"PC-A", "PC-B"}));
    const auto list = store.listScans("PC-A");
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[1].source, "WS-Management");
    EXPECT_EQ(list[1].time, scanOf("", "").time);
    const auto loaded = store.loadScan("PC-A", 2);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->address, "10.0.0.9");
    EXPECT_EQ(loaded->content.reportText, "Baseboard\r\n0");
    const ScanAnswers& answers = loaded->content.answers;
    ASSERT_EQ(answers.classes().size(), 2u);
    const AnsweredClass* thing = answers.find("Win32_Thing");
    ASSERT_TRUE(thing && thing->rows.size() == 1u);
    // Property order is not kept; names and values are.
    auto sorted = [](auto properties) {
        std::sort(properties.begin(), properties.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
        return properties;
    };
    EXPECT_EQ(sorted(thing->rows[0].properties), sorted(answersWithEveryKind().classes()[0].rows[0].properties));
    const AnsweredClass* empty = answers.find("Win32_Empty");
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->rows.empty());
    EXPECT_FALSE(store.loadScan("PC-A", 3));
    EXPECT_FALSE(store.loadScan("PC-C", 1));
    EXPECT_THROW(store.compare("PC-A", 1, 3), StoreError);
}

TYPED_TEST(StoreContract, TheChangeSinceThePreviousScanIsFoundAsItIsRecorded) {
    InventoryStore& store = *this->store;
    EXPECT_FALSE(store.recordScan(scanOf("PC-A", "Sound\r\n1\r\nCard A")).changes);
    const RecordedScan same = store.recordScan(scanOf("PC-A", "Sound\r\n1\r\nCard A"));
    ASSERT_TRUE(same.changes);
    EXPECT_TRUE(same.changes->empty());
    const RecordedScan other = store.recordScan(scanOf("PC-A", "Sound\r\n1\r\nCard B"));
    ASSERT_TRUE(other.changes);
    EXPECT_EQ(changeSummary(*other.changes), "Sound: 1 added, 1 removed");
    const auto scans = store.listScans("PC-A");
    ASSERT_EQ(scans.size(), 3u);
    EXPECT_EQ(scans[0].summary, "first scan");
    EXPECT_EQ(scans[1].summary, "no change");
    EXPECT_EQ(scans[2].summary, "Sound: 1 added, 1 removed");
    EXPECT_EQ(changeSummary(store.compare("PC-A", 1, 3)), "Sound: 1 added, 1 removed");
}

TYPED_TEST(StoreContract, EachNodesLastScanIsToldInOneList) {
    InventoryStore& store = *this->store;
    EXPECT_TRUE(store.lastScans().empty());
    auto later = [](CollectedScan scan, int minutes, ScanSource source) {
        scan.time += std::chrono::minutes(minutes);
        scan.source = source;
        return scan;
    };
    store.recordScan(later(scanOf("PC-B", "Sound\r\n1\r\nCard A"), 0, ScanSource::Remote));
    store.recordScan(later(scanOf("PC-A", "Sound\r\n1\r\nCard A"), 1, ScanSource::Remote));
    store.recordScan(later(scanOf("PC-A", "Sound\r\n1\r\nCard B"), 5, ScanSource::Ssh));
    // A scan that waited in a queue is recorded last with its older time: it is the last recorded.
    store.recordScan(later(scanOf("PC-B", "Sound\r\n1\r\nCard A"), -3, ScanSource::Profile));
    const auto last = store.lastScans();
    ASSERT_EQ(last.size(), 2u);
    EXPECT_EQ(last[0].node, "PC-A");
    EXPECT_EQ(last[0].info.number, 2);
    EXPECT_EQ(last[0].info.time, scanOf("", "").time + std::chrono::minutes(5));
    EXPECT_EQ(last[0].info.source, "SSH");
    EXPECT_EQ(last[0].info.summary, "Sound: 1 added, 1 removed");
    EXPECT_EQ(last[1].node, "PC-B");
    EXPECT_EQ(last[1].info.number, 2);
    EXPECT_EQ(last[1].info.source, "profile");
    EXPECT_EQ(last[1].info.summary, "no change");
}

TYPED_TEST(StoreContract, NodeNamesFromTheNetworkAreKeptAsTheyCame) {
    InventoryStore& store = *this->store;
    const std::vector<std::string> names = {
        "PC'); DROP TABLE scans; --",
        "$1 ?1 %s \\x00",
        std::string("\xff\xfe not UTF-8"),
        "B\xc3\xbcro-\xe5\x90\x8d",
        std::string(300, 'n'),
    };
    for (const auto& name : names) {
        CollectedScan scan = scanOf(name, "Sound\r\n1\r\n" + name);
        scan.address = name;
        EXPECT_EQ(store.recordScan(scan).number, 1);
    }
    auto sorted = names;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(store.nodes(), sorted);
    const auto last = store.lastScans();
    ASSERT_EQ(last.size(), names.size());
    for (std::size_t i = 0; i < sorted.size(); ++i) EXPECT_EQ(last[i].node, sorted[i]);
    for (const auto& name : names) {
        const auto loaded = store.loadScan(name, 1);
        ASSERT_TRUE(loaded);
        EXPECT_EQ(loaded->address, name);
        EXPECT_EQ(loaded->content.reportText, "Sound\r\n1\r\n" + name);
        EXPECT_EQ(store.listScans(name).size(), 1u);
    }
}

}  // namespace
