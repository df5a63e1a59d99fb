// The client against answers recorded from real Windows servers, replayed by
// a local server: Enumerate gives the recorded EnumerateResponse, each Pull
// the next recorded PullResponse, and every Pull must carry the context of
// the answer before it.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>

#include "providers/wsman/wsman_provider.h"
#include "scripted_server.h"
#include "wbem/wbem_error.h"

namespace vantrel::wsman::test {
namespace {

namespace fs = std::filesystem;

const fs::path kFixtures = fs::path(WSMAN_FIXTURES);

std::string readFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string between(const std::string& text, const std::string& open, const std::string& close) {
    const auto a = text.find(open);
    if (a == std::string::npos) return {};
    const auto b = text.find(close, a + open.size());
    return text.substr(a + open.size(), b - a - open.size());
}

// Serves <prefix>_000.xml, _001.xml, ... in turn and checks the contexts.
class Replay {
public:
    explicit Replay(fs::path prefix) : prefix_(std::move(prefix)) {}

    void answer(const httplib::Request& req, httplib::Response& res) {
        std::lock_guard lock(mutex_);
        if (isAction(req, "Identify")) return res.set_content(identifyAnswer(), "application/soap+xml");
        if (isAction(req, "Enumerate")) {
            lastFilter = between(req.body, "WQL\">", "</w:Filter>");
            next_ = 0;
        } else if (isAction(req, "Pull")) {
            const std::string sent = between(req.body, "<n:EnumerationContext>", "</n:EnumerationContext>");
            if (sent != expectedContext_) ++contextMismatches;
            ++pulls;
        }
        char name[16];
        std::snprintf(name, sizeof name, "_%03d.xml", next_++);
        const std::string body = readFile(prefix_.string() + name);
        expectedContext_ = between(body, "EnumerationContext>", "</");
        res.set_content(body, "application/soap+xml");
    }

