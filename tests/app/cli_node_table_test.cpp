// vantrel-cli nodes and scan on a real program folder, before and after: a
// five-node table (one node without an address, one with its own login, one
// "Jump", one "False") keeps every record, login and address; the node
// without an address is reported and not scanned; two programs never write
// the folder at once.

#include <gtest/gtest.h>

#include "core/home_lock.h"
#include "support/run_program.h"
#include "support/temp_folder.h"

using namespace vantrel;

namespace {

const std::string kProfile = std::string(VANTREL_COLLECT_TEST_DATA) + "/office_pc.json";
const std::string kReport = std::string(VANTREL_COLLECT_TEST_DATA) + "/office_pc.report";
// The profile computer's login is the default one.
const std::string kSettings = "admin\r\nsecret\r\n0\r\n0\r\n0\r\n0\r\nNAME\r\n0\r\nroot\\cimv2\r\n";
const std::string kTable =
    "PC-A\r\n10.213.9.1\r\nFront desk\r\nTrue\r\n\r\n\r\nScanned\r\n"
    "GHOST\r\n\r\nGHOST\r\nTrue\r\n\r\n\r\nScanned\r\n"
    "BOSS\r\n10.213.9.2\r\nBoss desk\r\nTrue\r\nadmin\r\nsecret\r\nFalse\r\n"
    "JUMPER\r\n10.213.9.3\r\nJUMPER\r\nJump\r\n\r\n\r\nFalse\r\n"
    "GONE\r\n10.213.9.4\r\nGONE\r\nFalse\r\n\r\n\r\nScanned\r\n";

struct NodeTableCli : ::testing::Test {
    test::TempFolder home;
    test::TempFolder io;

    void SetUp() override {
        test::writeBytes(home.path() / "vantrel.ini", kSettings);
        test::writeBytes(home.path() / "lg.ini", kTable);
        std::filesystem::create_directory(home.path() / "GHOST");
        test::writeBytes(home.path() / "GHOST" / "report", "GHOST's own old report");
    }
    test::ProgramRun cli(std::vector<std::string> args) {
        args.insert(args.begin(), {"--home", home.path().string()});
        return test::runProgram(VANTREL_CLI_PATH, args, io.path());
    }
    std::string report(const std::string& node) { return test::readBytes(home.path() / node / "report"); }
};

TEST_F(NodeTableCli, ScanAllKeepsEveryRecordAndReportsTheNodeWithoutAnAddress) {
    const auto run = cli({"scan", "--all", "--profile", kProfile, "--parallel", "2"});
    EXPECT_EQ(run.status, 1) << run.err;  // one node could not be tried
    EXPECT_EQ(run.out,
              "PC-A\tScanned\n"
              "GHOST\tNo address for GHOST: run Re-Scan or check the name\n"
              "BOSS\tScanned\n");
    // Every record, login and address as it was; only the statuses of the scanned nodes moved.
    EXPECT_EQ(test::readBytes(home.path() / "lg.ini"),
              "PC-A\r\n10.213.9.1\r\nFront desk\r\nTrue\r\n\r\n\r\nScanned\r\n"
              "GHOST\r\n\r\nGHOST\r\nTrue\r\n\r\n\r\nScanned\r\n"
              "BOSS\r\n10.213.9.2\r\nBoss desk\r\nTrue\r\nadmin\r\nsecret\r\nScanned\r\n"
              "JUMPER\r\n10.213.9.3\r\nJUMPER\r\nJump\r\n\r\n\r\nFalse\r\n"
              "GONE\r\n10.213.9.4\r\nGONE\r\nFalse\r\n\r\n\r\nScanned\r\n");
    EXPECT_EQ(report("PC-A"), test::readBytes(kReport));
    EXPECT_EQ(report("BOSS"), test::readBytes(kReport));
    EXPECT_EQ(report("GHOST"), "GHOST's own old report");
    EXPECT_FALSE(std::filesystem::exists(home.path() / "JUMPER" / "report"));
    EXPECT_FALSE(std::filesystem::exists(home.path() / "GONE" / "report"));

    const auto nodes = cli({"nodes"});
    EXPECT_EQ(nodes.status, 0);
    EXPECT_EQ(nodes.out,
              "PC-A\tFront desk\t10.213.9.1\tTrue\tScanned\tScanned\n"
              "GHOST\tGHOST\t\tTrue\tScanned\tNo address for GHOST: run Re-Scan or check the name\n"
              "BOSS\tBoss desk\t10.213.9.2\tTrue\tScanned\tScanned\n"
              "JUMPER\tJUMPER\t10.213.9.3\tJump\tFalse\t\n"
              "GONE\tGONE\t10.213.9.4\tFalse\tScanned\t\n");
}

TEST_F(NodeTableCli, ExitStatusSaysHowTheNodesTriedWent) {
    // One node that answers: 0.
    auto run = cli({"scan", "--node", "boss", "--profile", kProfile});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "BOSS\tScanned\n");
    // A refused login: 2, and the node is marked so.
    test::writeBytes(home.path() / "vantrel.ini", "admin\r\nwrong\r\n0\r\n0\r\n0\r\n0\r\nNAME\r\n0\r\nroot\\cimv2\r\n");
    run = cli({"scan", "--node", "PC-A", "--profile", kProfile});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "PC-A\tAccess denied\n");
    EXPECT_NE(test::readBytes(home.path() / "lg.ini").find("PC-A\r\n10.213.9.1\r\nFront desk\r\nTrue\r\n\r\n\r\nAccess denied\r\n"),
              std::string::npos);
    // The node without an address: 1, its report kept.
    run = cli({"scan", "--node", "GHOST", "--profile", kProfile});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(report("GHOST"), "GHOST's own old report");
    // Wrong use: 1 with the usage.
    for (const std::vector<std::string>& wrong : {std::vector<std::string>{"scan"},
                                                   {"scan", "--all", "--local"},
                                                   {"scan", "--all", "--parallel", "0"},
                                                   {"scan", "--node", "NOBODY", "--profile", kProfile}}) {
        run = cli(wrong);
        EXPECT_EQ(run.status, 1) << wrong.size();
        EXPECT_FALSE(run.err.empty());
        EXPECT_TRUE(run.out.empty());
    }
}

TEST_F(NodeTableCli, TheSecondProgramOnAFolderSaysWhoHoldsItAndLeavesItAlone) {
    {
        HomeLock desktop(home.path() / ".vantrel.lock", "vantrel (the desktop program)");
        const auto run = cli({"scan", "--all", "--profile", kProfile});
        EXPECT_EQ(run.status, 1);
        EXPECT_NE(run.err.find("in use by vantrel (the desktop program)"), std::string::npos) << run.err;
        EXPECT_EQ(test::readBytes(home.path() / "lg.ini"), kTable);
        EXPECT_FALSE(std::filesystem::exists(home.path() / "PC-A" / "report"));
        // Reading the table needs no lock.
        EXPECT_EQ(cli({"nodes"}).status, 0);
        EXPECT_THROW(HomeLock(home.path() / ".vantrel.lock", "a second holder"), FolderBusyError);
    }
    // Released with its holder.
    EXPECT_EQ(cli({"scan", "--node", "BOSS", "--profile", kProfile}).status, 0);
}

TEST_F(NodeTableCli, AFolderWithoutATableGetsNoEmptyOne) {
    std::filesystem::remove(home.path() / "lg.ini");
    const auto run = cli({"scan", "--all", "--profile", kProfile});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "");
    EXPECT_FALSE(std::filesystem::exists(home.path() / "lg.ini"));
    EXPECT_EQ(cli({"nodes"}).out, "");
}

}  // namespace
