#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include "core/network_tree.h"
#include "support/fake_ui.h"
#include "support/temp_folder.h"
#include "ui/desktop_app.h"
#include "ui/grid_control_widget.h"
#include "ui/login_dialog.h"
#include "ui/main_window.h"
#include "ui/qt_ui_services.h"
#include "ui/splash_window.h"
#include "ui/tree_control_widget.h"

namespace vantrel::ui {
namespace {

using test::TempFolder;

// Real Qt services, but message boxes answer from a script instead of waiting.
class ScriptedQtUi : public QtUiServices {
public:
    MsgAnswer messageBox(const std::string& text, const std::string&, MsgIcon, MsgButtons buttons) override {
        messages.push_back(text);
        if (buttons == MsgButtons::YesNo) return yes ? MsgAnswer::Yes : MsgAnswer::No;
        return MsgAnswer::Ok;
    }
    std::vector<std::string> messages;
    bool yes = true;
};

const std::string kSettings = "admin\r\nsecret\r\n25\r\n0\r\n0\r\n0\r\nNAME\r\n1\r\nroot\\cimv2\r\n";
const std::string kLogins =
    "PC-A\r\n10.0.0.1\r\nPC-A\r\nTrue\r\n\r\n\r\nFalse\r\n"
    "PC-B\r\n10.0.0.2\r\nBoss desk\r\nTrue\r\nadm\r\npw\r\nScanned\r\n"
    "PC-D\r\n10.0.0.4\r\nPC-D\r\nJump\r\n\r\n\r\nFalse\r\n";

struct DesktopFixture : ::testing::Test {
    TempFolder dir;
    ScriptedQtUi ui;
    std::unique_ptr<DesktopSession> session;

    void startWith(const std::string& settings, const std::string& logins) {
        test::writeBytes(dir.path() / "vantrel.ini", settings);
        test::writeBytes(dir.path() / "lg.ini", logins);
        session = std::make_unique<DesktopSession>(dir.path(), ui);
        ASSERT_TRUE(session->start());
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&session->main()));
    }

    QStringList treeTexts(QTreeWidget* tree) {
        QStringList out;
        for (QTreeWidgetItemIterator it(tree); *it; ++it) out << (*it)->text(0);
        return out;
    }

    void clickItem(TreeControlWidget* tree, const std::string& key, Qt::MouseButton button = Qt::LeftButton) {
        QTreeWidgetItem* item = tree->widgetItem(tree->control().at(key));
        ASSERT_NE(item, nullptr);
        tree->scrollToItem(item);
        QTest::mouseClick(tree->viewport(), button, {}, tree->visualItemRect(item).center());
    }
};

TEST_F(DesktopFixture, StartsWithTheNetworkTreeAndWritesBothFilesOnClose) {
    startWith(kSettings, kLogins);
    MainWindow& main = session->main();
    EXPECT_EQ(main.windowTitle(), "Vantrel");
    EXPECT_FALSE(session->splash().isVisible());
    EXPECT_TRUE(main.networkTree()->isVisible());
    EXPECT_EQ(treeTexts(main.networkTree()), (QStringList{"Network", "PC-A", "Boss desk", "PC-D"}));
    EXPECT_EQ(treeTexts(main.loginDialog()->tree()), (QStringList{"Network", "PC-A", "Boss desk", "PC-D"}));
    EXPECT_EQ(main.hardwareTree()->topLevelItemCount(), 0);

    main.close();
    EXPECT_TRUE(ui.ended());
    EXPECT_EQ(test::readBytes(dir.path() / "lg.ini"), kLogins);
    EXPECT_EQ(test::readBytes(dir.path() / "vantrel.ini"),
              "admin\r\nsecret\r\n-19 \r\n 10 \r\n 0 \r\n 0 \r\nNAME\r\n 1 \r\nroot\\cimv2\r\n");
}

