// The users file and the login guard.

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <sys/stat.h>

#include <chrono>
#include <fstream>

#include "agent/login_guard.h"
#include "agent/users_file.h"
#include "test_agent.h"

namespace vantrel::agent::test {
namespace {

using namespace std::chrono_literals;

std::string readAll(const std::filesystem::path& p) {
    std::ifstream in(p);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

TEST(UsersFile, KeepsSaltedHashesInAPrivateFile) {
    TemporaryFolder folder;
    const auto file = folder.path() / "users";
    addUser(file, "admin", "first password");
    addUser(file, "second", "first password");
    struct stat st {};
    ASSERT_EQ(::stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    const std::string text = readAll(file);
    EXPECT_EQ(text.find("first password"), std::string::npos);

    UserHashes users = loadUsers(file);
    ASSERT_EQ(users.size(), 2u);
    EXPECT_NE(users["admin"], users["second"]);  // same password, different salts
    EXPECT_TRUE(passwordMatches(users["admin"], "first password"));
    EXPECT_FALSE(passwordMatches(users["admin"], "first passwordx"));

    addUser(file, "admin", "new password");  // replaces, keeps the other user
    users = loadUsers(file);
    EXPECT_EQ(users.size(), 2u);
    EXPECT_TRUE(passwordMatches(users["admin"], "new password"));
    EXPECT_FALSE(std::filesystem::exists(file.string() + ".new"));
}

TEST(UsersFile, RefusesFilesOthersCanReadAndMalformedLines) {
    TemporaryFolder folder;
    const auto file = folder.path() / "users";
    addUser(file, "admin", "pw");
    ::chmod(file.c_str(), 0644);
    EXPECT_THROW(loadUsers(file), AgentError);
    ::chmod(file.c_str(), 0600);
    EXPECT_NO_THROW(loadUsers(file));
    for (const char* bad : {"admin\n", "admin:plaintext\n", "bad name:$argon2id$x\n", ":$argon2id$x\n"}) {
        std::ofstream(file) << bad;
        EXPECT_THROW(loadUsers(file), AgentError) << bad;
    }
    EXPECT_THROW(loadUsers(folder.path() / "missing"), AgentError);
}

TEST(UsersFile, AcceptsOnlyPlainUserNames) {
    for (const char* good : {"admin", "DOMAIN\\user", "first.last@example.org", "a-b_c"}) EXPECT_TRUE(isValidUserName(good));
    for (const char* bad : {"", "a:b", "a b", "a\nb", "a/b", "ä"}) EXPECT_FALSE(isValidUserName(bad)) << bad;
    EXPECT_FALSE(isValidUserName(std::string(65, 'a')));
    TemporaryFolder folder;
    EXPECT_THROW(addUser(folder.path() / "users", "a:b", "pw"), AgentError);
    EXPECT_THROW(addUser(folder.path() / "users", "admin", ""), AgentError);
}

TEST(LoginGuard, ChecksPasswordsAndMakesFailuresCostTime) {
    LoginPolicy policy;
    policy.failureDelay = 150ms;
    LoginGuard guard(testUsers(), policy);
    EXPECT_TRUE(guard.check("10.0.0.1", "admin", "secret"));
    EXPECT_TRUE(guard.check("10.0.0.1", "admin", "secret"));  // remembered
    const auto started = std::chrono::steady_clock::now();
    EXPECT_FALSE(guard.check("10.0.0.1", "admin", "wrong"));
    EXPECT_GE(std::chrono::steady_clock::now() - started, 150ms);
    EXPECT_FALSE(guard.check("10.0.0.1", "nobody", "secret"));
    EXPECT_FALSE(guard.check("10.0.0.1", "ADMIN", "secret"));
}

TEST(LoginGuard, LocksAnAddressOutAfterRepeatedFailures) {
    LoginPolicy policy;
    policy.failureDelay = 0ms;
    policy.failuresBeforeLockout = 3;
    policy.rememberFor = 0s;  // every login is checked against the file
    LoginGuard guard(testUsers(), policy);
    for (int i = 0; i < 3; ++i) EXPECT_FALSE(guard.check("10.0.0.9", "admin", "guess" + std::to_string(i)));
    // Even the right password is refused from there until the window passes...
    EXPECT_FALSE(guard.check("10.0.0.9", "admin", "secret"));
    // ...while other addresses are not affected.
    EXPECT_TRUE(guard.check("10.0.0.10", "admin", "secret"));
}

TEST(LoginGuard, ARememberedLoginNeverUndoesALockout) {
    LoginPolicy policy;
    policy.failureDelay = 0ms;
    policy.accountDelayStep = 0ms;
    LoginGuard guard(testUsers(), policy);
    EXPECT_TRUE(guard.check("10.0.0.1", "admin", "secret"));  // the owner, remembered for 10.0.0.1
    for (int i = 0; i < 5; ++i) EXPECT_FALSE(guard.check("10.0.0.66", "admin", "guess" + std::to_string(i)));
    // The locked-out address gets nothing from the owner's remembered login...
    EXPECT_FALSE(guard.check("10.0.0.66", "admin", "secret"));
    // ...a remembered login spares the hash only for its own address,
    const auto started = std::chrono::steady_clock::now();
    EXPECT_TRUE(guard.check("10.0.0.1", "admin", "secret"));
    EXPECT_LT(std::chrono::steady_clock::now() - started, 50ms);
    // and elsewhere the password is checked again.
    EXPECT_TRUE(guard.check("10.0.0.2", "admin", "secret"));
}

TEST(LoginGuard, GuessesSentAtOnceMeetTheThresholdOneByOne) {
    LoginPolicy policy;
    policy.failureDelay = 0ms;
    policy.accountDelayStep = 0ms;
    policy.rememberFor = 0s;
    LoginGuard guard(testUsers(), policy);
    // What one checked guess costs: the slow hash.
    auto started = std::chrono::steady_clock::now();
    EXPECT_FALSE(guard.check("10.9.9.9", "admin", "guess"));
    const auto oneHash = std::chrono::steady_clock::now() - started;
    // 30 guesses at once from one address, and 30 from one IPv6 /64 with as many addresses:
    // five are checked, one after the other, and the rest are refused without a hash
    // (30 checked two at a time would take fifteen hashes' time).
    for (const bool six : {false, true}) {
        started = std::chrono::steady_clock::now();
        std::vector<std::thread> guesses;
        for (int i = 0; i < 30; ++i)
            guesses.emplace_back([&, i] {
                const std::string from = six ? "2001:db8:7:9::" + std::to_string(i + 1) : "10.0.0.77";
                EXPECT_FALSE(guard.check(from, "admin", "guess" + std::to_string(i)));
            });
        for (auto& t : guesses) t.join();
        EXPECT_LT(std::chrono::steady_clock::now() - started, 10 * oneHash) << (six ? "IPv6 /64" : "IPv4");
        // The sixth guess and the right password alike are refused there now.
        EXPECT_FALSE(guard.check(six ? "2001:db8:7:9::abcd" : "10.0.0.77", "admin", "secret"));
    }
    EXPECT_TRUE(guard.check("2001:db8:7:a::1", "admin", "secret"));  // the next /64 is another place
}

TEST(LoginGuard, PlacesAreAddressesAndIpv6Slash64s) {
    const std::pair<const char*, const char*> cases[] = {
        {"10.0.0.7", "10.0.0.7"},
        {"::ffff:10.0.0.7", "10.0.0.7"},
        {"2001:db8:1:2:3:4:5:6", "2001:db8:1:2::/64"},
        {"fe80::1", "fe80:0:0:0::/64"},
        {"not an address", "not an address"},
    };
    for (const auto& [address, place] : cases) EXPECT_EQ(loginPlaceOf(address), place) << address;
}

TEST(LoginGuard, AnAccountUnderAttackFromManyPlacesSlowsDownWithoutLockingItsOwnerOut) {
    LoginPolicy policy;
    policy.failureDelay = 0ms;
    policy.accountDelayStep = 40ms;
    policy.accountDelayLimit = 200ms;
    policy.rememberFor = 0s;
    LoginGuard guard(testUsers(), policy);
    for (int i = 0; i < 8; ++i) EXPECT_FALSE(guard.check("10.1.0." + std::to_string(i), "admin", "guess"));
    const auto started = std::chrono::steady_clock::now();
    EXPECT_TRUE(guard.check("10.2.0.1", "admin", "secret"));  // slowed down, never refused
    const auto took = std::chrono::steady_clock::now() - started;
    EXPECT_GE(took, 200ms);
    EXPECT_LT(took, 2s);
}

}  // namespace
}  // namespace vantrel::agent::test
