// Recording into the shared store when it cannot take a scan: the scan waits
// in the program folder's queue, the program hears once how many wait, and
// the queue goes over first, in its order, once the server takes scans again.

#include <gtest/gtest.h>

#include "store/postgres/postgres_inventory_store.h"
#include "store/shared_store_recorder.h"
#include "support/postgres_server.h"
#include "support/stored_scans.h"

using namespace vantrel;
using test::scanOf;

namespace {

struct SharedRecorder : ::testing::Test {
    void SetUp() override {
        if (!server.ready()) GTEST_SKIP() << server.why();
    }
    test::PostgresServer& server = test::sharedPostgresServer();
    test::TempFolder dir;
    std::vector<std::string> notices;
    std::vector<std::string> reports() {
        PostgresInventoryStore store(server.target());
        std::vector<std::string> texts;
        for (const auto& scan : store.listScans("PC-A")) texts.push_back(store.loadScan("PC-A", scan.number)->content.reportText);
        return texts;
    }
};

TEST_F(SharedRecorder, ScansTheServerCannotTakeWaitAndGoOverInOrderOnceItCan) {
    struct Case {
        const char* what;
        std::string target;
        std::function<void()> fault, mend;
        const char* says;
    };
    const Case cases[] = {
        {"the server going away", server.target(), [&] { server.stop(); }, [&] { ASSERT_TRUE(server.start()); },
         "cannot be reached"},
        // The password mended by the administrator in ~/.pgpass: here, a
        // second recorder with the right one takes the queue over.
        {"a wrong password", server.target("&password=wrong"), [] {}, [] {}, "password authentication failed"},
    };
    int round = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        notices.clear();
        const std::string tag = std::to_string(round++) + " ";
        SharedStoreRecorder good(ProgramFolder(dir.path()), server.target(), [&](const std::string& n) { notices.push_back(n); });
        good.record(scanOf("PC-A", tag + "before"));
        c.fault();
        {
            SharedStoreRecorder faulty(ProgramFolder(dir.path()), c.target, [&](const std::string& n) { notices.push_back(n); });
            for (int i = 0; i < 3; ++i) faulty.record(scanOf("PC-A", tag + "queued " + std::to_string(i)));
            EXPECT_EQ(faulty.waiting(), 3);
        }
        ASSERT_EQ(notices.size(), 1u);
        EXPECT_NE(notices[0].find(c.says), std::string::npos) << notices[0];
        EXPECT_NE(notices[0].find("1 scans wait"), std::string::npos) << notices[0];
        EXPECT_EQ(notices[0].find("wrong"), std::string::npos) << "no password in " << notices[0];
        c.mend();
        good.record(scanOf("PC-A", tag + "after"));
        EXPECT_EQ(good.waiting(), 0);
        ASSERT_EQ(notices.size(), 2u);
        EXPECT_NE(notices[1].find("3 waiting scans were delivered"), std::string::npos) << notices[1];
    }
    EXPECT_EQ(reports(), (std::vector<std::string>{"0 before", "0 queued 0", "0 queued 1", "0 queued 2", "0 after",
                                                   "1 before", "1 queued 0", "1 queued 1", "1 queued 2", "1 after"}));
}

TEST_F(SharedRecorder, AQueueLeftByAnEarlierRunGoesOverWhenTheNextProgramStarts) {
    server.stop();
    {
        SharedStoreRecorder offline(ProgramFolder(dir.path()), server.target(), {});
        offline.record(scanOf("PC-A", "while down"));
    }
    ASSERT_TRUE(server.start());
    SharedStoreRecorder next(ProgramFolder(dir.path()), server.target(), [&](const std::string& n) { notices.push_back(n); });
    EXPECT_EQ(next.waiting(), 0);
    EXPECT_EQ(reports(), std::vector<std::string>{"while down"});
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_NE(notices[0].find("1 waiting scans were delivered"), std::string::npos);
}

}  // namespace