TEST_F(DesktopFixture, ClickingANodeShowsItsLabelsAndTheRightButtonItsMenu) {
    startWith(kSettings, kLogins);
    MainWindow& main = session->main();
    clickItem(main.networkTree(), "Node1 2");
    EXPECT_EQ(session->state().domain.nodes.currentNode, 2);
    EXPECT_EQ(main.currentNodeDisplayName(), "Boss desk");
    EXPECT_EQ(main.currentNodeAddress(), "10.0.0.2");
    EXPECT_EQ(main.currentNodeName(), "PC-B");

    clickItem(main.networkTree(), "Node1 3", Qt::RightButton);
    EXPECT_EQ(session->state().domain.nodes.currentNode, 3);
    EXPECT_TRUE(main.nodePopupMenu()->isVisible());
    QStringList shown;
    for (QAction* a : main.nodePopupMenu()->actions())
        if (a->isVisible() && !a->isSeparator()) shown << a->text();
    // Rename, Delete and Jump are within reach: a computer that left the network can be removed.
    EXPECT_EQ(shown, (QStringList{"Set Current Node Login", "Reset Current Node Login", "Jump Current Node",
                                  "Scan Current Node", "Scan Local PC", "History", "Compare with previous",
                                  "Rename Node", "Delete Node"}));
    EXPECT_TRUE(main.menuAction(MenuCommand::RenameNode)->isEnabled());
    EXPECT_TRUE(main.menuAction(MenuCommand::History)->isEnabled());
    EXPECT_TRUE(main.menuAction(MenuCommand::CompareWithPrevious)->isEnabled());
    // The session plugs the scans in; with a node table "Network Scan" is disabled.
    EXPECT_TRUE(main.menuAction(MenuCommand::ScanNode)->isEnabled());
    EXPECT_FALSE(main.menuAction(MenuCommand::NetworkScan)->isEnabled());
    main.nodePopupMenu()->hide();
    main.close();
}

TEST_F(DesktopFixture, LoginDialogStoresTheTypedLoginOnOk) {
    startWith(kSettings, kLogins);
    MainWindow& main = session->main();
    clickItem(main.networkTree(), "Node1 3");
    main.menuAction(MenuCommand::SetNodeLogin)->trigger();
    LoginDialog* dialog = main.loginDialog();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));
    EXPECT_EQ(dialog->passwordField()->echoMode(), QLineEdit::Password);
    QTest::keyClicks(dialog->userField(), "root");
    QTest::keyClicks(dialog->passwordField(), "toor");
    QTest::mouseClick(dialog->findChild<QPushButton*>("okButton"), Qt::LeftButton);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(session->state().domain.nodes.node(3).loginUser, "root");
    EXPECT_EQ(session->state().domain.nodes.node(3).loginPassword, "toor");
    EXPECT_EQ(
        session->state().windows.main.networkTree.item(session->state().windows.main.networkTree.at("Node1 3")).image,
        ImageKey::ComputerWithLogin);

    // Closing the dialog only hides it.
    main.menuAction(MenuCommand::SetNodeLogin)->trigger();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));
    dialog->close();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_FALSE(session->state().windows.loginDialog.visible);
    main.close();
}

TEST_F(DesktopFixture, LoginDialogShowsAndStoresHowTheNodeIsReached) {
    test::writeBytes(dir.path() / "connections.ini", "PC-B\r\nNEGOTIATE-HTTP\r\n/certs/boss.pem\r\n");
    startWith(kSettings, kLogins);
    MainWindow& main = session->main();
    LoginDialog* dialog = main.loginDialog();
    QComboBox* transport = dialog->transportChoice();
    ASSERT_EQ(transport->count(), 5);
    EXPECT_EQ(transport->itemText(0), "HTTPS");
    EXPECT_EQ(transport->itemText(1), "HTTPS with Negotiate");
    EXPECT_EQ(transport->itemText(2), "HTTP with Negotiate (5985)");
    EXPECT_EQ(transport->itemText(3), "Plain HTTP (unencrypted)");
    EXPECT_EQ(transport->itemText(4), "SSH (Linux, 22)");

    clickItem(main.networkTree(), "Node1 2");
    main.menuAction(MenuCommand::SetNodeLogin)->trigger();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));
    EXPECT_EQ(dialog->trustFileField()->text(), "/certs/boss.pem");
    EXPECT_EQ(transport->currentText(), "HTTP with Negotiate (5985)");
    QTest::mouseClick(dialog->findChild<QPushButton*>("cancelButton"), Qt::LeftButton);

    // Another node shows the defaults; what the user types and picks is stored on OK.
    clickItem(main.networkTree(), "Node1 1");
    main.menuAction(MenuCommand::SetNodeLogin)->trigger();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));
    EXPECT_EQ(dialog->trustFileField()->text(), "");
    EXPECT_EQ(transport->currentText(), "HTTPS");
    QTest::keyClicks(dialog->trustFileField(), "/certs/a.pem");
    transport->setFocus();
    QTest::keyClick(transport, Qt::Key_End);  // the last choice, as a user picks it
    QTest::keyClick(transport, Qt::Key_Up);
    EXPECT_EQ(transport->currentText(), "Plain HTTP (unencrypted)");
    QTest::mouseClick(dialog->findChild<QPushButton*>("okButton"), Qt::LeftButton);
    EXPECT_EQ(session->state().domain.connections.forNode("PC-A"),
              (NodeConnection{NodeTransport::PlainHttp, "/certs/a.pem"}));

    main.close();
    EXPECT_EQ(test::readBytes(dir.path() / "connections.ini"),
              "PC-B\r\nNEGOTIATE-HTTP\r\n/certs/boss.pem\r\nPC-A\r\nPLAIN-HTTP\r\n/certs/a.pem\r\n");
    EXPECT_EQ(test::readBytes(dir.path() / "lg.ini"), kLogins);
}

