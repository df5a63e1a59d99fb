// vantrel-cli query against an agent on loopback, with TLS and a login: one
// query reads what the node serves, --all gives a profile that stands in for
// the node in a collection, a refused login exits 2 like collect.

#include <gtest/gtest.h>

#include <sys/wait.h>

#include "agent/test_agent.h"
#include "providers/profile/profile_provider.h"
#include "support/run_program.h"
#include "support/temp_folder.h"

namespace vantrel {
namespace {

const std::string kProfile = VANTREL_COLLECT_TEST_DATA "/office_pc.json";

test::ProgramRun runCli(const std::filesystem::path& folder, const std::vector<std::string>& args) {
    return test::runProgram(VANTREL_CLI_PATH, args, folder);
}

std::shared_ptr<const wbem::Profile> officePc() {
    return std::make_shared<const wbem::Profile>(wbem::loadProfile(kProfile));
}

struct RemoteQuery : ::testing::Test {
    agent::test::TestAgent agent{std::make_shared<wbem::ProfileProvider>(officePc()), {},
                                 agent::LoginPolicy{.failureDelay = std::chrono::milliseconds(10)}};
    test::TempFolder dir;

    std::vector<std::string> login(const std::string& password) const {
        return {"query", "--server", agent.address(), "--user", "admin", "--password", password,
                "--trust", agent.certificate().string()};
    }
};

TEST_F(RemoteQuery, OneQueryPrintsTheRowsTheNodeServes) {
    auto args = login("secret");
    args.push_back("Select Name, Manufacturer From Win32_Processor");
    const auto r = runCli(dir.path(), args);
    ASSERT_EQ(r.status, 0) << r.err;

    // What the same profile answers in this process, written the same way.
    auto services = wbem::Locator(std::make_shared<wbem::ProfileProvider>(officePc()))
                        .ConnectServer("", "root\\cimv2", "", "");
    auto rows = services->ExecQuery("Select Name, Manufacturer From Win32_Processor");
    wbem::ProfileClass expected{"Win32_Processor", {}};
    while (auto row = rows->next())
        expected.rows.push_back({{{"Name", row->property("Name")}, {"Manufacturer", row->property("Manufacturer")}}});
    ASSERT_FALSE(expected.rows.empty());
    wbem::Profile profile;
    profile.namespaces.push_back({"root\\cimv2", {expected}});
    EXPECT_EQ(r.out, wbem::writeProfile(profile));
}

TEST_F(RemoteQuery, SelectStarGivesEveryPropertyHereAgainstAProfileAndThroughTheAgent) {
    const std::string everything = "Select * From Win32_Processor";
    auto args = login("secret");
    args.push_back(everything);
    const auto remote = runCli(dir.path(), args);
    ASSERT_EQ(remote.status, 0) << remote.err;
    EXPECT_NE(remote.out.find("\"Manufacturer\": \"GenuineExample\""), std::string::npos) << remote.out;
    EXPECT_NE(remote.out.find("\"Name\": \"Example CPU 3000 MHz\""), std::string::npos) << remote.out;
    const auto here = runCli(dir.path(), {"query", "Select * From Win32_OperatingSystem"});
    ASSERT_EQ(here.status, 0) << here.err;
    EXPECT_NE(here.out.find("\"Caption\""), std::string::npos) << here.out;
}

TEST_F(RemoteQuery, AllNamesTheClassesThatFailedAndPrintsTheRest) {
    // A node whose profile lacks the fan and the battery classes.
    std::string json = test::readBytes(kProfile);
    for (const std::string cls : {"Win32_Fan", "Win32_Battery"})
        json.replace(json.find('"' + cls + '"'), cls.size() + 2, '"' + cls + "Gone\"");
    agent::test::TestAgent partial(std::make_shared<wbem::ProfileProvider>(
        std::make_shared<const wbem::Profile>(wbem::parseProfile(json, "partial"))));
    const auto r = runCli(dir.path(), {"query", "--server", partial.address(), "--user", "admin", "--password",
                                       "secret", "--trust", partial.certificate().string(), "--all"});
    EXPECT_EQ(r.status, 3) << r.err;
    EXPECT_NE(r.err.find("Win32_Fan: "), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("Win32_Battery: "), std::string::npos) << r.err;
    EXPECT_NE(r.out.find("\"Win32_Processor\""), std::string::npos);
    EXPECT_EQ(r.out.find("\"Win32_Fan\""), std::string::npos);
}

TEST_F(RemoteQuery, AllGivesAProfileThatStandsInForTheNodeInACollection) {
    auto args = login("secret");
    args.push_back("--all");
    const auto r = runCli(dir.path(), args);
    ASSERT_EQ(r.status, 0) << r.err;
    test::writeBytes(dir.path() / "node.json", r.out);

    const auto fromNode = runCli(dir.path(), {"collect", "--profile", (dir.path() / "node.json").string(), "--out",
                                                  (dir.path() / "node.report").string()});
    ASSERT_EQ(fromNode.status, 0) << fromNode.err;
    const auto fromProfile =
        runCli(dir.path(), {"collect", "--profile", kProfile, "--out", (dir.path() / "office.report").string()});
    ASSERT_EQ(fromProfile.status, 0) << fromProfile.err;
    EXPECT_EQ(test::readBytes(dir.path() / "node.report"), test::readBytes(dir.path() / "office.report"));
}

TEST_F(RemoteQuery, ARefusedLoginExitsTwoWithAccessDenied) {
    auto args = login("wrong");
    args.push_back("Select Name From Win32_Bios");
    const auto r = runCli(dir.path(), args);
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.out.empty());
    EXPECT_EQ(r.err.rfind("vantrel-cli query: access denied to admin at " + agent.address() + ": ", 0), 0u) << r.err;
    EXPECT_NE(r.err.find("Access denied"), std::string::npos) << r.err;
}

TEST_F(RemoteQuery, FailuresExitOneWithAClearReason) {
    const std::string server = agent.address();
    struct Case {
        const char* name;
        std::vector<std::string> args;
        const char* reason;
    };
    const Case cases[] = {
        {"untrusted certificate",
         {"query", "--server", server, "--user", "admin", "--password", "secret", "Select Name From Win32_Bios"},
         "not trusted"},
        {"unknown class", [&] { auto a = login("secret"); a.push_back("Select Name From Win32_Nothing"); return a; }(),
         "Win32_Nothing"},
        {"both kinds of HTTP",
         {"query", "--server", server, "--insecure-http", "--negotiate-http", "Select Name From Win32_Bios"},
         "exclude each other"},
        {"Negotiate on HTTPS and on HTTP",
         {"query", "--server", server, "--negotiate", "--negotiate-http", "Select Name From Win32_Bios"},
         "exclude each other"},
        {"Negotiate without a server", {"query", "--negotiate", "--all"}, "need --server"},
        {"a root and a server", {"query", "--server", server, "--root", "/", "--all"}, "exclude each other"},
        {"a login without a server", {"query", "--user", "admin", "--all"}, "need --server"},
        {"a trusted certificate without a server", {"query", "--trust", "c.pem", "--all"}, "need --server"},
        {"a server without its value", {"query", "--all", "--server"}, "--server needs a value"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto r = runCli(dir.path(), c.args);
        EXPECT_EQ(r.status, 1);
        EXPECT_TRUE(r.out.empty());
        EXPECT_NE(r.err.find(c.reason), std::string::npos) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    }
}

}  // namespace
}  // namespace vantrel
