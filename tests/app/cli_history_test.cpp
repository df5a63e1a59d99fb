// vantrel-cli scan, history and diff on a real program folder: every scan is
// kept, a service visit shows as exactly its changes (and reaches the change
// command), the report taken in at the store's start is the first scan, and
// a store that cannot be used (damaged, read-only, on a full disk) costs
// neither the scan nor the report.

#include <unistd.h>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "support/run_program.h"
#include "support/workstation_profiles.h"

using namespace vantrel;

namespace {

const std::string kSettings = "admin\r\nsecret\r\n0\r\n0\r\n0\r\n0\r\nNAME\r\n0\r\nroot\\cimv2\r\n";
const std::string kTable = "WS-7\r\n10.213.9.7\r\nWorkstation\r\nTrue\r\n\r\n\r\nScanned\r\n"
                           "WS-8\r\n10.213.9.8\r\nWS-8\r\nTrue\r\n\r\n\r\nFalse\r\n";

struct HistoryCli : ::testing::Test {
    test::TempFolder home;
    test::TempFolder io;

    void SetUp() override {
        test::writeBytes(home.path() / "vantrel.ini", kSettings);
        test::writeBytes(home.path() / "lg.ini", kTable);
    }
    test::ProgramRun cli(std::vector<std::string> args) {
        args.insert(args.begin(), {"--home", home.path().string()});
        return test::runProgram(VANTREL_CLI_PATH, args, io.path());
    }
    test::ProgramRun scan(const std::filesystem::path& profile, std::vector<std::string> more = {}) {
        std::vector<std::string> args{"scan", "--node", "WS-7", "--profile", profile.string()};
        args.insert(args.end(), more.begin(), more.end());
        return cli(args);
    }
    std::vector<std::string> historyColumn(const std::string& out, int column) {
        std::vector<std::string> values;
        std::istringstream lines(out);
        for (std::string line; std::getline(lines, line);) {
            std::istringstream fields(line);
            std::string field;
            for (int i = 0; i <= column; ++i) std::getline(fields, field, '\t');
            values.push_back(field);
        }
        return values;
    }
};

std::vector<std::string> namesOf(const nlohmann::json& parts) {
    std::vector<std::string> names;
    for (const auto& p : parts) names.push_back(p["name"]);
    return names;
}

TEST_F(HistoryCli, AServiceVisitShowsAsExactlyItsChangesInHistoryDiffAndTheChangeCommand) {
    const auto hook = io.path() / "change.json";
    const std::string onChange = "cat > '" + hook.string() + "'";
    ASSERT_EQ(scan(test::workstationProfile(), {"--on-change", onChange}).status, 0);
    ASSERT_EQ(scan(test::workstationProfile(), {"--on-change", onChange}).status, 0);
    EXPECT_FALSE(std::filesystem::exists(hook));  // nothing changed yet
    const auto changed = scan(test::writeChangedWorkstation(io.path()), {"--on-change", onChange});
    ASSERT_EQ(changed.status, 0) << changed.err;
    EXPECT_EQ(changed.err, "");

    const auto history = cli({"history", "ws-7"});
    ASSERT_EQ(history.status, 0) << history.err;
    EXPECT_EQ(historyColumn(history.out, 0), (std::vector<std::string>{"1", "2", "3"}));
    EXPECT_EQ(historyColumn(history.out, 2), (std::vector<std::string>{"profile", "profile", "profile"}));
    EXPECT_EQ(historyColumn(history.out, 3),
              (std::vector<std::string>{"first scan", "no change",
                                        "Disk Drive: 1 added, 1 removed; Memory: 1 removed; Video: 1 added"}));

    const auto diff = cli({"diff", "--json", "WS-7"});
    ASSERT_EQ(diff.status, 0) << diff.err;
    const auto json = nlohmann::json::parse(diff.out);
    EXPECT_EQ(json["node"], "WS-7");
    EXPECT_EQ(json["address"], "10.213.9.7");
    EXPECT_EQ(json["from"]["scan"], 2);
    EXPECT_EQ(json["to"]["scan"], 3);
    const auto& changes = json["changes"];
    ASSERT_EQ(changes.size(), 3u);
    EXPECT_EQ(changes[0]["category"], "Disk Drive");
    EXPECT_EQ(changes[0]["removed"][0]["details"]["Model"], "Example HD 4T");
    EXPECT_EQ(changes[0]["removed"][0]["key"], "serial HD-B2");
    EXPECT_EQ(changes[0]["added"][0]["key"], "serial HD-C3");
    EXPECT_EQ(changes[1]["category"], "Memory");
    EXPECT_TRUE(changes[1]["added"].empty());
    EXPECT_EQ(changes[1]["removed"][0]["key"], "serial M-0002");
    EXPECT_EQ(changes[2]["category"], "Video");
    EXPECT_EQ(namesOf(changes[2]["added"]), std::vector<std::string>{"Example Graphics 500 4 GiB"});
    for (const auto& c : changes) EXPECT_TRUE(c["changed"].empty()) << c["category"];
    // The change command got the same change on its standard input.
    EXPECT_EQ(test::readBytes(hook), diff.out);

    const auto text = cli({"diff", "WS-7", "1", "3"});
    ASSERT_EQ(text.status, 0) << text.err;
    EXPECT_NE(text.out.find("WS-7: scan 1 ("), std::string::npos);
    EXPECT_NE(text.out.find("Memory\n  - removed: DIMM 2: 8 GiB Example Memory EXM-8G (serial M-0002)\n"), std::string::npos) << text.out;
    EXPECT_EQ(cli({"diff", "WS-7", "1", "2"}).out.substr(cli({"diff", "WS-7", "1", "2"}).out.find('\n') + 1),
              "No change.\n");
}

TEST_F(HistoryCli, WrongNodesAndScansAreNamed) {
    ASSERT_EQ(scan(test::workstationProfile()).status, 0);
    const struct {
        std::vector<std::string> args;
        std::string error;
    } cases[] = {
        {{"history", "NOBODY"}, "vantrel-cli history: no scans of NOBODY\n"},
        {{"diff", "NOBODY"}, "vantrel-cli diff: no scans of NOBODY\n"},
        {{"diff", "WS-7"}, "vantrel-cli diff: WS-7 has one scan only: nothing to compare it with\n"},
        {{"diff", "WS-7", "1", "7"}, "vantrel-cli diff: WS-7 has no scan 7\n"},
        {{"diff", "WS-7", "last week"}, "vantrel-cli diff: WS-7 has no scan last week\n"},
    };
    for (const auto& c : cases) {
        const auto run = cli(c.args);
        EXPECT_EQ(run.status, 1) << c.args[0];
        EXPECT_EQ(run.err, c.error);
    }
}

TEST_F(HistoryCli, AReportOnDiskIsTheFirstScanAndParallelScansAreAllKept) {
    std::filesystem::create_directory(home.path() / "WS-7");
    test::writeBytes(home.path() / "WS-7" / "report", "Baseboard\r\n1\r\nOld Boards Ltd.\r\n\r\n");
    const auto run = cli({"scan", "--all", "--parallel", "2", "--profile", test::workstationProfile().string()});
    ASSERT_EQ(run.status, 0) << run.err;
    const auto ws7 = cli({"history", "WS-7"});
    EXPECT_EQ(historyColumn(ws7.out, 2), (std::vector<std::string>{"imported report", "profile"}));
    EXPECT_EQ(historyColumn(cli({"history", "WS-8"}).out, 3), std::vector<std::string>{"first scan"});
    EXPECT_NE(cli({"diff", "WS-7"}).out.find("  - removed: Old Boards Ltd.\n"), std::string::npos);
}

// A store that cannot be used: one message, the scan and its report as always.
void expectScanWithoutHistory(HistoryCli& t, const std::function<test::ProgramRun()>& scanOnce) {
    const auto run = scanOnce();
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "WS-7\tScanned\n");
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    EXPECT_EQ(run.err.rfind("vantrel-cli scan: The scan history is not kept (", 0), 0u) << run.err;
    EXPECT_NE(run.err.find("); the reports are written as before\n"), std::string::npos) << run.err;
    EXPECT_NE(test::readBytes(t.home.path() / "WS-7" / "report").find("Example Boards Inc."), std::string::npos);
}