TEST_F(DesktopFixture, RenameEditsTheLabelInPlace) {
    startWith(kSettings, kLogins);
    MainWindow& main = session->main();
    clickItem(main.networkTree(), "Node1 1");
    main.menuAction(MenuCommand::RenameNode)->trigger();
    EXPECT_TRUE(session->state().windows.main.networkTree.labelEditAutomatic());
    QTreeWidgetItem* item = main.networkTree()->widgetItem(session->state().windows.main.networkTree.at("Node1 1"));
    ASSERT_TRUE(item->flags() & Qt::ItemIsEditable);
    item->setText(0, "Reception");  // what the in-place editor commits
    EXPECT_EQ(session->state().domain.nodes.node(1).displayName, "Reception");
    EXPECT_FALSE(session->state().windows.main.networkTree.labelEditAutomatic());
    EXPECT_FALSE(item->flags() & Qt::ItemIsEditable);
    main.close();
    EXPECT_NE(test::readBytes(dir.path() / "lg.ini").find("PC-A\r\n10.0.0.1\r\nReception\r\n"), std::string::npos);
}

TEST_F(DesktopFixture, DeleteNodeRebuildsTheWidget) {
    startWith(kSettings, kLogins);
    MainWindow& main = session->main();
    clickItem(main.networkTree(), "Node1 2");
    main.menuAction(MenuCommand::DeleteNode)->trigger();
    EXPECT_EQ(ui.messages, std::vector<std::string>{"Delete Node Boss desk?"});
    EXPECT_EQ(treeTexts(main.networkTree()), (QStringList{"Network", "PC-A", "PC-D"}));
    main.close();
}

TEST_F(DesktopFixture, DoubleClickingANodeShowsItsHardwareTreeFromTheStoredReport) {
    startWith(kSettings, kLogins);
    MainWindow& main = session->main();
    // The report of a node that was scanned once: one baseboard, the rest empty.
    std::filesystem::create_directory(dir.path() / "PC-B");
    std::string report = "Baseboard\r\n1\r\nExample Boards Inc.\r\n";
    test::writeBytes(dir.path() / "PC-B" / "report", report);
    QTreeWidgetItem* item = main.networkTree()->widgetItem(session->state().windows.main.networkTree.at("Node1 2"));
    QTest::mouseDClick(main.networkTree()->viewport(), Qt::LeftButton, {},
                       main.networkTree()->visualItemRect(item).center());
    EXPECT_EQ(session->state().domain.nodes.currentNode, 2);
    ASSERT_EQ(main.hardwareTree()->topLevelItemCount(), 1);
    QTreeWidgetItem* root = main.hardwareTree()->topLevelItem(0);
    EXPECT_EQ(root->text(0), "Boss desk");
    ASSERT_GT(root->childCount(), 30);
    EXPECT_EQ(root->child(0)->text(0), "OS");
    EXPECT_EQ(session->hardware().report.LastEntry, 0);  // the baseboard section was loaded
    // The baseboard's builder put the board under "Motherboard".
    const auto& tree = session->state().windows.main.hardwareTree;
    ASSERT_TRUE(tree.find("4b node"));
    EXPECT_EQ(tree.item(*tree.find("4b node")).text, "Example Boards Inc.");
    main.close();
}

