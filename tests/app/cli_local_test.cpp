// vantrel-cli collect and query on this computer and on a recorded machine:
// the report the loader reads whole, and a machine saved as a profile that
// stands in for it byte for byte.

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <fstream>
#include <functional>
#include <set>
#include <sstream>

#include "collect/report_loader.h"
#include "providers/linux/source_tree.h"
#include "support/fake_ui.h"
#include "support/run_program.h"
#include "support/temp_folder.h"

using namespace vantrel;

namespace {

// Runs vantrel-cli with the arguments; standard output goes to the file.
int runCli(const std::vector<std::string>& args, const std::filesystem::path& stdoutFile) {
    std::string command = test::shellQuote(VANTREL_CLI_PATH);
    for (const auto& a : args) command += " " + test::shellQuote(a);
    command += " >" + test::shellQuote(stdoutFile.string()) + " 2>/dev/null";
    const int raw = std::system(command.c_str());
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

// The value lines of a report's section (after its keyword and count).
std::vector<std::string> section(const std::string& report, const std::string& keyword, int linesPerEntry) {
    const std::string start = "\r\n" + keyword + "\r\n";
    const auto at = ("\r\n" + report).find(start);
    if (at == std::string::npos) return {};
    std::istringstream in(report.substr(at + keyword.size() + 2));
    std::string line;
    std::getline(in, line);
    const int count = std::stoi(line);
    std::vector<std::string> values;
    for (int i = 0; i < count * linesPerEntry && std::getline(in, line); ++i) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        values.push_back(line);
    }
    return values;
}

// The processor model of the first logical processor, as the kernel says it.
std::string cpuinfoModel() {
    std::ifstream in("/proc/cpuinfo");
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("model name", 0) != 0) continue;
        std::string value = line.substr(line.find(':') + 1);
        value.erase(0, value.find_first_not_of(" \t"));
        value.erase(value.find_last_not_of(" \t") + 1);
        return value;
    }
    return {};
}

int physicalPackages() {
    std::ifstream in("/proc/cpuinfo");
    std::set<std::string> ids;
    std::string line;
    while (std::getline(in, line))
        if (line.rfind("physical id", 0) == 0) ids.insert(line);
    return ids.empty() ? 1 : static_cast<int>(ids.size());
}

BuilderTable silentBuilders() {
    BuilderTable builders;
    for (std::size_t i = 0; i < kBuilderCount; ++i) builders.set(static_cast<BuilderId>(i), [](NodeReport&) {});
    return builders;
}

}  // namespace

TEST(CliLocal, CollectWritesThisComputersReportThatTheLoaderReadsWhole) {
    test::TempFolder dir;
    const auto report = dir.path() / "report";
    ASSERT_EQ(runCli({"--home", dir.path().string(), "collect", "--out", report.string()}, dir.path() / "out"), 0);
    std::string cpuName;
    BuilderTable builders = silentBuilders();
    builders.set(BuilderId::build_cpu, [&](NodeReport& r) { cpuName = r.LastEntry >= 0 ? r.ReportTable[0][1] : ""; });
    NodeReport loaded;
    EXPECT_EQ(loadReportFile(report, loaded, builders), LoadEnd::Complete);
    if (physicalPackages() == 1) {
        ASSERT_FALSE(cpuinfoModel().empty()) << "this machine's cpuinfo has no model name";
        EXPECT_EQ(cpuName, cpuinfoModel());
    } else {
        EXPECT_EQ(section(test::readBytes(report), "CPU", 1), std::vector<std::string>{});
    }
    std::ifstream osRelease("/etc/os-release");
    if (osRelease) {
        EXPECT_EQ(section(test::readBytes(report), "OS", 1).size(), 1u);
    }
    // Every disk and wired adapter with a device behind it is in the report
    // (virtio ones included): a report saying this computer has none is wrong.
    const auto withDevice = [](const char* folder, const std::function<bool(const std::filesystem::path&)>& counts) {
        int n = 0;
        std::error_code ec;
        for (const auto& e : std::filesystem::directory_iterator(folder, ec))
            if (std::filesystem::exists(e.path() / "device") && counts(e.path())) ++n;
        return n;
    };
    const auto text = [](const std::filesystem::path& file) {
        std::ifstream in(file);
        std::string value;
        std::getline(in, value);
        return value;
    };
    const int disks = withDevice("/sys/block", [&](const std::filesystem::path& p) {
        const std::string name = p.filename().string();
        const std::string device = std::filesystem::canonical(p / "device").string();
        return name.rfind("sr", 0) != 0 && name.rfind("fd", 0) != 0 && text(p / "device" / "type") != "5" &&
               device.find("/usb") == std::string::npos && name.find("boot") == std::string::npos &&
               name.find("rpmb") == std::string::npos;
    });
    const int wired = withDevice("/sys/class/net", [&](const std::filesystem::path& p) {
        return text(p / "type") == "1" && !std::filesystem::exists(p / "wireless") &&
               !std::filesystem::exists(p / "phy80211");
    });
    EXPECT_EQ(static_cast<int>(section(test::readBytes(report), "Disk Drive", 2).size()), 2 * disks);
    EXPECT_EQ(static_cast<int>(section(test::readBytes(report), "Ethernet", 1).size()), wired);
}

