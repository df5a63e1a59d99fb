// The agent against someone who can reach its port and does not play fair:
// bodies larger than the limit in chunks, logins before bodies.

#include <gtest/gtest.h>
#include <httplib.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <optional>
#include <thread>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <openssl/ssl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include "providers/profile/profile_provider.h"
#include "providers/wsman/request_envelopes.h"
#include "providers/wsman/wsman_provider.h"
#include "test_agent.h"

namespace vantrel::agent::test {
namespace {

using namespace std::chrono_literals;

std::shared_ptr<wbem::Provider> officePc() {
    return std::make_shared<wbem::ProfileProvider>(
        std::make_shared<const wbem::Profile>(wbem::loadProfile(VANTREL_COLLECT_TEST_DATA "/office_pc.json")));
}

long residentKib() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    return 0;
}

// The largest growth of this process's memory while `work` runs.
long peakGrowthKib(const std::function<void()>& work) {
    const long before = residentKib();
    std::atomic<bool> done{false};
    std::atomic<long> peak{before};
    std::thread sampler([&] {
        while (!done) {
            peak = std::max(peak.load(), residentKib());
            std::this_thread::sleep_for(5ms);
        }
    });
    work();
    done = true;
    sampler.join();
    return peak - before;
}

// A chunked POST of `mebibytes` MiB of nonsense; the status, or -1 when the agent cut it off.
int chunkedUpload(const TestAgent& agent, std::size_t mebibytes, bool withLogin) {
    httplib::SSLClient client("127.0.0.1", agent.port());
    client.enable_server_certificate_verification(false);
    client.set_connection_timeout(5);
    client.set_read_timeout(20);
    client.set_write_timeout(20);
    httplib::Headers headers;
    if (withLogin) headers.emplace("Authorization", "Basic YWRtaW46c2VjcmV0");  // admin:secret
    const std::string chunk(1 << 20, 'x');
    auto result = client.Post(
        "/wsman", headers,
        [&, sent = std::size_t{0}](std::size_t, httplib::DataSink& sink) mutable {
            if (sent++ >= mebibytes) {
                sink.done();
                return true;
            }
            return sink.write(chunk.data(), chunk.size());
        },
        "application/soap+xml");
    return result ? result->status : -1;
}

bool agentAnswers(const TestAgent& agent) {
    wsman::NodeConnectionSettings s;
    s.trustFile = agent.certificate().string();
    s.requestTimeout = 10s;
    wsman::WsmanProvider client;
    client.setNodeSettings(agent.address(), s);
    auto services = client.connect({agent.address(), "root\\cimv2", "admin", "secret"});
    auto rows = services->ExecQuery("Select Name From Win32_ComputerSystem");
    auto row = rows->next();
    return row && row->property("Name") == wbem::Value::text("LAB-07");
}

// A client from 127.0.0.2 that completes TLS, then sends its headers one
// byte a second, which no read timeout would ever end.
class SlowClient {
public:
    SlowClient(int port, std::atomic<bool>& stop) {
        thread_ = std::thread([port, &stop] {
            const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
            sockaddr_in from{};
            from.sin_family = AF_INET;
            ::inet_pton(AF_INET, "127.0.0.2", &from.sin_addr);
            sockaddr_in to{};
            to.sin_family = AF_INET;
            to.sin_port = htons(static_cast<uint16_t>(port));
            ::inet_pton(AF_INET, "127.0.0.1", &to.sin_addr);
            const timeval limit{20, 0};
            ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
            ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
            SSL_CTX* ctx = SSL_CTX_new(TLS_client_method());
            SSL* ssl = SSL_new(ctx);
            if (::bind(fd, reinterpret_cast<sockaddr*>(&from), sizeof from) == 0 &&
                ::connect(fd, reinterpret_cast<sockaddr*>(&to), sizeof to) == 0 && SSL_set_fd(ssl, fd) == 1 &&
                SSL_connect(ssl) == 1) {
                const std::string request = "POST /wsman HTTP/1.1\r\nHost: x\r\nContent-Length: 10\r\n";
                for (std::size_t i = 0; !stop && i < request.size(); ++i) {
                    if (SSL_write(ssl, &request[i], 1) != 1) break;
                    std::this_thread::sleep_for(1s);
                }
            }
            SSL_free(ssl);
            SSL_CTX_free(ctx);
            ::close(fd);
        });
    }
    ~SlowClient() { thread_.join(); }

private:
    std::thread thread_;
};

TEST(AgentUnderAttack, SlowClientsHoldNoWorkerForLongAndStopIsPrompt) {
    std::atomic<bool> stop{false};
    std::vector<std::unique_ptr<SlowClient>> slow;
    ServerSettings settings;
    settings.requestDeadline = 3s;
    std::optional<TestAgent> agent;
    agent.emplace(officePc(), settings);
    for (int i = 0; i < 70; ++i) slow.push_back(std::make_unique<SlowClient>(agent->port(), stop));
    std::this_thread::sleep_for(1500ms);  // they have all connected and hold what they can
    auto started = std::chrono::steady_clock::now();
    EXPECT_TRUE(agentAnswers(*agent));
    EXPECT_LT(std::chrono::steady_clock::now() - started, 5s);
    // Stopping does not wait for the slow clients, which are still there.
    started = std::chrono::steady_clock::now();
    agent.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - started, 2s);
    stop = true;
    slow.clear();
}

