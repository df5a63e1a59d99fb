// The WS-Management client against the agent on loopback, over TLS with
// logins: the same rows as the provider behind the agent gives directly,
// refused logins, untrusted certificates, and an agent that survives
// malformed requests and floods.

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "providers/profile/profile_provider.h"
#include "providers/wsman/wsman_provider.h"
#include "test_agent.h"
#include "wbem/wbem_error.h"

namespace vantrel::agent::test {
namespace {

using namespace std::chrono_literals;

std::shared_ptr<wbem::Provider> officePc() {
    return std::make_shared<wbem::ProfileProvider>(
        std::make_shared<const wbem::Profile>(wbem::loadProfile(VANTREL_COLLECT_TEST_DATA "/office_pc.json")));
}

std::shared_ptr<wsman::WsmanProvider> clientFor(const TestAgent& agent, bool trusted = true,
                                                std::chrono::milliseconds connectTimeout = 5s) {
    wsman::NodeConnectionSettings s;
    s.connectTimeout = connectTimeout;
    if (trusted) s.trustFile = agent.certificate().string();
    s.requestTimeout = 10s;
    auto provider = std::make_shared<wsman::WsmanProvider>();
    provider->setNodeSettings(agent.address(), s);
    return provider;
}

std::vector<std::vector<wbem::Value>> rowsOf(wbem::Services& services, const std::string& wql,
                                            const std::vector<std::string>& properties) {
    std::vector<std::vector<wbem::Value>> out;
    auto set = services.ExecQuery(wql);
    while (auto row = set->next()) {
        out.emplace_back();
        for (const auto& p : properties) out.back().push_back(row->property(p));
    }
    return out;
}

struct Query {
    std::string wql;
    std::vector<std::string> properties;
};

const std::vector<Query> kQueries{
    {"Select Name From Win32_ComputerSystem", {"Name"}},
    {"Select NumberOfProcessors From Win32_ComputerSystem", {"NumberOfProcessors"}},
    {"Select Manufacturer From Win32_BaseBoard", {"Manufacturer"}},
    {"Select Name,Manufacturer From Win32_Bios", {"Name", "Manufacturer"}},
    {"Select InterfaceType, Model From Win32_DiskDrive", {"InterfaceType", "Model"}},
    {"Select Name,Status From Win32_SerialPort", {"Name", "Status"}},
    {"Select FormFactor From Win32_PhysicalMemory", {"FormFactor"}},
    {"Select SlotDesignation, CurrentUsage From Win32_SystemSlot", {"SlotDesignation", "CurrentUsage"}},
    {"Select ChassisTypes, LockPresent From Win32_SystemEnclosure", {"ChassisTypes", "LockPresent"}},
    {"Select AdapterType, Name, Manufacturer From Win32_NetworkAdapter", {"AdapterType", "Name", "Manufacturer"}},
    {"Select Description From Win32_Battery", {"Description"}},
};

TEST(AgentEndToEnd, RemoteRowsEqualTheProviderBehindTheAgent) {
    auto local = officePc();
    TestAgent agent(local);
    auto remote = clientFor(agent);
    auto localServices = local->connect({"", "root\\cimv2", "", ""});
    auto remoteServices = remote->connect({agent.address(), "root\\cimv2", "admin", "secret"});
    for (const Query& q : kQueries) {
        EXPECT_EQ(rowsOf(*remoteServices, q.wql, q.properties), rowsOf(*localServices, q.wql, q.properties)) << q.wql;
    }
    // An unknown class fails while enumerating, as it does locally.
    auto set = remoteServices->ExecQuery("Select Name From Win32_Nothing");
    try {
        set->next();
        FAIL() << "no error";
    } catch (const wbem::WbemError& e) {
        EXPECT_EQ(e.code(), wbem::ErrorCode::InvalidClass) << e.what();
    }
}

TEST(AgentEndToEnd, WrongPasswordIsAccessDenied) {
    TestAgent agent(officePc(), {}, LoginPolicy{.failureDelay = 10ms});
    auto remote = clientFor(agent);
    for (const auto& [user, password] : std::vector<std::pair<std::string, std::string>>{
             {"admin", "wrong"}, {"nobody", "secret"}, {"", ""}}) {
        try {
            remote->connect({agent.address(), "root\\cimv2", user, password});
            FAIL() << "connected as " << user;
        } catch (const wbem::WbemError& e) {
            EXPECT_EQ(e.code(), wbem::ErrorCode::AccessDenied) << e.what();
        }
    }
}

TEST(AgentEndToEnd, AnUntrustedCertificateFailsClearly) {
    TestAgent agent(officePc());
    auto remote = clientFor(agent, false);
    try {
        remote->connect({agent.address(), "root\\cimv2", "admin", "secret"});
        FAIL() << "connected";
    } catch (const wbem::WbemError& e) {
        EXPECT_EQ(e.code(), wbem::ErrorCode::ConnectionFailed);
        EXPECT_NE(std::string(e.what()).find("certificate"), std::string::npos) << e.what();
    }
    // Another agent's certificate does not vouch for this one either.
    TestAgent other(officePc());
    wsman::NodeConnectionSettings s;
    s.trustFile = other.certificate().string();
    wsman::WsmanProvider wrongTrust;
    wrongTrust.setNodeSettings(agent.address(), s);
    EXPECT_THROW(wrongTrust.connect({agent.address(), "root\\cimv2", "admin", "secret"}), wbem::WbemError);
}

// The agent on every address of both families: reached by IPv4, by IPv6 in
// brackets and by name, its certificate valid for each.
TEST(AgentEndToEnd, AnswersEveryAddressForm) {
    ServerSettings settings;
    settings.host = "::";
    TestAgent agent(officePc(), settings);
    const std::string port = std::to_string(agent.port());
    for (const std::string& address : {"127.0.0.1:" + port, "[::1]:" + port, "localhost:" + port}) {
        wsman::NodeConnectionSettings s;
        s.trustFile = agent.certificate().string();
        wsman::WsmanProvider remote;
        remote.setNodeSettings(address, s);
        try {
            auto services = remote.connect({address, "root\\cimv2", "admin", "secret"});
            EXPECT_EQ(rowsOf(*services, "Select Name From Win32_ComputerSystem", {"Name"}).size(), 1u) << address;
        } catch (const std::exception& e) {
            ADD_FAILURE() << address << ": " << e.what();
        }
    }
}

int rawConnect(int port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<uint16_t>(port));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

TEST(AgentEndToEnd, SurvivesGarbageSlowClientsAndFloods) {
    ServerSettings settings;
    settings.maxConnections = 4;
    settings.maxConnectionsPerAddress = 4;  // every client comes from 127.0.0.1 here
    settings.readTimeout = 1s;
    settings.keepAliveTimeout = 1s;
    settings.maxRequestBytes = 64 * 1024;
    TestAgent agent(officePc(), settings);

    // Garbage instead of a TLS handshake, and clients that connect and say nothing.
    std::vector<int> idle;
    for (int i = 0; i < 12; ++i) {
        const int fd = rawConnect(agent.port());
        ASSERT_GE(fd, 0);
        if (i % 2 == 0) {
            const char garbage[] = "\x16\x03\x01\xff\xffGET / HTTP/1.1\r\n\r\n";
            (void)!::write(fd, garbage, sizeof garbage);
        }
        idle.push_back(fd);
    }
    // An oversized request, over TLS with a good login. Clients wait their
    // turn in the listen queue, so they get more time to connect here.
    auto remote = clientFor(agent, true, 20s);
    {
        auto services = remote->connect({agent.address(), "root\\cimv2", "admin", "secret"});
        const std::string huge = "Select Name From Win32_Fan where x = '" + std::string(100 * 1024, 'a') + "'";
        EXPECT_THROW(services->ExecQuery(huge), wbem::WbemError);
    }
    // Many clients at once, more than the agent has workers: all get their rows.
    std::atomic<int> good{0};
    std::vector<std::thread> clients;
    for (int i = 0; i < 16; ++i) {
        clients.emplace_back([&] {
            try {
                auto services = remote->connect({agent.address(), "root\\cimv2", "admin", "secret"});
                auto rows = rowsOf(*services, "Select Name From Win32_ComputerSystem", {"Name"});
                if (rows.size() == 1 && rows[0][0] == wbem::Value::text("LAB-07")) ++good;
            } catch (const std::exception& e) {
                ADD_FAILURE() << e.what();
            }
        });
    }
    for (auto& t : clients) t.join();
    for (int fd : idle) ::close(fd);
    EXPECT_EQ(good.load(), 16);
}

}  // namespace
}  // namespace vantrel::agent::test
