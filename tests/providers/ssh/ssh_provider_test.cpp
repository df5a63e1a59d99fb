// Linux nodes over SSH against real OpenSSH servers (started by
// ssh_nodes.sh in a network namespace; see there for the ports): the same
// report as this computer's own, host keys checked, every login, and every
// fault ending in time with a clear reason.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>

#include "providers/ssh/ssh_provider.h"
#include "support/run_program.h"
#include "support/temp_folder.h"
#include "wbem/wbem_error.h"

namespace vantrel::ssh::test {
namespace {

using vantrel::test::readBytes;
using vantrel::test::runProgram;
using vantrel::test::TempFolder;

std::filesystem::path nodes() {
    const char* dir = std::getenv("VANTREL_SSH_DIR");
    return dir ? dir : "";
}

class SshNodes : public ::testing::Test {
protected:
    void SetUp() override {
        if (nodes().empty()) GTEST_SKIP() << "run through ssh_nodes.sh";
    }
    // Settings with a known_hosts file of this test's own.
    SshNodeSettings settings(bool acceptNew = false) const {
        SshNodeSettings s;
        s.knownHosts = dir.path() / "known_hosts";
        s.sshFolder = nodes() / "home/.ssh";
        s.acceptNewHostKey = acceptNew;
        s.commandTimeout = std::chrono::seconds(10);
        return s;
    }
    static std::string fingerprint(const std::string& publicKey) {
        const auto r = runProgram("ssh-keygen", {"-lf", (nodes() / publicKey).string()}, TempFolder().path());
        return r.out.substr(r.out.find("SHA256:"), r.out.find(' ', r.out.find("SHA256:")) - r.out.find("SHA256:"));
    }
    // Connects and reads one class; the error's code and text when it fails.
    struct Outcome {
        bool ok;
        wbem::ErrorCode first;
        std::string second;
    };
    static Outcome attempt(const SshNodeSettings& s, const std::string& server,
                                                           const std::string& user = "root",
                                                           const std::string& password = "") {
        try {
            SshProvider provider(s);
            auto services = provider.connect({server, "root\\cimv2", user, password});
            auto rows = services->ExecQuery("Select Caption From Win32_OperatingSystem");
            if (!rows->next()) return {false, wbem::ErrorCode::Failed, "no operating system"};
            return {true, wbem::ErrorCode::Failed, ""};
        } catch (const wbem::WbemError& e) {
            return {false, e.code(), e.what()};
        }
    }
    TempFolder dir;
};

TEST_F(SshNodes, ACollectionOverSshGivesThisComputersOwnReport) {
    // The namespace shares the kernel and the files: the node is this computer.
    const auto overSsh = runProgram(VANTREL_CLI, {"collect", "--ssh", "root@127.0.0.1:2222", "--accept-new-host-key",
                                                  "--out", (dir.path() / "ssh.txt").string()},
                                    dir.path());
    ASSERT_EQ(overSsh.status, 0) << overSsh.err;
    const auto local = runProgram(VANTREL_CLI, {"collect", "--out", (dir.path() / "local.txt").string()}, dir.path());
    ASSERT_EQ(local.status, 0) << local.err;
    EXPECT_EQ(readBytes(dir.path() / "ssh.txt"), readBytes(dir.path() / "local.txt"));
    EXPECT_FALSE(readBytes(dir.path() / "local.txt").empty());

    // The same through the provider, which counts its round trips.
    SshProvider provider(settings(true));
    auto services = provider.connect({"127.0.0.1:2222", "root\\cimv2", "root", ""});
    EXPECT_GE(provider.lastRoundTrips(), 1);
    std::cout << "round trips after the login: " << provider.lastRoundTrips() << "\n";
}

TEST_F(SshNodes, HostKeysAreCheckedRecordedAndAChangedOneIsNeverTaken) {
    const auto unknown = attempt(settings(), "127.0.0.1:2222");
    EXPECT_EQ(unknown.first, wbem::ErrorCode::ConnectionFailed);
    EXPECT_NE(unknown.second.find("is not known"), std::string::npos) << unknown.second;
    EXPECT_NE(unknown.second.find(fingerprint("hostkey_a.pub")), std::string::npos) << unknown.second;
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "known_hosts"));

    EXPECT_TRUE(attempt(settings(true), "127.0.0.1:2222").ok);
    EXPECT_NE(readBytes(dir.path() / "known_hosts").find("[127.0.0.1]:2222"), std::string::npos);
    EXPECT_TRUE(attempt(settings(), "127.0.0.1:2222").ok);  // known now

