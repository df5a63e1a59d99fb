#include <gtest/gtest.h>

#include "collect/collection_run.h"
#include "collect/connection.h"
#include "support/collect_fixture.h"

using namespace vantrel;
using test::FailingProvider;
using test::NodeFixture;

namespace {

const std::filesystem::path kProfile = VANTREL_COLLECT_TEST_DATA "/office_pc.json";
const std::filesystem::path kExpected = VANTREL_COLLECT_TEST_DATA "/office_pc.report";

struct RunFixture : ::testing::Test {
    test::TempFolder home;
    NodeFixture f{home.path()};
    std::filesystem::path report() const { return home.path() / "LAB-07" / "report"; }

    void SetUp() override {
        f.session.provider = test::profileProviderFromFile(kProfile);
        f.state.domain.currentLogin = CurrentLogin{"10.0.0.7", "admin", "secret"};
    }
    void failAt(int connection, FailingProvider::Step step, int rowsBeforeFailure = 0) {
        auto failing = std::make_shared<FailingProvider>(f.session.provider, connection, step);
        failing->rowsBeforeFailure = rowsBeforeFailure;
        f.session.provider = failing;
    }
};

}  // namespace

TEST_F(RunFixture, WritesTheReportByteForByteWithProgressAndStatusInOrder) {
    ASSERT_TRUE(CollectHardware(f.state, f.session));
    EXPECT_EQ(test::readBytes(report()), test::readBytes(kExpected));
    EXPECT_EQ(f.node().scanStatus, ScanStatus::Scanned);

    ASSERT_EQ(f.statuses.size(), 34u);
    for (std::size_t k = 0; k < kCatalogue.size(); ++k) {
        EXPECT_EQ(f.statuses[k], std::string(kCatalogue[k].statusPhrase) + "10.0.0.7");
        EXPECT_EQ(f.widths[k], k + 1 == kCatalogue.size() ? 8460 : 250 * static_cast<int>(k + 1));
    }
    EXPECT_EQ(f.statuses.back(), "Hardware data collected for 10.0.0.7");
    EXPECT_EQ(f.ui.eventRuns, 2);  // after the last two collectors
}

TEST_F(RunFixture, ASecondRunReplacesTheWholeReport) {
    ASSERT_TRUE(CollectHardware(f.state, f.session));
    f.session.provider = test::profileProvider(R"({ "namespaces": { "root\\cimv2": {} } })");
    f.state.domain.currentLogin = CurrentLogin{"10.0.0.7", "", ""};
    ASSERT_TRUE(CollectHardware(f.state, f.session));
    std::string expected;
    for (const auto& c : kCatalogue) expected += std::string(c.keyword) + "\r\n0\r\n";
    EXPECT_EQ(test::readBytes(report()), expected + "\r\n");
}

TEST_F(RunFixture, ANodeThatCannotBeReachedEndsTheRunAndKeepsTheOldReport) {
    std::filesystem::create_directory(home.path() / "LAB-07");
    test::writeBytes(report(), "old report\r\n");
    f.node().scanStatus = ScanStatus::NotScanned;
    f.session.provider = test::profileProviderFromFile(kProfile);
    failAt(5, FailingProvider::Step::Connect);
    EXPECT_THROW(CollectHardware(f.state, f.session), WmiError);
    EXPECT_EQ(test::readBytes(report()), "old report\r\n");
    EXPECT_EQ(f.node().scanStatus, ScanStatus::NotScanned);
    EXPECT_EQ(f.state.windows.scanDialog.statusText, "Collecting Fan information for 10.0.0.7");
    EXPECT_EQ(f.state.windows.scanDialog.progressWidth, 1250);
}

TEST_F(RunFixture, AClassThatFailsOnlyEmptiesItsSectionAndTheRunGoesOn) {
    // A quota fault on the Fan query (category 5): its section is empty, every other is filled.
    failAt(5, FailingProvider::Step::Query);
    ASSERT_TRUE(CollectHardware(f.state, f.session));
    const std::string written = test::readBytes(report());
    EXPECT_NE(written.find("Fan\r\n0\r\n"), std::string::npos);
    EXPECT_NE(written.find("Disk Drive\r\n3\r\n"), std::string::npos);
    EXPECT_EQ(f.node().scanStatus, ScanStatus::Scanned);
}

TEST_F(RunFixture, AFailedMotherboardQueryOnlyEmptiesItsSection) {
    failAt(8, FailingProvider::Step::Query);
    ASSERT_TRUE(CollectHardware(f.state, f.session));
    EXPECT_NE(test::readBytes(report()).find("Motherboard\r\n0\r\nParallel\r\n"), std::string::npos);
}

TEST_F(RunFixture, AnEnumerationFailureKeepsTheRowsTakenBeforeIt) {
    failAt(4, FailingProvider::Step::Enumerate, 1);  // Disk Drive: the IDE disk, then a failure
    ASSERT_TRUE(CollectHardware(f.state, f.session));
    EXPECT_NE(test::readBytes(report()).find("Disk Drive\r\n1\r\nIDE\r\nExample HD 500\r\nFan\r\n"), std::string::npos);
}

TEST_F(RunFixture, TheRunConnectsOncePerCategoryAndTwiceForTheProcessor) {
    auto counting = std::make_shared<FailingProvider>(f.session.provider, 0, FailingProvider::Step::Connect);
    f.session.provider = counting;
    ASSERT_TRUE(CollectHardware(f.state, f.session));
    EXPECT_EQ(counting->connections, 34);
    ASSERT_EQ(counting->queries.size(), 34u);
    EXPECT_EQ(counting->queries[22], "Select NumberOfProcessors From Win32_ComputerSystem");
    EXPECT_EQ(counting->queries[23], "Select Manufacturer,Name From Win32_Processor");
}

TEST_F(RunFixture, AReportThatCannotBeWrittenIsNotReportedAsWritten) {
    struct Case {
        const char* name;
        std::function<void()> arrange;
    };
    const Case cases[] = {
        {"unsafe node name", [&] { f.node().name = "../escape"; }},
        {"no node name", [&] { f.node().name = ""; }},
        {"a file where the folder should be", [&] { test::writeBytes(home.path() / "LAB-07", "x"); }},
        {"a folder where the report should be",
         [&] { std::filesystem::create_directories(home.path() / "LAB-07" / "report" / "x"); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(home.path() / "LAB-07");
        f.node().name = "LAB-07";
        f.node().scanStatus = ScanStatus::AccessDenied;
        c.arrange();
        EXPECT_FALSE(CollectHardware(f.state, f.session));
        EXPECT_EQ(f.node().scanStatus, ScanStatus::AccessDenied);
        EXPECT_EQ(f.state.windows.scanDialog.statusText, "Unable to write the hardware report for 10.0.0.7");
        EXPECT_FALSE(std::filesystem::exists(home.path().parent_path() / "escape"));
    }
}

TEST_F(RunFixture, NoEarlierNodeLeaksIntoTheReport) {
    f.session.ReportText = "Stale\r\n";
    f.session.SectionLines = "stale\r\n";
    ASSERT_TRUE(CollectHardware(f.state, f.session));
    EXPECT_EQ(test::readBytes(report()), test::readBytes(kExpected));
}
