// vantrel-cli collect against an agent on loopback: the remote report equals
// the local one byte for byte, refused logins exit 2 with "Access denied",
// untrusted certificates and a node that breaks off fail clearly and keep the
// previous report.

#include <gtest/gtest.h>
#include <httplib.h>
#include <sys/wait.h>

#include <atomic>
#include <fstream>

#include "providers/profile/profile_provider.h"
#include "support/run_program.h"
#include "test_agent.h"

namespace vantrel::agent::test {
namespace {

const std::string kProfile = VANTREL_COLLECT_TEST_DATA "/office_pc.json";

// vantrel-cli collect with the arguments.
vantrel::test::ProgramRun runCli(const std::filesystem::path& folder, std::vector<std::string> args) {
    args.insert(args.begin(), "collect");
    return vantrel::test::runProgram(VANTREL_CLI, args, folder);
}

std::shared_ptr<wbem::Provider> officePc() {
    return std::make_shared<wbem::ProfileProvider>(std::make_shared<const wbem::Profile>(wbem::loadProfile(kProfile)));
}

TEST(CliRemoteCollect, RemoteReportEqualsTheLocalOneByteForByte) {
    TestAgent agent(officePc());
    const auto dir = agent.folder();
    const auto local = runCli(dir, {"--profile", kProfile, "--out", (dir / "local.report").string()});
    ASSERT_EQ(local.status, 0) << local.err;
    const auto remote = runCli(dir, {"--server", agent.address(), "--user", "admin", "--password", "secret",
                                          "--trust", agent.certificate().string(), "--out", (dir / "remote.report").string()});
    ASSERT_EQ(remote.status, 0) << remote.err;
    EXPECT_NE(remote.out.find("Connected to admin" + agent.address()), std::string::npos) << remote.out;
    const std::string localReport = vantrel::test::readBytes(dir / "local.report");
    EXPECT_GT(localReport.size(), 200u);
    EXPECT_EQ(vantrel::test::readBytes(dir / "remote.report"), localReport);
}

TEST(CliRemoteCollect, WrongPasswordExitsTwoWithAccessDenied) {
    TestAgent agent(officePc(), {}, LoginPolicy{.failureDelay = std::chrono::milliseconds(10)});
    const auto dir = agent.folder();
    const auto r = runCli(dir, {"--server", agent.address(), "--user", "admin", "--password", "wrong", "--trust",
                                     agent.certificate().string(), "--out", (dir / "r.report").string()});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.out.find("Access denied to admin" + agent.address()), std::string::npos) << r.out;
    EXPECT_NE(r.err.find("Access denied"), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(dir / "r.report"));
}

TEST(CliRemoteCollect, UntrustedCertificateFailsClearly) {
    TestAgent agent(officePc());
    const auto dir = agent.folder();
    const auto r = runCli(dir, {"--server", agent.address(), "--user", "admin", "--password", "secret", "--out",
                                     (dir / "r.report").string()});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("certificate"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("not trusted"), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(dir / "r.report"));
}

// The agent's service over plain HTTP, cut off after a number of requests:
// the collection stops with a clear reason and the old report stays.
TEST(CliRemoteCollect, ANodeThatBreaksOffMidCollectionKeepsThePreviousReport) {
    TemporaryFolder dir;
    WsmanService service(officePc(), "test");
    std::atomic<int> requests{0};
    httplib::Server server;
    server.set_tcp_nodelay(true);
    server.Post("/wsman", [&](const httplib::Request& req, httplib::Response& res) {
        if (++requests > 12) {
            res.set_content_provider(4096, "application/soap+xml", [](size_t, size_t, httplib::DataSink& sink) {
                sink.write("<s:Env", 6);
                return false;
            });
            return;
        }
        AgentReply reply = service.handle(req.body, "admin");
        res.status = reply.status;
        res.set_content(reply.body, "application/soap+xml");
    });
    const int port = server.bind_to_any_port("127.0.0.1");
    std::thread thread([&] { server.listen_after_bind(); });
    while (!server.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));

    const auto report = dir.path() / "node.report";
    std::ofstream(report) << "previous report\r\n";
    const auto r = runCli(dir.path(), {"--server", "127.0.0.1:" + std::to_string(port), "--user", "admin",
                                            "--password", "secret", "--insecure-http", "--out", report.string()});
    server.stop();
    thread.join();
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("the collection stopped"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("closed before the answer was complete"), std::string::npos) << r.err;
    EXPECT_EQ(vantrel::test::readBytes(report), "previous report\r\n");
}

}  // namespace
}  // namespace vantrel::agent::test