TEST_F(HistoryCli, ACorruptStoreCostsNoScan) {
    test::writeBytes(home.path() / "inventory.db", std::string(8192, '\x5a'));
    expectScanWithoutHistory(*this, [&] { return scan(test::workstationProfile()); });
    EXPECT_EQ(test::readBytes(home.path() / "inventory.db"), std::string(8192, '\x5a'));
}

TEST_F(HistoryCli, AReadOnlyStoreCostsNoScan) {
    ASSERT_EQ(scan(test::workstationProfile()).status, 0);  // the store exists, with one scan
    const auto db = home.path() / "inventory.db";
    std::vector<std::string> args{"--home", home.path().string(), "scan", "--node", "WS-7", "--profile",
                                  test::writeChangedWorkstation(io.path()).string()};
    if (geteuid() == 0) {
        // Root writes through file modes: the store goes read-only by a
        // read-only mount of its file, in a mount namespace of its own.
        const std::string script = "mount --bind \"$1\" \"$1\" && mount -o remount,bind,ro \"$1\" && shift && exec \"$@\"";
        std::vector<std::string> full{"--mount", "--propagation", "private", "sh", "-c", script, "sh", db.string(),
                                      VANTREL_CLI_PATH};
        full.insert(full.end(), args.begin(), args.end());
        const auto probe = test::runProgram("unshare", {"--mount", "--propagation", "private", "true"}, io.path());
        if (probe.status != 0) GTEST_SKIP() << "no mount namespace here: " << probe.err;
        expectScanWithoutHistory(*this, [&] { return test::runProgram("unshare", full, io.path()); });
    } else {
        std::filesystem::permissions(db, std::filesystem::perms::owner_read | std::filesystem::perms::group_read);
        expectScanWithoutHistory(*this, [&] { return test::runProgram(VANTREL_CLI_PATH, args, io.path()); });
    }
    EXPECT_EQ(historyColumn(cli({"history", "WS-7"}).out, 0), std::vector<std::string>{"1"});
}

