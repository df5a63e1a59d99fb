#include "core/settings_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "support/fake_ui.h"

namespace vantrel {
namespace {

using test::FakeUi;
using test::TempFolder;

struct SettingsFixture : ::testing::Test {
    TempFolder dir;
    FakeUi ui;
    ProgramState state{ProgramFolder(dir.path()), ui};

    void writeSettings(const std::string& bytes) { test::writeBytes(dir.path() / "vantrel.ini", bytes); }
};

TEST(SettingsNumbers, NumericValueOfALine) {
    const std::vector<std::pair<std::string, double>> cases{
        {"-10", -10}, {" 0 ", 0}, {"2.5", 2.5}, {".5", 0.5}, {"-.25", -0.25}, {"+3", 3},
        {"1 2", 12},  // spaces are removed before reading
        {"12abc", 12}, {"abc", 0}, {"", 0}, {"-", 0}, {"--1", 0}, {"1e3", 1000},
        {"inf", 0}, {"nan", 0}, {"1e999", 0}};
    for (const auto& [text, expected] : cases) EXPECT_DOUBLE_EQ(numericValue(text), expected) << '"' << text << '"';
}

TEST(SettingsNumbers, PrintFormatOfTheOldProgram) {
    EXPECT_EQ(formatPrintNumber(-10.0F), "-10 ");
    EXPECT_EQ(formatPrintNumber(0.0F), " 0 ");
    EXPECT_EQ(formatPrintNumber(-0.0F), " 0 ");
    EXPECT_EQ(formatPrintNumber(2.5F), " 2.5 ");
    EXPECT_EQ(formatPrintNumber(0.5F), " .5 ");
    EXPECT_EQ(formatPrintNumber(-0.25F), "-.25 ");
    EXPECT_EQ(formatPrintNumber(-10.3F), "-10.3 ");
    EXPECT_EQ(formatPrintNumber(std::int32_t{16777215}), " 16777215 ");
    EXPECT_EQ(formatPrintNumber(std::int32_t{-1}), "-1 ");
    // Every written camera value reads back as itself.
    for (float v : {-10.3F, 0.1F, 1234.5678F, -0.001F, 3.4e38F})
        EXPECT_EQ(static_cast<float>(numericValue(formatPrintNumber(v))), v) << v;
}

TEST_F(SettingsFixture, ReadsAllNineLinesAndWritesThemBack) {
    writeSettings("admin\r\nse cret\r\n-10 \r\n 0 \r\n 0 \r\n 0 \r\nNAME\r\n 1 \r\nroot\\cimv2\r\n");
    readSettings(state);
    EXPECT_EQ(state.defaultUser, "admin");
    EXPECT_EQ(state.defaultPassword, "se cret");
    EXPECT_EQ(state.adminDialog.Text1, "admin");
    EXPECT_EQ(state.adminDialog.Text2, "se cret");
    EXPECT_FLOAT_EQ(state.CameraZ, -10);
    EXPECT_EQ(state.NodeLabelMode, "NAME");
    EXPECT_EQ(state.settingsDialog.Check2, 1);
    EXPECT_EQ(state.settingsDialog.Check1 + state.settingsDialog.Check3, 0);
    EXPECT_EQ(state.settingsDialog.Check4, 1);
    EXPECT_EQ(state.WmiNamespace, "root\\cimv2");
    EXPECT_EQ(state.settingsDialog.Text1, "root\\cimv2");

    ASSERT_TRUE(saveini(state));
    EXPECT_EQ(test::readBytes(dir.path() / "vantrel.ini"),
              "admin\r\nse cret\r\n-10 \r\n 0 \r\n 0 \r\n 0 \r\nNAME\r\n 1 \r\nroot\\cimv2\r\n");
    struct stat st {};
    ASSERT_EQ(stat((dir.path() / "vantrel.ini").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600);
}

TEST_F(SettingsFixture, ShortOrOddFilesKeepTheStartValues) {
    struct Case {
        std::string file;
        std::string labelMode;
        int check4;
        std::string ns;
        std::int32_t colour;
    };
    const std::vector<Case> cases{
        {"", "", 0, "root\\cimv2", 0},
        {"u\r\np\r\n1\r\n2\r\n3\r\n4\r\nIP\r\n1\r\n", "IP", 1, "root\\cimv2", 4},  // 8 lines
        {"u\np\n1\n2\n3\n2.5\nname\nyes\nroot\\x\n", "name", 0, "root\\x", 2},       // LF only
        {"u\r\np\r\n1\r\n2\r\n3\r\n3.5\r\nIPNAME\r\n0\r\n\r\n", "IPNAME", 0, "", 4},
        {"u\r\np\r\n1\r\n2\r\n3\r\n2.6\r\n\r\n", "", 0, "root\\cimv2", 3},
        {"u\r\np\r\nx\r\ny\r\nz\r\n99999999999\r\n", "", 0, "root\\cimv2", 0},
        {std::string("\xff\xfe\x00\x01garbage", 12), "", 0, "root\\cimv2", 0},
    };
    for (const auto& c : cases) {
        FakeUi caseUi;
        ProgramState s{ProgramFolder(dir.path()), caseUi};
        s.settingsDialog.Check4 = 0;
        writeSettings(c.file);
        readSettings(s);
        EXPECT_EQ(s.NodeLabelMode, c.labelMode) << c.file;
        EXPECT_EQ(s.settingsDialog.Check4, c.check4) << c.file;
        EXPECT_EQ(s.WmiNamespace, c.ns) << c.file;
        EXPECT_EQ(s.BackgroundColor, c.colour) << c.file;
        // Only the exact upper-case modes tick a box.
        EXPECT_EQ(s.settingsDialog.Check1 + s.settingsDialog.Check2 + s.settingsDialog.Check3,
                  c.labelMode == "IP" || c.labelMode == "IPNAME" ? 1 : 0)
            << c.file;
    }
}

TEST_F(SettingsFixture, OtherTextOnLineEightLeavesTheCheckBoxAsItWas) {
    state.settingsDialog.Check4 = 1;
    writeSettings("a\r\nb\r\n0\r\n0\r\n0\r\n0\r\nNAME\r\n2\r\nns\r\n");
    readSettings(state);
    EXPECT_EQ(state.settingsDialog.Check4, 1);
}

TEST_F(SettingsFixture, MissingFileChangesNothingAndWritesNothing) {
    readSettings(state);
    EXPECT_EQ(state.WmiNamespace, "root\\cimv2");
    EXPECT_TRUE(state.settingsDialog.created);
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "vantrel.ini"));
}

TEST_F(SettingsFixture, Windows1252TextIsReadAsUtf8) {
    writeSettings("J\xfcrgen\r\np\xe4ss\x80\r\n");
    readSettings(state);
    EXPECT_EQ(state.defaultUser, "J\xc3\xbcrgen");
    EXPECT_EQ(state.defaultPassword, "p\xc3\xa4ss\xe2\x82\xac");
}

TEST_F(SettingsFixture, LineBreaksInsideValuesCannotShiftTheFile) {
    state.defaultUser = "evil\r\nNAME";
    state.NodeLabelMode = "IP";
    ASSERT_TRUE(saveini(state));
    FakeUi ui2;
    ProgramState again{ProgramFolder(dir.path()), ui2};
    readSettings(again);
    EXPECT_EQ(again.defaultUser, "evil  NAME");
    EXPECT_EQ(again.NodeLabelMode, "IP");
}

TEST_F(SettingsFixture, FailedWriteKeepsTheOldFile) {
    writeSettings("old\r\n");
    ProgramState elsewhere{ProgramFolder(dir.path() / "missing"), ui};
    EXPECT_FALSE(saveini(elsewhere));
    EXPECT_EQ(test::readBytes(dir.path() / "vantrel.ini"), "old\r\n");
}

}  // namespace
}  // namespace vantrel
