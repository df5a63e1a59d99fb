// Collections recorded in the store, through the collection run: the answers
// behind each report are kept, identical scans add no content, and a
// service visit (a module out, a disk swapped, a card in) shows as exactly
// those changes. The report file stays what it is without the store.

#include <gtest/gtest.h>

#include "collect/collection_run.h"
#include "collect/identity_queries.h"
#include "store/home_store.h"
#include "support/collect_fixture.h"
#include "support/workstation_profiles.h"

using namespace vantrel;

namespace {

struct HistoryFixture : ::testing::Test {
    test::TempFolder home;
    test::NodeFixture f{home.path()};
    std::vector<std::string> notices;

    HistoryFixture() { f.state.domain.currentLogin = CurrentLogin{"10.0.0.7", "admin", "secret"}; }

    void keepHistory() {
        f.session.recorder = std::make_shared<HomeStoreRecorder>(
            f.state.folder, [this](const std::string& why) { notices.push_back(why); });
    }
    void collect(const std::filesystem::path& profile) {
        f.session.provider = test::profileProviderFromFile(profile);
        ASSERT_TRUE(CollectHardware(f.state, f.session));
    }
    std::unique_ptr<SqliteInventoryStore> store() { return openHomeStore(f.state.folder); }
};

std::vector<std::string> names(const std::vector<Component>& parts) {
    std::vector<std::string> out;
    for (const auto& p : parts) out.push_back(p.name);
    return out;
}

TEST_F(HistoryFixture, AServiceVisitShowsAsExactlyItsChanges) {
    keepHistory();
    collect(test::workstationProfile());
    collect(test::workstationProfile());
    collect(test::writeChangedWorkstation(home.path()));
    auto s = store();
    const auto scans = s->listScans("LAB-07");
    ASSERT_EQ(scans.size(), 3u);
    EXPECT_EQ(scans[0].summary, "first scan");
    EXPECT_EQ(scans[1].summary, "no change");
    EXPECT_EQ(scans[2].summary, "Disk Drive: 1 added, 1 removed; Memory: 1 removed; Video: 1 added");
    EXPECT_EQ(scans[2].source, "WS-Management");

    const ScanChanges changes = s->compare("LAB-07", 2, 3);
    ASSERT_EQ(changes.categories.size(), 3u);
    const auto& disk = changes.categories[0];
    EXPECT_EQ(disk.category, "Disk Drive");
    EXPECT_EQ(names(disk.removed), std::vector<std::string>{"Example HD 4T 4 TB (serial HD-B2)"});
    EXPECT_EQ(names(disk.added), std::vector<std::string>{"Example HD 4T 4 TB (serial HD-C3)"});
    EXPECT_TRUE(disk.changed.empty());
    const auto& memory = changes.categories[1];
    EXPECT_EQ(memory.category, "Memory");
    EXPECT_EQ(names(memory.removed),
              std::vector<std::string>{"DIMM 2: 8 GiB Example Memory EXM-8G (serial M-0002)"});
    EXPECT_TRUE(memory.added.empty() && memory.changed.empty());
    const auto& video = changes.categories[2];
    EXPECT_EQ(video.category, "Video");
    EXPECT_EQ(names(video.added), std::vector<std::string>{"Example Graphics 500 4 GiB"});
    EXPECT_TRUE(video.removed.empty() && video.changed.empty());
    EXPECT_TRUE(notices.empty());
}

TEST_F(HistoryFixture, IdenticalScansAddNoContent) {
    keepHistory();
    collect(test::workstationProfile());
    const std::int64_t after1 = store()->contentCount();
    EXPECT_EQ(after1, 2);  // one report text, one set of answers
    collect(test::workstationProfile());
    collect(test::workstationProfile());
    auto s = store();
    EXPECT_EQ(s->contentCount(), after1);
    EXPECT_EQ(s->listScans("LAB-07").size(), 3u);
}

TEST_F(HistoryFixture, TheReportIsTheSameWithOrWithoutTheStore) {
    collect(test::workstationProfile());
    const std::string without = test::readBytes(home.path() / "LAB-07" / "report");
    keepHistory();
    collect(test::workstationProfile());
    EXPECT_EQ(test::readBytes(home.path() / "LAB-07" / "report"), without);
    // The identity answers went to the store only.
    EXPECT_EQ(without.find("M-0001"), std::string::npos);
    const auto scan = store()->loadScan("LAB-07", 2);  // 1: the report taken in at the store's start
    ASSERT_TRUE(scan);
    EXPECT_EQ(scan->content.reportText + "\r\n", without);
    const AnsweredClass* memory = scan->content.answers.find("win32_physicalmemory");
    ASSERT_NE(memory, nullptr);
    ASSERT_EQ(memory->rows.size(), 2u);
    // The report's own query and the identity query meet in one row per module.
    const auto& row = memory->rows[1].properties;
    auto value = [&](std::string_view name) {
        for (const auto& [n, v] : row)
            if (n == name) return v;
        return wbem::Value();
    };
    EXPECT_EQ(value("FormFactor"), wbem::Value::integer(8));
    EXPECT_EQ(value("SerialNumber"), wbem::Value::text("M-0002"));
}

TEST_F(HistoryFixture, WithoutARecorderNothingMoreIsAsked) {
    auto counting = std::make_shared<test::FailingProvider>(test::profileProviderFromFile(test::workstationProfile()),
                                                            -1, test::FailingProvider::Step::Connect);
    f.session.provider = counting;
    ASSERT_TRUE(CollectHardware(f.state, f.session));
    const std::size_t plain = counting->queries.size();
    f.session.provider = counting;
    keepHistory();
    ASSERT_TRUE(CollectHardware(f.state, f.session));
    EXPECT_EQ(counting->queries.size() - plain, plain + kIdentityQueries.size());
}

}  // namespace