TEST(AgentUnderAttack, AnUnauthenticatedIdentifyIsAnsweredAndNothingElse) {
    TestAgent agent(officePc());
    httplib::SSLClient client("127.0.0.1", agent.port());
    client.enable_server_certificate_verification(false);
    const httplib::Headers identify{{"WSMANIDENTIFY", "unauthenticated"}};
    auto answer = client.Post("/wsman", identify, wsman::identifyRequest(), "application/soap+xml");
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->status, 200);
    EXPECT_NE(answer->body.find("IdentifyResponse"), std::string::npos);
    wsman::RequestHeader h;
    h.to = "https://localhost/wsman";
    h.resourceUri = wsman::wmiResourceUri("root\\cimv2");
    h.maxEnvelopeSize = 512000;
    answer = client.Post("/wsman", identify, wsman::enumerateRequest(h, "Select Name From Win32_ComputerSystem", 1),
                         "application/soap+xml");
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->status, 401);
}

TEST(AgentUnderAttack, ChunkedBodiesNeverGetPastTheLimitOrTheLogin) {
    TestAgent agent(officePc());
    for (const bool withLogin : {false, true}) {
        SCOPED_TRACE(withLogin ? "with a login" : "without a login");
        int status = 0;
        const long growth = peakGrowthKib([&] { status = chunkedUpload(agent, 192, withLogin); });
        // Refused at the headers (401), or at the limit (413, or the connection closed under the sender).
        if (status != -1) {
            EXPECT_EQ(status, withLogin ? 413 : 401);
        }
        EXPECT_LT(growth, 120 * 1024) << "KiB";
        EXPECT_TRUE(agentAnswers(agent));
    }
}

}  // namespace
}  // namespace vantrel::agent::test

namespace vantrel::agent::test {
namespace {

TEST(AgentUnderAttack, StateFilesAreNeverWrittenThroughALinkAndTheFolderIsPrivate) {
    TemporaryFolder folder;
    const auto state = folder.path() / "state";
    const auto outside = folder.path() / "outside.txt";
    {
        std::ofstream(outside) << "not the agent's";
    }
    std::filesystem::create_directory(state);
    std::filesystem::create_symlink(outside, state / "agent-key.pem");
    std::filesystem::create_symlink(outside, state / "agent-cert.pem");
    const CertificateFiles files = ensureSelfSignedCertificate(state);
    EXPECT_TRUE(files.created);
    std::ifstream in(outside);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "not the agent's");
    for (const auto& file : {files.key, files.certificate})
        EXPECT_EQ(std::filesystem::symlink_status(file).type(), std::filesystem::file_type::regular) << file;
    EXPECT_EQ(std::filesystem::status(files.key).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    // No temporary file is left beside them.
    int entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(state)) ++entries;
    EXPECT_EQ(entries, 2);

    // A new state folder is private whatever the umask.
    const mode_t old = ::umask(0);
    const auto fresh = folder.path() / "fresh" / "state";
    ensureSelfSignedCertificate(fresh);
    ::umask(old);
    EXPECT_EQ(std::filesystem::status(fresh).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_all);
}

}  // namespace
}  // namespace vantrel::agent::test
