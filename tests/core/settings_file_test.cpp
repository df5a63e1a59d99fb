#include "core/settings_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "support/fake_ui.h"
#include "support/temp_folder.h"

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
    loadSettings(state);
    EXPECT_EQ(state.domain.settings.defaultUser, "admin");
    EXPECT_EQ(state.domain.settings.defaultPassword, "se cret");
    EXPECT_EQ(state.windows.adminDialog.userField, "admin");
    EXPECT_EQ(state.windows.adminDialog.passwordField, "se cret");
    EXPECT_FLOAT_EQ(state.domain.settings.cameraZ, -10);
    EXPECT_EQ(state.domain.settings.nodeLabelMode.text(), "NAME");
    EXPECT_EQ(state.windows.settingsDialog.nameLabelChecked, 1);
    EXPECT_EQ(state.windows.settingsDialog.ipLabelChecked + state.windows.settingsDialog.ipNameLabelChecked, 0);
    EXPECT_EQ(state.domain.settings.showPasswords, 1);
    EXPECT_EQ(state.domain.settings.wmiNamespace, "root\\cimv2");
    EXPECT_EQ(state.windows.settingsDialog.namespaceField, "root\\cimv2");

    ASSERT_TRUE(saveSettings(state));
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
        {"", "IPNAME", 0, "root\\cimv2", 0},  // no mode chosen yet: name and address
        {"u\r\np\r\n1\r\n2\r\n3\r\n4\r\nIP\r\n1\r\n", "IP", 1, "root\\cimv2", 4},  // 8 lines
        {"u\np\n1\n2\n3\n2.5\nname\nyes\nroot\\x\n", "name", 0, "root\\x", 2},       // LF only
        {"u\r\np\r\n1\r\n2\r\n3\r\n3.5\r\nIPNAME\r\n0\r\n\r\n", "IPNAME", 0, "", 4},
        {"u\r\np\r\n1\r\n2\r\n3\r\n2.6\r\n\r\n", "IPNAME", 0, "root\\cimv2", 3},
        {"u\r\np\r\nx\r\ny\r\nz\r\n99999999999\r\n", "IPNAME", 0, "root\\cimv2", 0},
        {std::string("\xff\xfe\x00\x01garbage", 12), "IPNAME", 0, "root\\cimv2", 0},
    };
    for (const auto& c : cases) {
        FakeUi caseUi;
        ProgramState s{ProgramFolder(dir.path()), caseUi};
        s.domain.settings.showPasswords = 0;
        writeSettings(c.file);
        loadSettings(s);
        EXPECT_EQ(s.domain.settings.nodeLabelMode.text(), c.labelMode) << c.file;
        EXPECT_EQ(s.domain.settings.showPasswords, c.check4) << c.file;
        EXPECT_EQ(s.domain.settings.wmiNamespace, c.ns) << c.file;
        EXPECT_EQ(s.domain.settings.backgroundColor, c.colour) << c.file;
        // Only the exact upper-case modes tick a box.
        EXPECT_EQ(s.windows.settingsDialog.ipLabelChecked + s.windows.settingsDialog.nameLabelChecked +
                      s.windows.settingsDialog.ipNameLabelChecked,
                  c.labelMode == "IP" || c.labelMode == "IPNAME" ? 1 : 0)
            << c.file;
    }
}

TEST_F(SettingsFixture, OtherTextOnLineEightLeavesTheCheckBoxAsItWas) {
    state.domain.settings.showPasswords = 1;
    writeSettings("a\r\nb\r\n0\r\n0\r\n0\r\n0\r\nNAME\r\n2\r\nns\r\n");
    loadSettings(state);
    EXPECT_EQ(state.domain.settings.showPasswords, 1);
}

TEST_F(SettingsFixture, MissingFileChangesNothingAndWritesNothing) {
    loadSettings(state);
    EXPECT_EQ(state.domain.settings.wmiNamespace, "root\\cimv2");
    // A first start labels nodes by name and address, and the dialog shows it.
    EXPECT_EQ(state.domain.settings.nodeLabelMode, NodeLabelMode::IpName);
    EXPECT_TRUE(state.windows.settingsDialog.ipNameLabelChecked);
    EXPECT_FALSE(state.windows.settingsDialog.ipLabelChecked || state.windows.settingsDialog.nameLabelChecked);
    EXPECT_TRUE(state.windows.settingsDialog.created);
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "vantrel.ini"));
}

TEST_F(SettingsFixture, Windows1252TextIsReadAsUtf8) {
    writeSettings("J\xfcrgen\r\np\xe4ss\x80\r\n");
    loadSettings(state);
    EXPECT_EQ(state.domain.settings.defaultUser, "J\xc3\xbcrgen");
    EXPECT_EQ(state.domain.settings.defaultPassword, "p\xc3\xa4ss\xe2\x82\xac");
}

TEST_F(SettingsFixture, LineBreaksInsideValuesCannotShiftTheFile) {
    state.domain.settings.defaultUser = "evil\r\nNAME";
    state.domain.settings.nodeLabelMode = NodeLabelMode::Ip;
    ASSERT_TRUE(saveSettings(state));
    FakeUi ui2;
    ProgramState again{ProgramFolder(dir.path()), ui2};
    loadSettings(again);
    EXPECT_EQ(again.domain.settings.defaultUser, "evil  NAME");
    EXPECT_EQ(again.domain.settings.nodeLabelMode.text(), "IP");
}

TEST_F(SettingsFixture, ASettingsFileKeptElsewhereThroughALinkStaysThere) {
    TempFolder elsewhere;
    const auto kept = elsewhere.path() / "my-vantrel.ini";
    test::writeBytes(kept, "admin\r\n");
    std::filesystem::create_symlink(kept, dir.path() / "vantrel.ini");
    loadSettings(state);
    EXPECT_EQ(state.domain.settings.defaultUser, "admin");
    state.domain.settings.defaultUser = "changed";
    ASSERT_TRUE(saveSettings(state));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.path() / "vantrel.ini"));
    EXPECT_EQ(test::readBytes(kept).substr(0, 9), "changed\r\n");
}

TEST_F(SettingsFixture, FailedWriteKeepsTheOldFile) {
    writeSettings("old\r\n");
    ProgramState elsewhere{ProgramFolder(dir.path() / "missing"), ui};
    EXPECT_FALSE(saveSettings(elsewhere));
    EXPECT_EQ(test::readBytes(dir.path() / "vantrel.ini"), "old\r\n");
}

}  // namespace
}  // namespace vantrel
