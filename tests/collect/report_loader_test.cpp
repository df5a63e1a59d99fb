#include <gtest/gtest.h>

#include <sys/stat.h>

#include <functional>
#include <random>

#include "collect/report_loader.h"
#include "support/recording_dispatch.h"
#include "support/collect_fixture.h"

using namespace vantrel;
using test::RecordingDispatch;

namespace {

const std::filesystem::path kFullReport = VANTREL_COLLECT_TEST_DATA "/office_pc.report";

// A report with every section empty except those given as keyword -> lines.
std::string report(const std::map<std::string, std::vector<std::string>>& sections, const char* eol = "\r\n") {
    std::string out;
    for (const auto& c : kCatalogue) {
        out += std::string(c.keyword) + eol;
        auto it = sections.find(std::string(c.keyword));
        if (it == sections.end()) {
            out += std::string("0") + eol;
            continue;
        }
        for (const auto& line : it->second) out += line + eol;
    }
    return out + eol;
}

std::vector<std::string> numbered(const std::string& count, const std::string& prefix, int n, int linesPerEntry = 1) {
    std::vector<std::string> out{count};
    for (int i = 1; i <= n; ++i)
        for (int l = 0; l < linesPerEntry; ++l) out.push_back(prefix + std::to_string(i) + (l ? "/" + std::to_string(l) : ""));
    return out;
}

std::vector<std::string> allBuilders() {
    std::vector<std::string> out;
    for (const auto& c : kCatalogue)
        for (int b = 0; b < c.builderCount; ++b) out.emplace_back(builderName(c.builders[b]));
    return out;
}

struct LoaderFixture : ::testing::Test {
    test::TempFolder dir;
    NodeReport nodeReport;
    RecordingDispatch dispatch;

    LoadEnd load(const std::string& content) {
        const auto file = dir.path() / "report";
        test::writeBytes(file, content);
        return loadReportFile(file, nodeReport, dispatch.table);
    }
};

}  // namespace

TEST(ParseCount, TakesTheLeadingNumberRoundedWithinSixteenBits) {
    const std::pair<const char*, std::optional<int>> cases[] = {
        {"0", 0},         {"12", 12},       {"+5", 5},         {"-1", -1},        {"2.5", 2},
        {"3.5", 4},       {"0.5", 0},       {"1e3", 1000},     {"1e", 1},         {"abc", 0},
        {"", 0},          {"12abc", 12},    {".5", 0},         {"5.", 5},         {"- 5", 0},
        {"32767", 32767}, {"32768", std::nullopt},             {"-32768", -32768}, {"-32769", -32768},
        {"32767.4", 32767}, {"32767.5", std::nullopt},         {"1e400", std::nullopt}, {"1e-400", 0},
        {"99999999999999999999", std::nullopt},                {"007", 7},
        {"-99999999999999999999", -32768},                      {"-1e400", -32768},
        {"-32768.6", -32768},
    };
    for (const auto& [line, count] : cases) EXPECT_EQ(parseCount(line), count) << '"' << line << '"';
}