TEST_F(HistoryCli, AFullDiskCostsTheHistoryNotTheReport) {
    if (geteuid() != 0) GTEST_SKIP() << "a full disk is made as a small file system of its own: root only";
    const auto probe = test::runProgram("unshare", {"--mount", "--propagation", "private", "true"}, io.path());
    if (probe.status != 0) GTEST_SKIP() << "no mount namespace here: " << probe.err;
    // A 1 MiB file system in a mount namespace of its own: one scan with the
    // history, then filled up to 64 KiB (room for a report, not for the
    // history's next pages), then a scan of the changed computer.
    const auto full = io.path() / "full";
    std::filesystem::create_directory(full);
    const std::string script =
        "set -e; mount -t tmpfs -o size=1m tmpfs \"$1\"; cp \"$2/vantrel.ini\" \"$2/lg.ini\" \"$1/\";"
        " \"$3\" --home \"$1\" scan --node WS-7 --profile \"$4\" >/dev/null;"
        " avail=$(df -k --output=avail \"$1\" | tail -1);"
        " dd if=/dev/zero of=\"$1/filler\" bs=1k count=$((avail - 64)) 2>/dev/null;"
        " set +e; \"$3\" --home \"$1\" scan --node WS-7 --profile \"$5\" >\"$6/out\" 2>\"$6/err\"; echo $? >\"$6/status\";"
        " cp \"$1/WS-7/report\" \"$6/report\"";
    const auto run = test::runProgram(
        "unshare", {"--mount", "--propagation", "private", "sh", "-c", script, "sh", full.string(), home.path().string(),
                    VANTREL_CLI_PATH, test::workstationProfile().string(),
                    test::writeChangedWorkstation(io.path()).string(), io.path().string()},
        io.path());
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(test::readBytes(io.path() / "status"), "0\n");
    EXPECT_EQ(test::readBytes(io.path() / "out"), "WS-7\tScanned\n");
    const std::string err = test::readBytes(io.path() / "err");
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_EQ(err.rfind("vantrel-cli scan: The scan history is not kept (", 0), 0u) << err;
    // The changed computer's report: one memory module now.
    EXPECT_NE(test::readBytes(io.path() / "report").find("\r\nMemory\r\n1\r\n8\r\n"), std::string::npos);
}

}  // namespace
