// The desktop program meets SSH nodes whose host key it does not know: it
// asks with the key's fingerprint; refusing records nothing, accepting
// records the key in known_hosts and scans the node again; a changed key is
// refused without a question. Against the real OpenSSH servers ssh_nodes.sh
// starts (run through it; skipped otherwise).

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <cstdlib>

#include "support/run_program.h"
#include "ui/desktop_app.h"
#include "ui/host_key_dialog.h"
#include "ui/main_window.h"
#include "ui/qt_ui_services.h"

namespace vantrel::ui {
namespace {

namespace fs = std::filesystem;

const std::string kSettings = "admin\r\nsecret\r\n25\r\n0\r\n0\r\n0\r\nNAME\r\n0\r\nroot\\cimv2\r\n";
// Two Linux nodes over SSH, logged in as root with the test's key: one
// server, and the same name "reinstalled" with another key on port 2223.
const std::string kTable = "LINUX-A\r\n127.0.0.1:2222\r\nLINUX-A\r\nTrue\r\nroot\r\nunused\r\nFalse\r\n"
                           "LINUX-B\r\n127.0.0.1:2223\r\nLINUX-B\r\nTrue\r\nroot\r\nunused\r\nFalse\r\n";
const std::string kConnections = "LINUX-A\r\nSSH\r\n\r\nLINUX-B\r\nSSH\r\n\r\n";

class MessageUi : public QtUiServices {
public:
    std::vector<std::string> messages;
    MsgAnswer messageBox(const std::string& text, const std::string&, MsgIcon, MsgButtons) override {
        messages.push_back(text);
        return MsgAnswer::Ok;
    }
};

fs::path sshNodes() {
    const char* dir = std::getenv("VANTREL_SSH_DIR");
    return dir ? dir : "";
}

std::string fingerprint(const std::string& publicKey) {
    const auto r = test::runProgram("ssh-keygen", {"-lf", (sshNodes() / publicKey).string()}, sshNodes());
    const auto at = r.out.find("SHA256:");
    return at == std::string::npos ? r.out : r.out.substr(at, r.out.find(' ', at) - at);
}

struct DesktopSshHostKey : ::testing::Test {
    test::TempFolder home;
    MessageUi ui;
    std::unique_ptr<DesktopSession> session;
    fs::path knownHosts;

    void SetUp() override {
        if (sshNodes().empty()) GTEST_SKIP() << "run through ssh_nodes.sh";
        // ssh_nodes.sh gives the program a home of its own with the test's key.
        knownHosts = fs::path(std::getenv("HOME")) / ".ssh" / "known_hosts";
        fs::remove(knownHosts);
        test::writeBytes(home.path() / "vantrel.ini", kSettings);
        test::writeBytes(home.path() / "lg.ini", kTable);
        test::writeBytes(home.path() / "connections.ini", kConnections);
        session = std::make_unique<DesktopSession>(home.path(), ui);
        ASSERT_TRUE(session->start());
    }
    HostKeyDialog& dialog() { return *session->main().hostKeyDialog(); }
    void scanNode(int node) {
        session->state().domain.nodes.currentNode = node;
        session->scans().scanSelectedNode();
        session->scans().waitUntilFinished();
    }
    const NodeRecord& node(int i) { return session->state().domain.nodes.node(i); }
    std::string known() { return fs::exists(knownHosts) ? test::readBytes(knownHosts) : std::string(); }
};

TEST_F(DesktopSshHostKey, AnUnknownKeyIsAskedAboutRefusedOrAcceptedAndTheNodeScanned) {
    scanNode(1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return dialog().isVisible(); }, 10000));
    EXPECT_NE(node(1).scanStatus.value(), ScanStatus::Scanned);
    EXPECT_NE(node(1).lastResult.find("is not known"), std::string::npos) << node(1).lastResult;
    EXPECT_EQ(dialog().fingerprintLabel()->text().toStdString(), fingerprint("hostkey_a.pub"));
    EXPECT_EQ(dialog().questionLabel()->text().toStdString(),
              "The SSH host key of 127.0.0.1 port 2222 is not known yet. It shows this ssh-ed25519 key:");
    if (const char* shots = std::getenv("VANTREL_UI_SHOTS")) dialog().grab().save(QString(shots) + "/host-key-dialog.png");

    QTest::mouseClick(dialog().refuseButton(), Qt::LeftButton);
    EXPECT_FALSE(dialog().isVisible());
    EXPECT_EQ(known(), "");
    EXPECT_FALSE(session->scans().busy());

    scanNode(1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return dialog().isVisible(); }, 10000));
    QTest::mouseClick(dialog().acceptButton(), Qt::LeftButton);
    EXPECT_FALSE(dialog().isVisible());
    EXPECT_NE(known().find("[127.0.0.1]:2222 ssh-ed25519 "), std::string::npos) << known();
    // Accepting scans the node again, and it answers now.
    EXPECT_TRUE(session->scans().busy());
    session->scans().waitUntilFinished();
    EXPECT_EQ(node(1).scanStatus.value(), ScanStatus::Scanned) << node(1).lastResult;
    EXPECT_TRUE(fs::is_regular_file(home.path() / "LINUX-A" / "report"));
    EXPECT_TRUE(ui.messages.empty()) << ui.messages.front();
}

TEST_F(DesktopSshHostKey, AChangedKeyIsRefusedWithoutAQuestion) {
    // Port 2223 under the name of 2222's key: the node shows another key than the recorded one.
    scanNode(1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return dialog().isVisible(); }, 10000));
    QTest::mouseClick(dialog().acceptButton(), Qt::LeftButton);
    session->scans().waitUntilFinished();
    std::string line = known();
    ASSERT_NE(line.find("[127.0.0.1]:2222"), std::string::npos);
    line.replace(line.find("[127.0.0.1]:2222"), 16, "[127.0.0.1]:2223");
    test::writeBytes(knownHosts, line);

    scanNode(2);
    QTest::qWait(300);  // a question would have arrived by now
    EXPECT_FALSE(dialog().isVisible());
    EXPECT_NE(node(2).scanStatus.value(), ScanStatus::Scanned);
    EXPECT_NE(node(2).lastResult.find("has changed"), std::string::npos) << node(2).lastResult;
    EXPECT_NE(node(2).lastResult.find(fingerprint("hostkey_b.pub")), std::string::npos) << node(2).lastResult;
    EXPECT_EQ(known(), line);
}

}  // namespace
}  // namespace vantrel::ui
