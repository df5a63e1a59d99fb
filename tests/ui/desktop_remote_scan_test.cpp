// The desktop program scans a node elsewhere through its WS-Management
// provider, reached as the node's connection settings say: an agent on
// loopback whose self-signed certificate only that node's record trusts.

#include <gtest/gtest.h>

#include "agent/test_agent.h"
#include "providers/profile/profile_provider.h"
#include "support/temp_folder.h"
#include "ui/desktop_app.h"
#include "ui/main_window.h"
#include "ui/qt_ui_services.h"

namespace vantrel::ui {
namespace {

const std::string kSettings = "\r\n\r\n25\r\n0\r\n0\r\n0\r\nNAME\r\n0\r\nroot\\cimv2\r\n";

class SilentQtUi : public QtUiServices {
public:
    MsgAnswer messageBox(const std::string&, const std::string&, MsgIcon, MsgButtons) override { return MsgAnswer::Ok; }
};

// Starts the program on a folder whose one node is the agent, scans it and
// says how the scan went.
ScanStatus scanTheAgent(const agent::test::TestAgent& agent, const std::optional<std::string>& connections) {
    test::TempFolder dir;
    test::writeBytes(dir.path() / "vantrel.ini", kSettings);
    test::writeBytes(dir.path() / "lg.ini",
                     "AGENT\r\n" + agent.address() + "\r\nAGENT\r\nTrue\r\nadmin\r\nsecret\r\nFalse\r\n");
    if (connections) test::writeBytes(dir.path() / "connections.ini", *connections);
    SilentQtUi ui;
    DesktopSession session(dir.path(), ui);
    EXPECT_TRUE(session.start());
    session.state().domain.nodes.currentNode = 1;
    session.scans().scanSelectedNode();
    session.scans().waitUntilFinished();
    const ScanStatus status = session.state().domain.nodes.node(1).scanStatus.value();
    EXPECT_EQ(std::filesystem::exists(dir.path() / "AGENT" / "report"), status == ScanStatus::Scanned);
    session.main().close();
    return status;
}

TEST(DesktopRemoteScan, TheNodesTrustedCertificateReachesTheProvider) {
    agent::test::TestAgent agent(std::make_shared<wbem::ProfileProvider>(std::make_shared<const wbem::Profile>(
        wbem::loadProfile(std::string(UI_FIXTURES) + "/office_pc.json"))));
    // The system's authorities do not know the agent's own certificate.
    EXPECT_EQ(scanTheAgent(agent, std::nullopt), ScanStatus::AccessDenied);
    EXPECT_EQ(scanTheAgent(agent, "AGENT\r\nHTTPS\r\n" + agent.certificate().string() + "\r\n"), ScanStatus::Scanned);
    // A record for another node changes nothing for this one.
    EXPECT_EQ(scanTheAgent(agent, "OTHER\r\nHTTPS\r\n" + agent.certificate().string() + "\r\n"),
              ScanStatus::AccessDenied);
    // Plain HTTP to a TLS listener fails as well: the transport is taken too.
    EXPECT_EQ(scanTheAgent(agent, "AGENT\r\nPLAIN-HTTP\r\n" + agent.certificate().string() + "\r\n"),
              ScanStatus::AccessDenied);
}

}  // namespace
}  // namespace vantrel::ui