    // Port 2223 is the same name with another key: as if the node changed.
    std::string line = readBytes(dir.path() / "known_hosts");
    line.replace(line.find("[127.0.0.1]:2222"), 16, "[127.0.0.1]:2223");
    vantrel::test::writeBytes(dir.path() / "known_hosts", line);
    for (bool acceptNew : {false, true}) {
        const auto changed = attempt(settings(acceptNew), "127.0.0.1:2223");
        EXPECT_EQ(changed.first, wbem::ErrorCode::ConnectionFailed);
        EXPECT_NE(changed.second.find("has changed"), std::string::npos) << changed.second;
        EXPECT_NE(changed.second.find(fingerprint("hostkey_b.pub")), std::string::npos) << changed.second;
    }
}

// What the desktop program asks: the listener hears the unknown key, and
// only the key shown is recorded; a changed key is neither asked about nor taken.
TEST_F(SshNodes, AnUnknownKeyIsToldToTheListenerAndOnlyThatKeyIsRecorded) {
    SshProvider provider(settings());
    std::vector<std::pair<std::string, HostKey>> told;
    provider.setHostKeyListener([&](const std::string& server, const HostKey& key) { told.emplace_back(server, key); });
    auto connect = [&](const std::string& server) {
        try {
            provider.connect({server, "root\\cimv2", "root", ""});
            return std::string();
        } catch (const wbem::WbemError& e) {
            return std::string(e.what());
        }
    };
    EXPECT_NE(connect("127.0.0.1:2222").find("is not known"), std::string::npos);
    ASSERT_EQ(told.size(), 1u);
    EXPECT_EQ(told[0].first, "127.0.0.1:2222");
    EXPECT_EQ(told[0].second.host, "127.0.0.1");
    EXPECT_EQ(told[0].second.port, 2222);
    EXPECT_EQ(told[0].second.type, "ssh-ed25519");
    EXPECT_EQ(told[0].second.fingerprint, fingerprint("hostkey_a.pub"));

    // The key of another node is not the one shown here.
    EXPECT_THROW(provider.recordHostKey("127.0.0.1:2222", fingerprint("hostkey_b.pub")), wbem::WbemError);
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "known_hosts"));
    provider.recordHostKey("127.0.0.1:2222", told[0].second.fingerprint);
    EXPECT_NE(readBytes(dir.path() / "known_hosts").find("[127.0.0.1]:2222"), std::string::npos);
    EXPECT_EQ(connect("127.0.0.1:2222"), "");

    std::string line = readBytes(dir.path() / "known_hosts");
    line.replace(line.find("[127.0.0.1]:2222"), 16, "[127.0.0.1]:2223");
    vantrel::test::writeBytes(dir.path() / "known_hosts", line);
    EXPECT_NE(connect("127.0.0.1:2223").find("has changed"), std::string::npos);
    EXPECT_EQ(told.size(), 1u);
    try {
        provider.recordHostKey("127.0.0.1:2223", fingerprint("hostkey_b.pub"));
        ADD_FAILURE() << "a changed key was recorded";
    } catch (const wbem::WbemError& e) {
        EXPECT_NE(std::string(e.what()).find("has changed"), std::string::npos) << e.what();
    }
    EXPECT_EQ(readBytes(dir.path() / "known_hosts"), line);
}

TEST_F(SshNodes, KeysAndPasswordsLogInAndWrongOnesAreRefused) {
    EXPECT_TRUE(attempt(settings(true), "inventory@127.0.0.1:2224", "", "inventory-secret").ok);
    EXPECT_TRUE(attempt(settings(true), "127.0.0.1:2224", "inventory", "inventory-secret").ok);
    EXPECT_EQ(attempt(settings(true), "127.0.0.1:2224", "inventory", "guess").first, wbem::ErrorCode::AccessDenied);

    // A key nobody authorized, and no keys of the user's own.
    SshNodeSettings wrongKey = settings(true);
    wrongKey.identity = nodes() / "other_key";
    wrongKey.sshFolder = dir.path();
    const auto refused = attempt(wrongKey, "127.0.0.1:2222");
    EXPECT_EQ(refused.first, wbem::ErrorCode::AccessDenied) << refused.second;
    wrongKey.identity = nodes() / "home/.ssh/id_ed25519";
    EXPECT_TRUE(attempt(wrongKey, "127.0.0.1:2222").ok);
}

TEST_F(SshNodes, EveryFaultEndsInTimeWithAClearReason) {
    struct Case {
        const char* name;
        const char* server;
        const char* says;
    };
    const Case cases[] = {
        {"nobody listens", "127.0.0.1:2299", "No SSH answer"},
        {"the node ends its answer half-way", "127.0.0.1:2225", "before it answered everything"},
        {"the node never answers", "127.0.0.1:2226", "did not finish answering within 2 s"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SshNodeSettings s = settings(true);
        s.commandTimeout = std::chrono::seconds(2);
        const auto start = std::chrono::steady_clock::now();
        const auto result = attempt(s, c.server);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(8));
        EXPECT_EQ(result.first, wbem::ErrorCode::ConnectionFailed);
        EXPECT_NE(result.second.find(c.says), std::string::npos) << result.second;
    }
}

}  // namespace
}  // namespace vantrel::ssh::test
