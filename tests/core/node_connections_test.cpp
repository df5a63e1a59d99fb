// How each node is reached ("connections.ini"): the file read and written
// whole, bad content left out without a rewrite that would lose it, and the
// Login dialog, delete, rename and reset acting on a node's record.

#include <gtest/gtest.h>

#include "core/connections_file.h"
#include "core/network_tree.h"
#include "core/node_registry.h"
#include "core/settings_dialog.h"
#include "core/startup.h"
#include "support/fake_ui.h"
#include "support/temp_folder.h"

namespace vantrel {
namespace {

using test::FakeUi;
using test::TempFolder;

const std::string kSettings = "admin\r\nsecret\r\n25\r\n0\r\n0\r\n0\r\nNAME\r\n0\r\nroot\\cimv2\r\n";
const std::string kLogins =
    "PC-A\r\n10.0.0.1\r\nPC-A\r\nTrue\r\n\r\n\r\nFalse\r\n"
    "PC-B\r\n10.0.0.2\r\nBoss\r\nTrue\r\nadm\r\npw\r\nScanned\r\n"
    "PC-C\r\n10.0.0.3\r\nPC-C\r\nTrue\r\n\r\n\r\nFalse\r\n";
// PC-B trusts its own certificate; PC-C says something this program does not know.
const std::string kConnections =
    "PC-B\r\nHTTPS\r\n/etc/vantrel/pc b.pem\r\n"
    "PC-C\r\nQUIC\r\n\r\n"
    "SERVER-9\r\nPLAIN-HTTP\r\n\r\n";

TEST(ConnectionsFile, ReadsEveryRecordAndWritesTheSameBytes) {
    TempFolder dir;
    const auto file = dir.path() / "connections.ini";
    test::writeBytes(file, kConnections);
    const ConnectionsFileContent content = readConnectionsFile(file);
    EXPECT_EQ(content.read, FileRead::Complete);
    EXPECT_EQ(content.skippedRecords, 0);
    EXPECT_EQ(content.connections.forNode("PC-B"),
              (NodeConnection{NodeTransport::Https, "/etc/vantrel/pc b.pem"}));
    EXPECT_EQ(content.connections.forNode("PC-C").transport.text(), "QUIC");
    EXPECT_EQ(content.connections.forNode("PC-C").effectiveTransport(), NodeTransport::Https);
    EXPECT_EQ(content.connections.forNode("SERVER-9").transport, NodeTransport::PlainHttp);
    EXPECT_TRUE(content.connections.forNode("PC-A").isDefault());  // no record

    ASSERT_TRUE(writeConnectionsFile(file, content.connections));
    EXPECT_EQ(test::readBytes(file), kConnections);

    // LF line ends, spaces around the name and Windows-1252 bytes from an older installation.
    test::writeBytes(file, " PC-\xC9 \nNEGOTIATE-HTTP\nC:\\certs\\\xE9t\xE9.pem\nDC-1\nNEGOTIATE-HTTPS\n\nweb-1\nSSH\n\n");
    const ConnectionsFileContent old = readConnectionsFile(file);
    EXPECT_EQ(old.connections.forNode("PC-\xC3\x89"),
              (NodeConnection{NodeTransport::NegotiateHttp, "C:\\certs\\\xC3\xA9t\xC3\xA9.pem"}));
    EXPECT_EQ(old.connections.forNode("DC-1").transport, NodeTransport::NegotiateHttps);
    EXPECT_EQ(old.connections.forNode("web-1").transport, NodeTransport::Ssh);
}

TEST(ConnectionsFile, BadContentIsLeftOutAndCounted) {
    struct Case {
        const char* name;
        std::string bytes;
        FileRead read;
        std::vector<std::string> nodes;
        int skipped;
    };
    const Case cases[] = {
        {"empty", "", FileRead::Complete, {}, 0},
        {"a short last record is not a record", "PC-A\r\nPLAIN-HTTP\r\n/a.pem\r\nPC-B\r\nHTTPS\r\n",
         FileRead::Complete, {"PC-A"}, 0},
        {"an empty name", "\r\nPLAIN-HTTP\r\n\r\nPC-B\r\nPLAIN-HTTP\r\n\r\n", FileRead::Complete, {"PC-B"}, 1},
        {"a control character in the path", "PC-A\r\nHTTPS\r\n/a\x01.pem\r\n", FileRead::Complete, {}, 1},
        {"a control character in the name", "PC\x1b-A\r\nPLAIN-HTTP\r\n\r\n", FileRead::Complete, {}, 1},
        {"a path too long", "PC-A\r\nHTTPS\r\n/" + std::string(kMaxTrustFilePath, 'x') + "\r\n",
         FileRead::Complete, {}, 1},
        {"a name twice: the first counts", "PC-A\r\nPLAIN-HTTP\r\n\r\nPC-A\r\nNEGOTIATE-HTTP\r\n\r\n",
         FileRead::Complete, {"PC-A"}, 1},
        {"a file too large is not read", std::string(kMaxConnectionsFileBytes + 1, 'x'), FileRead::Failed, {}, 0},
    };
    TempFolder dir;
    const auto file = dir.path() / "connections.ini";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::writeBytes(file, c.bytes);
        const ConnectionsFileContent content = readConnectionsFile(file);
        EXPECT_EQ(content.read, c.read);
        EXPECT_EQ(content.skippedRecords, c.skipped);
        std::vector<std::string> names;
        for (const auto& record : content.connections.records()) names.push_back(record.first);
        EXPECT_EQ(names, c.nodes);
    }
    EXPECT_EQ(readConnectionsFile(dir.path() / "none.ini").read, FileRead::Missing);
    EXPECT_EQ(readConnectionsFile(file).connections.forNode("PC-A"), NodeConnection{});
}

struct NodeConnectionsFixture : ::testing::Test {
    TempFolder dir;
    FakeUi ui;
    ProgramState state{ProgramFolder(dir.path()), ui};
    std::filesystem::path file() const { return dir.path() / "connections.ini"; }

