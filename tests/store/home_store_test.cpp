// The folder's store as the programs keep it: a store that cannot be opened
// or written is told once and never throws into a scan; a change reaches
// the listener with both scans named.

#include <gtest/gtest.h>

#include "store/home_store.h"
#include "support/temp_folder.h"

using namespace vantrel;

namespace {

CollectedScan scanOf(const std::string& report) {
    CollectedScan scan;
    scan.node = "PC-A";
    scan.address = "10.0.0.9";
    scan.time = std::chrono::system_clock::now();
    scan.reportText = report;
    return scan;
}

TEST(HomeStoreRecorder, AStoreThatCannotBeUsedIsToldOnceAndCostsNoScan) {
    struct Case {
        const char* what;
        void (*spoil)(const std::filesystem::path&);
    };
    const Case cases[] = {
        {"no database", [](const std::filesystem::path& f) { test::writeBytes(f, std::string(8192, '\x7f')); }},
        {"a folder in its place", [](const std::filesystem::path& f) { std::filesystem::create_directory(f); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        test::TempFolder home;
        const ProgramFolder folder(home.path());
        c.spoil(inventoryFile(folder));
        std::vector<std::string> notices;
        HomeStoreRecorder recorder(folder, [&](const std::string& why) { notices.push_back(why); });
        recorder.record(scanOf("one"));
        recorder.record(scanOf("two"));
        ASSERT_EQ(notices.size(), 1u);
        EXPECT_NE(notices[0].find("The scan history is not kept ("), std::string::npos) << notices[0];
    }
}

TEST(HomeStoreRecorder, AChangeIsHeardWithBothScans) {
    test::TempFolder home;
    std::vector<HardwareChange> heard;
    HomeStoreRecorder recorder(ProgramFolder(home.path()), {}, [&](const HardwareChange& c) { heard.push_back(c); });
    recorder.record(scanOf("Sound\r\n1\r\nCard A"));
    recorder.record(scanOf("Sound\r\n1\r\nCard A"));
    EXPECT_TRUE(heard.empty());  // a first scan and an unchanged one change nothing
    recorder.record(scanOf("Sound\r\n1\r\nCard B"));
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_EQ(heard[0].header.node, "PC-A");
    EXPECT_EQ(heard[0].header.older.number, 2);
    EXPECT_EQ(heard[0].header.newer.number, 3);
    EXPECT_EQ(heard[0].header.newer.summary, "Sound: 1 added, 1 removed");
}

}  // namespace
