// What the SQLite store adds to the contract every store keeps: what it
// refuses (a file that is no database, a later schema, answers that are not
// ours), two programs writing at once, and the reports on disk taken in once.

#include <sqlite3.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "store/home_store.h"
#include "store/store_error.h"
#include "support/stored_scans.h"
#include "support/temp_folder.h"

using namespace vantrel;
using test::answersWithEveryKind;
using test::scanOf;

namespace {

// Runs SQL on the file behind the store's back.
void tamper(const std::filesystem::path& file, const std::string& sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
    sqlite3_close(db);
}

struct StoreFixture : ::testing::Test {
    test::TempFolder dir;
    std::filesystem::path file() const { return dir.path() / "inventory.db"; }
};

TEST_F(StoreFixture, RefusesWhatIsNotOurs) {
    struct Case {
        const char* what;
        std::function<void(const std::filesystem::path&)> make;
    };
    const Case cases[] = {
        {"a file that is no database",
         [](const auto& f) { test::writeBytes(f, std::string(4096, 'x')); }},
        {"a later schema",
         [](const auto& f) { tamper(f, "PRAGMA user_version = 99"); }},
        {"a database cut short",
         [](const auto& f) {
             { SqliteInventoryStore store(f); store.recordScan(scanOf("PC-A", std::string(20000, 'r'))); }
             std::filesystem::resize_file(f, 1024);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove(file());
        c.make(file());
        EXPECT_THROW(
            {
                SqliteInventoryStore store(file());
                store.listScans("PC-A");
                store.recordScan(scanOf("PC-A", "x"));
            },
            StoreError);
    }
}

TEST_F(StoreFixture, StoredAnswersThatAreNoProfileFailTheLoadNotTheProgram) {
    { SqliteInventoryStore store(file()); store.recordScan(scanOf("PC-A", "r", answersWithEveryKind())); }
    tamper(file(), "UPDATE content SET body = '{\"namespaces\": 7}' WHERE CAST(body AS TEXT) LIKE '{%'");
    SqliteInventoryStore store(file());
    EXPECT_THROW(store.loadScan("PC-A", 1), StoreError);
    EXPECT_EQ(store.listScans("PC-A").size(), 1u);
    // The next scan is kept all the same, compared by its report.
    EXPECT_EQ(store.recordScan(scanOf("PC-A", "r", answersWithEveryKind())).changes->empty(), true);
}

TEST_F(StoreFixture, TwoProgramsWritingAtOnceLoseNoScan) {
    { SqliteInventoryStore create(file()); }
    constexpr int kEach = 40;
    std::vector<pid_t> children;
    for (int program = 0; program < 2; ++program) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            int status = 0;
            try {
                SqliteInventoryStore store(file());
                for (int i = 0; i < kEach; ++i)
                    store.recordScan(scanOf("PC-A", "program " + std::to_string(program) + " scan " + std::to_string(i)));
            } catch (...) {
                status = 1;
            }
            _exit(status);
        }
        children.push_back(child);
    }
    for (pid_t child : children) {
        int status = 0;
        waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    SqliteInventoryStore store(file());
    const auto scans = store.listScans("PC-A");
    ASSERT_EQ(scans.size(), 2u * kEach);
    for (int i = 0; i < 2 * kEach; ++i) EXPECT_EQ(scans[static_cast<std::size_t>(i)].number, i + 1);
    EXPECT_EQ(store.contentCount(), 2 * kEach);
}

TEST_F(StoreFixture, ReportsOnDiskAreTakenInOnceDatedByTheirFile) {
    const ProgramFolder folder(dir.path());
    std::filesystem::create_directory(dir.path() / "PC-A");
    test::writeBytes(dir.path() / "PC-A" / "report", "Baseboard\r\n1\r\nBoard\r\n\r\n");
    struct timespec times[2] = {{1'700'000'000, 0}, {1'700'000'000, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, (dir.path() / "PC-A" / "report").c_str(), times, 0), 0);
    std::filesystem::create_directory(dir.path() / "PIPE");
    ASSERT_EQ(mkfifo((dir.path() / "PIPE" / "report").c_str(), 0600), 0);  // never read: it could hang us
    std::filesystem::create_directory_symlink(dir.path() / "PC-A", dir.path() / "LINKED");
    std::filesystem::create_directory(dir.path() / "NEVER");

    { auto first = openHomeStore(folder); }
    auto store = openHomeStore(folder);
    EXPECT_EQ(store->nodes(), std::vector<std::string>{"PC-A"});
    const auto scans = store->listScans("PC-A");
    ASSERT_EQ(scans.size(), 1u);
    EXPECT_EQ(scans[0].source, "imported report");
    EXPECT_EQ(scans[0].time, std::chrono::system_clock::from_time_t(1'700'000'000));
    EXPECT_EQ(store->loadScan("PC-A", 1)->content.reportText, "Baseboard\r\n1\r\nBoard\r\n");
}

}  // namespace
