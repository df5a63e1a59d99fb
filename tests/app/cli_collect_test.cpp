// vantrel-cli collect, run as a program: exit status, status lines, report.

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include "collect/catalogue.h"
#include "support/run_program.h"
#include "support/temp_folder.h"

using namespace vantrel;

namespace {

const std::string kProfile = VANTREL_COLLECT_TEST_DATA "/office_pc.json";
const std::filesystem::path kExpected = VANTREL_COLLECT_TEST_DATA "/office_pc.report";

struct CliResult {
    int status;
    std::vector<std::string> out;
    std::vector<std::string> err;
};

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const auto end = text.find('\n', start);
        lines.push_back(text.substr(start, end - start));
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return lines;
}

struct CliFixture : ::testing::Test {
    test::TempFolder dir;
    std::filesystem::path out() const { return dir.path() / "out.report"; }

    CliResult run(const std::vector<std::string>& args) {
        std::vector<std::string> all{"collect"};
        all.insert(all.end(), args.begin(), args.end());
        const test::ProgramRun r = test::runProgram(VANTREL_CLI_PATH, all, dir.path());
        return {r.status, splitLines(r.out), splitLines(r.err)};
    }
};

std::vector<std::string> collectorLines(const std::string& tag) {
    std::vector<std::string> lines;
    for (const auto& c : kCatalogue) lines.push_back(std::string(c.statusPhrase) + tag);
    lines.push_back("Hardware data collected for " + tag);
    return lines;
}

}  // namespace

TEST_F(CliFixture, ScansANodeThroughTheConnectionTestAndWritesTheReport) {
    const auto r = run({"--profile", kProfile, "--server", "10.0.0.7", "--user", "admin", "--password", "secret",
                        "--out", out().string()});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, splitLines(test::readBytes(VANTREL_COLLECT_TEST_DATA "/office_pc.status")));
    EXPECT_TRUE(r.err.empty());
    EXPECT_EQ(test::readBytes(out()), test::readBytes(kExpected));
}

TEST_F(CliFixture, ThisComputerIsCollectedWithoutAConnectionTest) {
    const auto r = run({"--out", out().string(), "--profile", kProfile});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, collectorLines(""));
    EXPECT_EQ(test::readBytes(out()), test::readBytes(kExpected));
    // The tag still names the user; this computer asks for no login.
    const auto named = run({"--profile", kProfile, "--user", "admin", "--password", "x", "--out", out().string()});
    EXPECT_EQ(named.status, 0);
    EXPECT_EQ(named.out, collectorLines("admin"));
}

TEST_F(CliFixture, AccessDeniedExitsWithTwo) {
    const auto r = run({"--profile", kProfile, "--server", "10.0.0.7", "--user", "admin", "--password", "guess",
                        "--out", out().string()});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, (std::vector<std::string>{"Connecting to WMI admin10.0.0.7", "Access denied to admin10.0.0.7"}));
    ASSERT_EQ(r.err.size(), 1u);
    // The user apart from the node.
    EXPECT_EQ(r.err[0].rfind("vantrel-cli collect: access denied to admin at 10.0.0.7", 0), 0u) << r.err[0];
    EXPECT_FALSE(std::filesystem::exists(out()));
}

TEST_F(CliFixture, ANodeThatDoesNotAnswerIsNoRefusedLogin) {
    // A port nobody listens on: bound, never listened, then closed.
    const int probe = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    socklen_t length = sizeof address;
    ::getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(probe);
    const std::string server = "127.0.0.1:" + std::to_string(ntohs(address.sin_port));

    const auto r = run({"--server", server, "--insecure-http", "--user", "admin", "--password", "x", "--out",
                        out().string()});
    EXPECT_EQ(r.status, 1);
    ASSERT_EQ(r.err.size(), 1u);
    const std::string reason = "vantrel-cli collect: the connection to " + server + " failed: No answer from ";
    EXPECT_EQ(r.err[0].rfind(reason, 0), 0u) << r.err[0];
    EXPECT_EQ(r.err[0].find("access denied"), std::string::npos) << r.err[0];
}

TEST_F(CliFixture, OtherFailuresExitWithOneAndAOneLineReason) {
    test::writeBytes(dir.path() / "bad.json", "{ \"namespaces\": 3 }");
    struct Case {
        const char* name;
        std::vector<std::string> args;
        const char* reason;
    };
    const Case cases[] = {
        {"no --out", {"--profile", kProfile}, "--out is required"},
        {"a login without a profile", {"--user", "admin", "--out", out().string()}, "need --profile"},
        {"a root and a profile", {"--root", "/", "--profile", kProfile, "--out", out().string()},
         "exclude each other"},
        {"unknown option", {"--profile", kProfile, "--out", out().string(), "--verbose"}, "unknown argument"},
        {"option without value", {"--profile", kProfile, "--out"}, "--out needs a value"},
        {"missing profile", {"--profile", (dir.path() / "none.json").string(), "--out", out().string()},
         "none.json: cannot read the profile"},
        {"malformed profile", {"--profile", (dir.path() / "bad.json").string(), "--out", out().string()},
         "bad.json: namespaces: expected an object"},
        {"unknown namespace on this computer",
         {"--profile", kProfile, "--namespace", "root\\other", "--out", out().string()}, "Invalid namespace"},
        {"report folder missing", {"--profile", kProfile, "--out", (dir.path() / "no" / "r").string()},
         "cannot write the report"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto r = run(c.args);
        EXPECT_EQ(r.status, 1);
        ASSERT_EQ(r.err.size(), 1u);
        EXPECT_NE(r.err[0].find(c.reason), std::string::npos) << r.err[0];
        EXPECT_FALSE(std::filesystem::exists(out()));
    }
    const auto r = run({"--profile", kProfile, "--out", (dir.path() / "no" / "r").string()});
    ASSERT_FALSE(r.out.empty());
    EXPECT_EQ(r.out.back(), "Unable to write the hardware report for ");
}