    std::string lastFilter;
    int pulls = 0;
    int contextMismatches = 0;

private:
    fs::path prefix_;
    std::mutex mutex_;
    int next_ = 0;
    std::string expectedContext_;
};

struct Collected {
    std::vector<std::unique_ptr<wbem::Row>> rows;
};

Collected collect(const std::string& address, const std::string& wql) {
    WsmanProvider provider;
    NodeConnectionSettings settings;
    settings.plainHttp = true;
    provider.setNodeSettings(address, settings);
    auto services = provider.connect({address, "root\\cimv2", "admin", "pw"});
    auto set = services->ExecQuery(wql);
    Collected out;
    while (auto row = set->next()) out.rows.push_back(std::move(row));
    return out;
}

class RecordedServers : public ::testing::Test {
protected:
    void SetUp() override {
        if (!fs::is_directory(kFixtures)) GTEST_SKIP() << "no recorded answers in " << kFixtures;
    }
};

int count(const std::string& text, const std::string& part) {
    int n = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

// Class elements of items open with their own namespace declarations; their
// properties do not.
int countItemElements(const std::string& body) {
    int n = 0;
    for (auto at = body.find("<p:"); at != std::string::npos; at = body.find("<p:", at + 1)) {
        const auto end = body.find('>', at);
        if (body.substr(at, end - at).find(" xmlns:p=") != std::string::npos) ++n;
    }
    return n;
}

// Every recorded enumeration of both servers: as many rows as the recording
// holds items, through every Pull, with the latest context sent each time.
TEST_F(RecordedServers, EveryRecordedEnumerationDeliversAllItemsWithTheLatestContext) {
    int enumerations = 0;
    for (const char* recording : {"server_2003", "server_2008"}) {
        for (const auto& entry : fs::directory_iterator(kFixtures / "txwinrm" / recording)) {
            const std::string file = entry.path().filename().string();
            if (file.size() < 8 || file.substr(file.size() - 8) != "_000.xml") continue;
            const std::string stem = file.substr(0, file.size() - 8);
            const bool star = stem.size() > 5 && stem.substr(stem.size() - 5) == "_star";
            const std::string className = stem.substr(0, stem.rfind('_'));
            int items = 0, files = 0;
            for (;; ++files) {
                char name[16];
                std::snprintf(name, sizeof name, "_%03d.xml", files);
                const fs::path part = entry.path().parent_path() / (stem + name);
                if (!fs::exists(part)) break;
                const std::string body = readFile(part);
                // Items are the children of w:Items / n:Items: class elements (a
                // subclass among them, at times) declaring their namespace, or fragments.
                items += star ? countItemElements(body)
                              : count(body, "<w:XmlFragment");
            }
            Replay replay(entry.path().parent_path() / stem);
            ScriptedServer server([&](const auto& req, auto& res) { replay.answer(req, res); });
            const std::string wql = "Select * From " + className;
            Collected got = collect(server.address(), wql);
            SCOPED_TRACE(std::string(recording) + "/" + stem);
            EXPECT_EQ(static_cast<int>(got.rows.size()), items);
            EXPECT_EQ(replay.pulls, files - 1);
            EXPECT_EQ(replay.contextMismatches, 0);
            EXPECT_EQ(replay.lastFilter, wql);
            ++enumerations;
        }
    }
    EXPECT_GT(enumerations, 20);
}

TEST_F(RecordedServers, ValuesComeAsTheManagementInterfaceGivesThem) {
    Replay replay(kFixtures / "txwinrm/server_2008/Win32_SystemEnclosure_all");
    ScriptedServer server([&](const auto& req, auto& res) { replay.answer(req, res); });
    Collected got = collect(server.address(), "Select ChassisTypes, LockPresent, Manufacturer, Model From Win32_SystemEnclosure");
    ASSERT_EQ(got.rows.size(), 1u);
    const wbem::Row& row = *got.rows[0];
    // One chassis code on the wire, an array all the same.
    EXPECT_EQ(row.property("ChassisTypes"), wbem::Value::array({wbem::Value::integer(1)}));
    EXPECT_EQ(row.property("LockPresent"), wbem::Value::boolean(false));
    EXPECT_EQ(row.property("manufacturer"), wbem::Value::text("Xen"));
    EXPECT_TRUE(row.property("Model").isAbsent());
    EXPECT_EQ(row.property("SerialNumber"), wbem::Value::text(""));
    EXPECT_THROW(row.property("NoSuchProperty"), wbem::WbemError);
}

TEST_F(RecordedServers, DatetimesAndArraysOfStarQueries) {
    Replay os(kFixtures / "txwinrm/server_2008/Win32_OperatingSystem_star");
    ScriptedServer osServer([&](const auto& req, auto& res) { os.answer(req, res); });
    Collected got = collect(osServer.address(), "Select * From Win32_OperatingSystem");
    ASSERT_EQ(got.rows.size(), 1u);
    EXPECT_EQ(got.rows[0]->property("InstallDate"), wbem::Value::text("20130309030625.000000+000"));
    EXPECT_EQ(got.rows[0]->property("LastBootUpTime"), wbem::Value::text("20130415162839.500000+000"));

    Replay net(kFixtures / "txwinrm/server_2008/Win32_NetworkAdapterConfiguration_star");
    ScriptedServer netServer([&](const auto& req, auto& res) { net.answer(req, res); });
    got = collect(netServer.address(), "Select * From Win32_NetworkAdapterConfiguration");
    bool sawAddress = false;
    for (const auto& row : got.rows) {
        wbem::Value ip;
        try {
            ip = row->property("IPAddress");
        } catch (const wbem::WbemError&) {
            continue;  // this server leaves the property out of some items
        }
        if (ip.isAbsent()) continue;
        ASSERT_EQ(ip.kind(), wbem::Value::Kind::Array);
        sawAddress = sawAddress || ip.elements().front() == wbem::Value::text("10.30.40.69");
    }
    EXPECT_TRUE(sawAddress);
}

struct FaultCase {
    const char* file;
    wbem::ErrorCode code;
    const char* textPart;
};

class RecordedFaults : public RecordedServers, public ::testing::WithParamInterface<FaultCase> {};

// A recorded fault as the answer to Enumerate: the query's error surfaces
// while enumerating, with the fault's own text.
TEST_P(RecordedFaults, BecomeErrorsWithTheirOwnText) {
    const std::string body = readFile(kFixtures / GetParam().file);
    ScriptedServer server([&](const httplib::Request& req, httplib::Response& res) {
        if (isAction(req, "Identify")) return res.set_content(identifyAnswer(), "application/soap+xml");
        res.status = 500;
        res.set_content(body, "application/soap+xml");
    });
    WsmanProvider provider;
    provider.setNodeSettings(server.address(), NodeConnectionSettings{.plainHttp = true});
    auto services = provider.connect({server.address(), "root\\cimv2", "u", "p"});
    auto rows = services->ExecQuery("Select Name From Win32_Processa");
    try {
        rows->next();
        FAIL() << "no error";
    } catch (const wbem::WbemError& e) {
        EXPECT_EQ(e.code(), GetParam().code);
        EXPECT_NE(std::string(e.what()).find(GetParam().textPart), std::string::npos) << e.what();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Windows, RecordedFaults,
    ::testing::Values(
        FaultCase{"winrb/soap_fault_v2.xml", wbem::ErrorCode::InvalidClass,
                  "The specified class does not exist in the given namespace."},
        FaultCase{"winrb/soap_fault_v1.xml", wbem::ErrorCode::InvalidClass, "class does not exist"},
        FaultCase{"winrb/wmi_error_v2.xml", wbem::ErrorCode::Failed, "maximum number of 30 concurrent shells"},
        FaultCase{"winrb/soap_fault_omi.xml", wbem::ErrorCode::Failed, "instance name parameter is missing"},
        FaultCase{"txwinrm/data_error/max_concurrent.xml", wbem::ErrorCode::Failed,
                  "maximum number of 15 concurrent operations"}));

}  // namespace
}  // namespace vantrel::wsman::test
