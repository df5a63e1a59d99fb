// vantrel-cli with its history in a shared PostgreSQL store: two scanners
// writing at once lose no scan and each sees the other's, a server that is
// down costs no scan (it waits in the folder and goes over later), a home
// folder's history moves into the shared store, and a password never goes
// on the command line.

#include <future>

#include <gtest/gtest.h>

#include "store/postgres/postgres_inventory_store.h"
#include "support/postgres_server.h"
#include "support/run_program.h"
#include "support/workstation_profiles.h"

using namespace vantrel;

namespace {

const std::string kSettings = "admin\r\nsecret\r\n0\r\n0\r\n0\r\n0\r\nNAME\r\n0\r\nroot\\cimv2\r\n";
constexpr int kNodes = 32;

std::string nodeName(int i) { return "WS-" + std::string(i < 10 ? "0" : "") + std::to_string(i); }

struct SharedStoreCli : ::testing::Test {
    void SetUp() override {
        if (!server.ready()) GTEST_SKIP() << server.why();
        for (const auto* home : {&homeA, &homeB}) {
            test::writeBytes(home->path() / "vantrel.ini", kSettings);
            std::string table;
            for (int i = 1; i <= kNodes; ++i)
                table += nodeName(i) + "\r\n10.213.9." + std::to_string(i) + "\r\n" + nodeName(i) + "\r\nTrue\r\n\r\n\r\nFalse\r\n";
            test::writeBytes(home->path() / "lg.ini", table);
        }
    }
    test::ProgramRun cli(const test::TempFolder& home, const test::TempFolder& io, std::vector<std::string> args,
                         bool shared = true) {
        std::vector<std::string> global{"--home", home.path().string()};
        if (shared) global.insert(global.end(), {"--store", server.target()});
        args.insert(args.begin(), global.begin(), global.end());
        return test::runProgram(VANTREL_CLI_PATH, args, io.path());
    }
    test::ProgramRun scanAll(const test::TempFolder& home, const test::TempFolder& io) {
        return cli(home, io, {"scan", "--all", "--profile", test::workstationProfile().string()});
    }

    test::PostgresServer& server = test::sharedPostgresServer();
    test::TempFolder homeA, homeB, ioA, ioB;
};

TEST_F(SharedStoreCli, TwoScannersAtOnceLoseNoScanAndEachSeesTheOthers) {
    constexpr int kRounds = 2;
    auto scanner = [&](const test::TempFolder& home, const test::TempFolder& io) {
        std::string failures;
        for (int round = 0; round < kRounds; ++round) {
            const auto run = scanAll(home, io);
            if (run.status != 0 || !run.err.empty()) failures += std::to_string(run.status) + ": " + run.err;
        }
        return failures;
    };
    auto a = std::async(std::launch::async, scanner, std::cref(homeA), std::cref(ioA));
    auto b = std::async(std::launch::async, scanner, std::cref(homeB), std::cref(ioB));
    EXPECT_EQ(a.get(), "");
    EXPECT_EQ(b.get(), "");

    PostgresInventoryStore store(server.target());
    EXPECT_EQ(store.nodes().size(), static_cast<std::size_t>(kNodes));
    for (int i = 1; i <= kNodes; ++i) {
        SCOPED_TRACE(nodeName(i));
        const auto scans = store.listScans(nodeName(i));
        ASSERT_EQ(scans.size(), 2u * kRounds);
        for (std::size_t n = 0; n < scans.size(); ++n) {
            EXPECT_EQ(scans[n].number, static_cast<int>(n) + 1);
            EXPECT_EQ(scans[n].summary, n == 0 ? "first scan" : "no change");
        }
    }
    // The other scanner's folder shows the same history.
    const auto history = cli(homeB, ioB, {"history", "ws-17"});
    ASSERT_EQ(history.status, 0) << history.err;
    EXPECT_EQ(std::count(history.out.begin(), history.out.end(), '\n'), 2 * kRounds);
}

TEST_F(SharedStoreCli, AScanWhileTheServerIsDownWaitsInTheFolderAndGoesOverWithTheNext) {
    server.stop();
    const std::vector<std::string> scanOne{"scan", "--node", "WS-03", "--profile", test::workstationProfile().string()};
    const auto down = cli(homeA, ioA, scanOne);
    EXPECT_EQ(down.status, 0) << down.err;
    EXPECT_NE(down.err.find("1 scans wait"), std::string::npos) << down.err;
    EXPECT_TRUE(std::filesystem::is_regular_file(homeA.path() / "WS-03" / "report"));
    ASSERT_TRUE(server.start());
    const auto back = cli(homeA, ioA, scanOne);
    EXPECT_EQ(back.status, 0) << back.err;
    EXPECT_NE(back.err.find("1 waiting scans were delivered"), std::string::npos) << back.err;
    const auto history = cli(homeB, ioB, {"history", "WS-03"});
    ASSERT_EQ(history.status, 0) << history.err;
    EXPECT_EQ(std::count(history.out.begin(), history.out.end(), '\n'), 2);
}

TEST_F(SharedStoreCli, AHomeFoldersHistoryMovesIntoTheSharedStoreOnce) {
    const auto local = cli(homeA, ioA, {"scan", "--node", "WS-05", "--profile", test::workstationProfile().string()}, false);
    ASSERT_EQ(local.status, 0) << local.err;
    const std::vector<std::string> copy{"store", "copy", "--from", (homeA.path() / "inventory.db").string(), "--to",
                                        server.target()};
    const auto first = cli(homeB, ioB, copy, false);
    ASSERT_EQ(first.status, 0) << first.err;
    EXPECT_EQ(first.out.substr(0, 15), "1 scans copied ");
    const auto again = cli(homeB, ioB, copy, false);
    EXPECT_EQ(again.out.substr(0, 15), "0 scans copied ");
    const auto history = cli(homeB, ioB, {"history", "WS-05"});
    EXPECT_EQ(std::count(history.out.begin(), history.out.end(), '\n'), 1) << history.err;
}

TEST_F(SharedStoreCli, APasswordOnTheCommandLineIsRefusedAndNotRepeated) {
    const std::string withPassword = "postgresql://vantrel:hunter2@/postgres?host=/tmp";
    for (const auto& args : {std::vector<std::string>{"--store", withPassword, "history", "WS-01"},
                             std::vector<std::string>{"store", "copy", "--from", (homeA.path() / "lg.ini").string(),
                                                      "--to", withPassword}}) {
        const auto run = cli(homeA, ioA, args, false);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err.find("hunter2"), std::string::npos) << run.err;
    }
}

}  // namespace