    void start(const std::optional<std::string>& connections) {
        test::writeBytes(dir.path() / "vantrel.ini", kSettings);
        test::writeBytes(dir.path() / "lg.ini", kLogins);
        if (connections) test::writeBytes(file(), *connections);
        state.lookupLocalAddress = [] { return std::string("10.0.0.1"); };
        runStartup(state);
    }
    void selectNode(int i) {
        state.windows.main.networkTree.select(state.windows.main.networkTree.at("Node1 " + std::to_string(i)));
        networkTreeClicked(state);
    }
};

TEST_F(NodeConnectionsFixture, TheLoginDialogShowsAndStoresTheNodesSettings) {
    start(kConnections);
    EXPECT_TRUE(ui.messages.empty());
    LoginDialogState& dialog = state.windows.loginDialog;

    selectNode(2);
    setCurrentNodeLogin(state);
    EXPECT_EQ(dialog.trustFileField, "/etc/vantrel/pc b.pem");
    EXPECT_EQ(dialog.transportChoice, NodeTransport::Https);
    dialog.transportChoice = NodeTransport::NegotiateHttp;
    dialog.trustFileField = "";
    loginDialogCancel(state);  // Cancel stores nothing
    EXPECT_EQ(state.domain.connections.forNode("PC-B").trustFile, "/etc/vantrel/pc b.pem");

    // A node without a record shows the defaults; OK gives it one.
    selectNode(1);
    setCurrentNodeLogin(state);
    EXPECT_EQ(dialog.trustFileField, "");
    EXPECT_EQ(dialog.transportChoice, NodeTransport::Https);
    dialog.transportChoice = NodeTransport::PlainHttp;
    loginDialogOk(state);
    EXPECT_EQ(state.domain.connections.forNode("PC-A"), (NodeConnection{NodeTransport::PlainHttp, ""}));

    // An unknown transport shows as HTTPS and stays as written when OK changes nothing.
    selectNode(3);
    setCurrentNodeLogin(state);
    EXPECT_EQ(dialog.transportChoice, NodeTransport::Https);
    loginDialogOk(state);
    EXPECT_EQ(state.domain.connections.forNode("PC-C").transport.text(), "QUIC");

    // Back to the defaults: the record goes.
    selectNode(2);
    setCurrentNodeLogin(state);
    dialog.trustFileField = "";
    loginDialogOk(state);
    EXPECT_FALSE(state.domain.connections.contains("PC-B"));

    exitProgram(state);
    EXPECT_EQ(test::readBytes(file()),
              "PC-C\r\nQUIC\r\n\r\nSERVER-9\r\nPLAIN-HTTP\r\n\r\nPC-A\r\nPLAIN-HTTP\r\n\r\n");
    EXPECT_EQ(test::readBytes(dir.path() / "lg.ini"), kLogins);  // its layout is untouched
}

TEST_F(NodeConnectionsFixture, RenameKeepsTheRecordAndDeleteRemovesIt) {
    start(kConnections);
    selectNode(2);
    renameNode(state);
    networkTreeLabelEdited(state, "Front desk");
    EXPECT_EQ(state.domain.nodes.node(2).displayName, "Front desk");
    EXPECT_EQ(state.domain.connections.forNode(state.domain.nodes.node(2).name).trustFile, "/etc/vantrel/pc b.pem");

    ui.answers = {MsgAnswer::Yes};
    deleteCurrentNode(state);
    EXPECT_FALSE(state.domain.connections.contains("PC-B"));
    exitProgram(state);
    EXPECT_EQ(test::readBytes(file()), "PC-C\r\nQUIC\r\n\r\nSERVER-9\r\nPLAIN-HTTP\r\n\r\n");
}

TEST_F(NodeConnectionsFixture, NoFileIsMadeForDefaultsAndResetRemovesIt) {
    start(std::nullopt);
    exitProgram(state);
    EXPECT_FALSE(std::filesystem::exists(file()));

    FakeUi again;
    ProgramState next{ProgramFolder(dir.path()), again};
    test::writeBytes(file(), kConnections);
    runStartup(next);
    again.answers.push_back(MsgAnswer::Yes);  // the user agrees to forget the network
    resetNetwork(next);
    EXPECT_FALSE(std::filesystem::exists(file()));
    EXPECT_TRUE(next.domain.connections.records().empty());
}

TEST_F(NodeConnectionsFixture, AFileWithRecordsLeftOutIsNotWrittenOver) {
    const std::string bad = kConnections + "PC-A\r\nPLAIN-HTTP\r\n/a\x01.pem\r\n";
    start(bad);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "The file \"connections.ini\" could not be read and will not be changed.");
    // What could be read is used all the same.
    EXPECT_EQ(state.domain.connections.forNode("SERVER-9").transport, NodeTransport::PlainHttp);
    selectNode(1);
    setCurrentNodeLogin(state);
    state.windows.loginDialog.transportChoice = NodeTransport::NegotiateHttp;
    loginDialogOk(state);
    exitProgram(state);
    EXPECT_EQ(test::readBytes(file()), bad);
}

}  // namespace
}  // namespace vantrel