TEST(CliLocal, ARecordedMachineUnderARoot) {
    const auto fixtures = linuxhost::testing::sharedFixtures();
    if (fixtures.empty()) GTEST_SKIP() << "shared fixtures are absent";
    linuxhost::testing::SourceTree tree;
    tree.unpackTtar(test::readBytes(fixtures / "sysfs" / "prometheus_procfs_fixtures.ttar"));
    test::TempFolder dir;
    const auto report = dir.path() / "report";
    ASSERT_EQ(runCli({"--home", dir.path().string(), "collect", "--root", (tree.root() / "fixtures").string(), "--out",
                      report.string()},
                     dir.path() / "out"),
              0);
    const std::string text = test::readBytes(report);
    EXPECT_EQ(section(text, "Baseboard", 1), std::vector<std::string>{"Dell Inc."});
    EXPECT_EQ(section(text, "BIOS", 2), (std::vector<std::string>{"2.2.4", "Dell Inc."}));
    EXPECT_EQ(section(text, "CPU", 1), std::vector<std::string>{"Intel(R) Core(TM) i7-8650U CPU @ 1.90GHz"});
    EXPECT_EQ(section(text, "Enclosure", 2), (std::vector<std::string>{"Chassis: Rack Mount Chassis", ""}));
    EXPECT_EQ(section(text, "PBattery", 1), std::vector<std::string>{"Portable Battery"});
    EXPECT_EQ(section(text, "Tape", 1).size(), 1u);
}

TEST(CliLocal, AMachineSavedAsAProfileStandsInForIt) {
    test::TempFolder dir;
    const auto profile = dir.path() / "this.json";
    ASSERT_EQ(runCli({"query", "--all"}, profile), 0);
    const auto direct = dir.path() / "direct", viaProfile = dir.path() / "via-profile";
    ASSERT_EQ(runCli({"--home", dir.path().string(), "collect", "--out", direct.string()}, dir.path() / "out"), 0);
    ASSERT_EQ(runCli({"--home", dir.path().string(), "collect", "--profile", profile.string(), "--out",
                      viaProfile.string()},
                     dir.path() / "out"),
              0);
    EXPECT_EQ(test::readBytes(viaProfile), test::readBytes(direct));
}

TEST(CliLocal, QueryPrintsOneClassOrRefuses) {
    test::TempFolder dir;
    const auto out = dir.path() / "out";
    ASSERT_EQ(runCli({"query", "select name, manufacturer FROM Win32_Processor"}, out), 0);
    const std::string json = test::readBytes(out);
    EXPECT_NE(json.find("\"Win32_Processor\""), std::string::npos) << json;
    EXPECT_NE(json.find("\"manufacturer\""), std::string::npos) << json;
    EXPECT_EQ(json.find("NumberOfCores"), std::string::npos) << "only the selected properties";
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"query", "Select Name From Win32_Printer"},
          std::vector<std::string>{"query", "Select Name"}, std::vector<std::string>{"query"},
          std::vector<std::string>{"query", "--all", "Select Name From Win32_Fan"}}) {
        SCOPED_TRACE(args.back());
        EXPECT_EQ(runCli(args, out), 1);
    }
}