TEST_F(LoaderFixture, AFullReportCallsEveryBuilderInCatalogueOrderWithItsPlacement) {
    ASSERT_EQ(loadReportFile(kFullReport, nodeReport, dispatch.table), LoadEnd::Complete);
    EXPECT_EQ(dispatch.names(), allBuilders());

    const auto& baseboard = *dispatch.find("build_baseboard");
    EXPECT_EQ(baseboard.lastEntry, 0);
    EXPECT_EQ(baseboard.rowCursor, -1);
    EXPECT_EQ(baseboard.seen[0][1], "Example Boards Inc.");  // read back without its padding

    EXPECT_EQ(dispatch.find("build_battery")->lastEntry, -1);

    const auto& disks = *dispatch.find("build_diskdrive");
    EXPECT_EQ(disks.lastEntry, 2);
    EXPECT_EQ(disks.seen[0][1], "IDE");
    EXPECT_EQ(disks.seen[10][1], "Example HD 500");
    EXPECT_EQ(disks.seen[1][1], "SCSI");
    EXPECT_EQ(disks.seen[11][1], "Example Array");
    EXPECT_EQ(disks.seen[2][1], "SATA");
    EXPECT_EQ(disks.seen[12][1], "Example SSD 1T");

    const auto& serial = *dispatch.find("build_serial");
    EXPECT_EQ(serial.seen[1][1], "Communications Port (COM2)");
    EXPECT_EQ(serial.seen[11][1], "");

    const auto& cards = *dispatch.find("build_memcard");
    EXPECT_EQ(cards.lastEntry, 0);
    EXPECT_EQ(cards.rowCursor, 0);
    EXPECT_EQ(cards.seen[0][1], "FLASH");
    EXPECT_EQ(cards.seen[10][1], "MULTI FLASH READER");

    const auto& connectors = *dispatch.find("build_connectors");
    EXPECT_EQ(connectors.lastEntry, 1);
    EXPECT_EQ(connectors.rowCursor, 1);
    EXPECT_EQ((std::array{connectors.seen[0][1], connectors.seen[10][1], connectors.seen[20][1]}),
              (std::array<std::string, 3>{"USB1", "J1", "16"}));
    EXPECT_EQ((std::array{connectors.seen[0][2], connectors.seen[10][2], connectors.seen[20][2]}),
              (std::array<std::string, 3>{"COM1", "J2", "9"}));

    for (const char* name : {"build_enclosure", "build_lock"}) {
        const auto& enclosure = *dispatch.find(name);
        EXPECT_EQ(enclosure.seen[0][1], "Chassis: Notebook (laptop)");
        EXPECT_EQ(enclosure.seen[10][1], "False");
        EXPECT_EQ(enclosure.rowCursor, -1);
    }
    const auto& wireless = *dispatch.find("build_wireless");
    EXPECT_EQ(wireless.seen[0][1], "intel(r) wireless wifi link");
    EXPECT_EQ(wireless.rowCursor, 0);
}

TEST_F(LoaderFixture, PlacementsOverwriteOnlyWhatTheyPlace) {
    nodeReport.ReportTable[10][1] = "kept";
    nodeReport.ReportTable[2][1] = "kept";
    nodeReport.ReportTable[0][3] = "kept";
    ASSERT_EQ(load(report({
                  {"Video", numbered("12", "video ", 12)},
                  {"PBattery", numbered("3", "battery ", 3)},
                  {"Enclosure", {"2", "Chassis: Desktop", "True", "Chassis: Tower", "False"}},
                  {"Wireless", numbered("2", "wireless ", 2)},
              })),
              LoadEnd::Complete);
    const auto& video = *dispatch.find("build_video");
    EXPECT_EQ(video.lastEntry, 11);
    for (int k = 0; k < 4; ++k) EXPECT_EQ(video.seen[k][1], "video " + std::to_string(k + 1));
    EXPECT_EQ(nodeReport.ReportTable[9][1], "video 10");
    EXPECT_EQ(video.seen[10][1], "kept");

    const auto& pbattery = *dispatch.find("build_pbattery");
    EXPECT_EQ(pbattery.lastEntry, 2);
    EXPECT_EQ(pbattery.seen[0][1], "battery 1");
    EXPECT_EQ(pbattery.seen[1][1], "battery 2");
    EXPECT_EQ(pbattery.seen[2][1], "video 3");  // the third battery is dropped

    const auto& lock = *dispatch.find("build_lock");
    EXPECT_EQ(lock.lastEntry, 1);
    EXPECT_EQ(lock.seen[0][1], "Chassis: Tower");
    EXPECT_EQ(lock.seen[10][1], "False");

    const auto& wireless = *dispatch.find("build_wireless");
    EXPECT_EQ(wireless.lastEntry, 1);
    EXPECT_EQ(wireless.rowCursor, 1);
    EXPECT_EQ(wireless.seen[0][1], "wireless 1");
    EXPECT_EQ(wireless.seen[0][2], "wireless 2");
    EXPECT_EQ(wireless.seen[0][3], "kept");
    const auto names = dispatch.names();
    EXPECT_EQ(std::count(names.begin(), names.end(), "build_video"), 1);
}

TEST_F(LoaderFixture, RowPlacementHoldsAtMost255Entries) {
    ASSERT_EQ(load(report({{"Memory cards", numbered("255", "card ", 255, 2)}})), LoadEnd::Complete);
    EXPECT_EQ(dispatch.find("build_memcard")->lastEntry, 254);
    EXPECT_EQ(nodeReport.ReportTable[10][255], "card 255/1");

    dispatch.calls.clear();
    ASSERT_EQ(load(report({{"Connectors", numbered("256", "port ", 256, 3)}})), LoadEnd::TooManyRows);
    EXPECT_EQ(dispatch.find("build_connectors"), nullptr);
    EXPECT_EQ(dispatch.names().back(), "build_1394");
    EXPECT_EQ(nodeReport.ReportTable[20][255], "port 255/2");
}