TEST_F(DesktopFixture, ShowingANodeSwitchesOnTheVirtualPcPartsItsReportNames) {
    startWith(kSettings, kLogins);
    MainWindow& main = session->main();
    std::filesystem::create_directory(dir.path() / "PC-B");
    test::writeBytes(dir.path() / "PC-B" / "report",
                     "Baseboard\r\n0\r\nBattery\r\n1\r\nSmart UPS\r\nBIOS\r\n0\r\nDisk Drive\r\n1\r\nIDE\r\nDisk A\r\n");
    session->virtualPc().HardDiskFrame[2]->Enabled = true;  // left over from the node shown before
    QTreeWidgetItem* item = main.networkTree()->widgetItem(session->state().windows.main.networkTree.at("Node1 2"));
    QTest::mouseDClick(main.networkTree()->viewport(), Qt::LeftButton, {},
                       main.networkTree()->visualItemRect(item).center());
    EXPECT_TRUE(session->virtualPc().UpsBatteryFrame->Enabled);
    EXPECT_TRUE(session->virtualPc().HardDiskFrame[1]->Enabled);
    EXPECT_FALSE(session->virtualPc().HardDiskFrame[2]->Enabled);
    main.close();
}

TEST_F(DesktopFixture, WithoutLoginsFileTheNetworkTreeIsHidden) {
    session = std::make_unique<DesktopSession>(dir.path(), ui);
    ASSERT_TRUE(session->start());
    EXPECT_TRUE(session->main().isVisible());
    EXPECT_FALSE(session->main().networkTree()->isVisible());
    session->main().close();
    EXPECT_EQ(test::readBytes(dir.path() / "lg.ini"), "");
}

TEST(GridControlWidget, ShowsHeaderRowAndCells) {
    GridControl grid(1, 5);
    GridControlWidget widget(grid);
    grid.setCell(0, 0, "Name");
    grid.setColWidth(0, 1440);
    grid.setRows(3);
    grid.setCell(2, 0, "PC-B");
    widget.refresh();
    EXPECT_EQ(widget.horizontalHeaderItem(0)->text(), "Name");
    EXPECT_EQ(widget.rowCount(), 2);
    EXPECT_EQ(widget.item(1, 0)->text(), "PC-B");
    EXPECT_EQ(widget.columnWidth(0), widget.logicalDpiX());
    QTest::mouseClick(widget.viewport(), Qt::LeftButton, {}, widget.visualItemRect(widget.item(1, 0)).center());
    EXPECT_EQ(grid.selectedRow(), 2);
}

// Only changed rows are shown again; every way a row can change must still show.
TEST(GridControlWidget, ShowsEveryChangeWhenRowsAreFilledOneByOne) {
    GridControl grid(1, 2);
    GridControlWidget widget(grid);
    auto texts = [&widget] {
        QStringList out;
        for (int r = 0; r < widget.rowCount(); ++r)
            for (int c = 0; c < widget.columnCount(); ++c) out << (widget.item(r, c) ? widget.item(r, c)->text() : "?");
        return out;
    };
    for (int i = 1; i <= 3; ++i) {  // a listing: a row appended, then written, one pass of events each
        grid.setRows(grid.rows() + 1);
        grid.setCell(i, 0, "PC-" + std::to_string(i));
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(texts(), (QStringList{"PC-1", "", "PC-2", "", "PC-3", ""}));
    grid.setRows(1);  // a new listing starts from the header row
    grid.setRows(3);
    grid.setCell(1, 1, "x");
    QCoreApplication::processEvents();
    EXPECT_EQ(texts(), (QStringList{"", "x", "", ""}));
    grid.clear();
    grid.setCell(2, 0, "y");
    QCoreApplication::processEvents();
    EXPECT_EQ(texts(), (QStringList{"", "", "y", ""}));
}

}  // namespace
}  // namespace vantrel::ui
