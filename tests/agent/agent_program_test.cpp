// vantrel-agent as a program: adduser, install into a folder, and serve
// printing its certificate's fingerprint.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "agent/self_signed_cert.h"
#include "agent/users_file.h"
#include "test_agent.h"

namespace vantrel::agent::test {
namespace {

std::string readAll(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

unsigned modeOf(const std::filesystem::path& p) {
    struct stat st {};
    ::stat(p.c_str(), &st);
    return st.st_mode & 07777;
}

int shell(const std::string& command) {
    const int raw = std::system(command.c_str());
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

TEST(AgentProgram, AddUserReadsThePasswordFromStandardInput) {
    TemporaryFolder dir;
    const auto users = dir.path() / "users";
    ASSERT_EQ(shell("printf 'pass word\\n' | '" VANTREL_AGENT "' adduser --users '" + users.string() + "' alice >/dev/null"), 0);
    EXPECT_EQ(modeOf(users), 0600u);
    const UserHashes loaded = loadUsers(users);
    ASSERT_EQ(loaded.count("alice"), 1u);
    EXPECT_TRUE(passwordMatches(loaded.at("alice"), "pass word"));
    EXPECT_EQ(shell("printf 'x\\n' | '" VANTREL_AGENT "' adduser --users '" + users.string() + "' 'bad:name' 2>/dev/null"), 1);
    EXPECT_EQ(shell("'" VANTREL_AGENT "' adduser 2>/dev/null"), 2);
}

TEST(AgentProgram, InstallLaysOutTheServiceInAFolder) {
    TemporaryFolder dir;
    ASSERT_EQ(shell("'" VANTREL_AGENT "' install --root '" + dir.path().string() + "' >/dev/null"), 0);
    const auto root = dir.path();
    EXPECT_EQ(readAll(root / "etc/systemd/system/vantrel-agent.service"), readAll(AGENT_UNIT_FILE));
    EXPECT_EQ(readAll(root / "usr/local/bin/vantrel-agent"), readAll(VANTREL_AGENT));
    EXPECT_EQ(modeOf(root / "usr/local/bin/vantrel-agent"), 0755u);
    EXPECT_EQ(modeOf(root / "etc/vantrel-agent/users"), 0600u);
    EXPECT_EQ(modeOf(root / "etc/vantrel-agent"), 0700u);
    EXPECT_EQ(modeOf(root / "var/lib/vantrel-agent"), 0700u);
}

TEST(AgentProgram, ServeMakesACertificateAndPrintsItsFingerprint) {
    TemporaryFolder dir;
    const auto users = dir.path() / "users";
    addUser(users, "admin", "secret");
    const auto out = dir.path() / "out";
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        const std::string state = (dir.path() / "state").string();
        const std::string outPath = out.string();
        freopen(outPath.c_str(), "w", stdout);
        execl(VANTREL_AGENT, "vantrel-agent", "serve", "--listen", "127.0.0.1:0", "--users", users.c_str(), "--state",
              state.c_str(), "--profile", VANTREL_COLLECT_TEST_DATA "/office_pc.json", static_cast<char*>(nullptr));
        _exit(127);
    }
    std::string text;
    for (int i = 0; i < 500 && text.find("Listening on") == std::string::npos; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        text = readAll(out);
    }
    ::kill(pid, SIGTERM);
    int status = 0;
    ::waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    const auto cert = dir.path() / "state" / "agent-cert.pem";
    EXPECT_NE(text.find("Created the self-signed certificate " + cert.string()), std::string::npos) << text;
    EXPECT_NE(text.find("Certificate SHA-256 fingerprint: " + sha256Fingerprint(cert)), std::string::npos) << text;
    EXPECT_EQ(modeOf(dir.path() / "state" / "agent-key.pem"), 0600u);
    EXPECT_EQ(sha256Fingerprint(cert).size(), 32u * 3 - 1);
}

}  // namespace
}  // namespace vantrel::agent::test