TEST_F(LoaderFixture, BadReportsEndOrSkipAsTheFormatSays) {
    const std::string good = report({{"Battery", {"1", "UPS"}}, {"Fan", {"1", "Cooling"}}});
    auto without = [&](const std::string& text, const std::string& cut) {
        std::string s = text;
        s.erase(s.find(cut), cut.size());
        return s;
    };
    auto replaced = [&](const std::string& text, const std::string& from, const std::string& to) {
        std::string s = text;
        s.replace(s.find(from), from.size(), to);
        return s;
    };
    auto firstBuilders = [](int n) {
        auto all = allBuilders();
        all.resize(static_cast<std::size_t>(n));
        return all;
    };
    auto allBut = [](std::initializer_list<const char*> left) {
        auto all = allBuilders();
        for (const char* l : left) all.erase(std::find(all.begin(), all.end(), l));
        return all;
    };
    struct Case {
        const char* name;
        std::string content;
        LoadEnd end;
        std::vector<std::string> builders;
    };
    const Case cases[] = {
        {"empty file", "", LoadEnd::EndedEarly, {}},
        {"ends inside an entry", good.substr(0, good.find("UPS")), LoadEnd::EndedEarly, firstBuilders(1)},
        {"ends after a keyword", good.substr(0, good.find("BIOS") + 6), LoadEnd::EndedEarly, firstBuilders(2)},
        {"no final empty line", good.substr(0, good.size() - 2), LoadEnd::Complete, allBuilders()},
        {"no line end at all after the last count", good.substr(0, good.size() - 4), LoadEnd::Complete, allBuilders()},
        {"LF only", report({{"Battery", {"1", "UPS"}}}, "\n"), LoadEnd::Complete, allBuilders()},
        {"CR only", report({{"Battery", {"1", "UPS"}}}, "\r"), LoadEnd::Complete, allBuilders()},
        {"padded keyword and count", replaced(good, "Battery\r\n1\r\n", "  Battery \r\n 1  \r\n"), LoadEnd::Complete,
         allBuilders()},
        {"keyword in another case", replaced(good, "Battery", "battery"), LoadEnd::Complete,
         allBut({"build_battery", "build_bios", "build_diskdrive", "build_fan", "build_heatpipe", "build_infrared",
                 "build_motherboard", "build_parallel", "build_pci", "build_pcmcia", "build_pointing",
                 "build_refrigeration", "build_scsi", "build_serial", "build_sound", "build_systemmemory",
                 "build_tape", "build_tempprobe", "build_video", "build_memcard", "build_cd", "build_cpu",
                 "build_floppy", "build_os", "build_keyboard", "build_usb", "build_ethernet", "build_1394",
                 "build_connectors", "build_enclosure", "build_lock", "build_pbattery", "build_wireless"})},
        {"leading empty line", "\r\n" + report({}), LoadEnd::Complete, {}},
        {"missing section", without(replaced(good, "Heat pipe\r\n0\r\nInfra red", "Heat pipe\r\n0\r\nInfra red"),
                                    "Fan\r\n1\r\nCooling\r\n"),
         LoadEnd::Complete, allBut({"build_fan", "build_heatpipe"})},
        {"count above 16 bits", replaced(good, "Battery\r\n1", "Battery\r\n32768"), LoadEnd::CountOutOfRange,
         firstBuilders(1)},
        {"count without a number", replaced(good, "Battery\r\n1\r\nUPS", "Battery\r\nnone\r\nUPS"),
         LoadEnd::Complete, firstBuilders(2)},
        {"shuffled sections", replaced(replaced(good, "BIOS", "XXXX"), "Baseboard", "BIOS"), LoadEnd::Complete,
         allBut({"build_baseboard", "build_battery", "build_bios", "build_diskdrive", "build_fan", "build_heatpipe",
                 "build_infrared", "build_motherboard", "build_parallel", "build_pci", "build_pcmcia",
                 "build_pointing", "build_refrigeration", "build_scsi", "build_serial", "build_sound",
                 "build_systemmemory", "build_tape", "build_tempprobe", "build_video", "build_memcard", "build_cd",
                 "build_cpu", "build_floppy", "build_os", "build_keyboard", "build_usb", "build_ethernet",
                 "build_1394", "build_connectors", "build_enclosure", "build_lock", "build_pbattery",
                 "build_wireless"})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        dispatch.calls.clear();
        EXPECT_EQ(load(c.content), c.end);
        EXPECT_EQ(dispatch.names(), c.builders);
    }
}

TEST_F(LoaderFixture, ANegativeOrMissingCountIsAnEmptySection) {
    for (const char* count : {"-3", "none", "0", "-40000", "-1e400"}) {
        dispatch.calls.clear();
        ASSERT_EQ(load(report({{"Battery", {count}}})), LoadEnd::Complete) << count;
        EXPECT_EQ(dispatch.find("build_battery")->lastEntry, -1) << count;
        EXPECT_EQ(dispatch.calls.size(), allBuilders().size());
    }
}

TEST_F(LoaderFixture, GarbageNeverCrashesTheLoader) {
    std::mt19937 random(7);
    for (int round = 0; round < 20; ++round) {
        std::string bytes(4096, '\0');
        for (char& b : bytes) b = static_cast<char>(random());
        // Splice real keywords and counts in, so some sections are entered.
        for (const auto& c : kCatalogue)
            if (random() % 2) bytes.insert(random() % bytes.size(), "\r\n" + std::string(c.keyword) + "\r\n300\r\n");
        dispatch.calls.clear();
        const LoadEnd end = load(bytes);
        EXPECT_NE(end, LoadEnd::NoFile);
        EXPECT_LE(dispatch.calls.size(), allBuilders().size());
    }
}

TEST_F(LoaderFixture, AFailingBuilderEndsTheLoad) {
    dispatch.table.set(BuilderId::build_bios, [](NodeReport&) { throw std::runtime_error("no part"); });
    EXPECT_EQ(load(report({})), LoadEnd::BuilderFailed);
    EXPECT_EQ(dispatch.names(), (std::vector<std::string>{"build_baseboard", "build_battery"}));
}

TEST_F(LoaderFixture, NoReportFileLoadsNothing) {
    EXPECT_EQ(loadReportFile(dir.path() / "missing", nodeReport, dispatch.table), LoadEnd::NoFile);
    EXPECT_TRUE(dispatch.calls.empty());
}

TEST_F(LoaderFixture, ACommandSaysWhyAFileIsNoReportToShow) {
    const auto file = dir.path() / "report";
    struct Case {
        const char* name;
        std::function<void()> make;
        std::optional<std::string> problem;  // "FILE" stands for the file's name
    };
    const auto content = [&](std::string bytes) { return [&, bytes] { test::writeBytes(file, bytes); }; };
    const Case cases[] = {
        {"a report", content(test::readBytes(kFullReport)), std::nullopt},
        {"an empty report of every section", content(report({})), std::nullopt},
        {"no file", [] {}, "cannot read the report FILE"},
        {"random text", content("Dear diary,\r\nBaseboard\r\n"), "FILE is not a report file"},
        {"a leading empty line", content("\r\n" + report({})), "FILE is not a report file"},
        {"an empty file", content(""), "FILE is not a report file"},
        {"binary bytes", content(std::string("\x89PNG\r\n\0\x01", 8)), "FILE is not a report file"},
        {"a FIFO", [&] { ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0); },
         "cannot read the report FILE (it is not a regular file)"},
        {"a folder", [&] { std::filesystem::create_directory(file); },
         "cannot read the report FILE (it is a folder, not a file)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(file);
        c.make();
        std::optional<std::string> expected = c.problem;
        if (expected) expected->replace(expected->find("FILE"), 4, file.string());
        EXPECT_EQ(reportFileProblem(file), expected);
    }
    // A stored node's report that is a FIFO loads nothing, at once.
    std::filesystem::remove_all(file);
    ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0);
    EXPECT_EQ(loadReportFile(file, nodeReport, dispatch.table), LoadEnd::NoFile);
    EXPECT_TRUE(dispatch.calls.empty());
}

TEST_F(LoaderFixture, MissingBuildersAreSkipped) {
    BuilderTable none;
    test::writeBytes(dir.path() / "report", report({{"Battery", {"1", "UPS"}}}));
    EXPECT_EQ(loadReportFile(dir.path() / "report", nodeReport, none), LoadEnd::Complete);
    EXPECT_EQ(nodeReport.ReportTable[0][1], "UPS");
    EXPECT_EQ(nodeReport.LastEntry, -1);  // "Wireless", the last section, is empty
}
