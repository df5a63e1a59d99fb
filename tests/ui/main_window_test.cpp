// The real main window under the X server: captions, menus, buttons and
// dialogs driven with QTest, scans answered by the JSON profile provider, and
// the core's state and the files written checked afterwards.

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QMenu>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidgetItemIterator>
#include <QWindow>
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <filesystem>
#include <set>

#include "collect/scan_commands.h"
#include "core/start_camera.h"
#include "engine3d/math/d3d_math.h"
#include "model/virtual_pc.h"
#include "core/settings_dialog.h"
#include "providers/profile/profile_provider.h"
#include "support/fake_ui.h"
#include "support/temp_folder.h"
#include "support/slow_provider.h"
#include "ui/desktop_app.h"
#include "ui/grid_control_widget.h"
#include "ui/logins_dialog.h"
#include "ui/main_window.h"
#include "ui/picture_button.h"
#include "ui/qt_ui_services.h"
#include "ui/scan_dialog.h"
#include "ui/scene_view_widget.h"
#include "ui/section_caption.h"
#include "wbem/wbem_error.h"
#include "ui/settings_dialog.h"
#include "ui/small_dialogs.h"
#include "ui/tree_control_widget.h"
#include "ui/view_panel.h"

namespace vantrel::ui {
namespace {

using namespace std::chrono_literals;
using test::TempFolder;

const std::filesystem::path kProfile = std::filesystem::path(UI_FIXTURES) / "office_pc.json";

class ScriptedQtUi : public QtUiServices {
public:
    MsgAnswer messageBox(const std::string& text, const std::string&, MsgIcon, MsgButtons buttons) override {
        messages.push_back(text);
        return buttons == MsgButtons::YesNo ? yesNoAnswer : MsgAnswer::Ok;
    }
    int logicalDpiX() override { return dpi ? dpi : QtUiServices::logicalDpiX(); }
    std::vector<std::string> messages;
    MsgAnswer yesNoAnswer = MsgAnswer::Yes;
    int dpi = 0;
};

const std::string kSettings = "admin\r\nsecret\r\n0\r\n0\r\n0\r\n0\r\nNAME\r\n0\r\nroot\\cimv2\r\n";
// PC-B's own login is refused by the profile computer; PC-D is jumped over.
const std::string kLogins =
    "PC-A\r\n10.0.0.1\r\nPC-A\r\nTrue\r\n\r\n\r\nFalse\r\n"
    "PC-B\r\n10.0.0.2\r\nBoss desk\r\nTrue\r\nguest\r\nwrong1\r\nScanned\r\n"
    "PC-C\r\n10.0.0.3\r\nPC-C\r\nTrue\r\n\r\n\r\nFalse\r\n"
    "PC-D\r\n10.0.0.4\r\nPC-D\r\nJump\r\n\r\n\r\nFalse\r\n";

struct MainWindowTest : ::testing::Test {
    TempFolder dir;
    ScriptedQtUi ui;
    std::unique_ptr<DesktopSession> session;
    std::vector<QUrl> opened;

    void start(const std::string& settings, const std::optional<std::string>& logins,
               std::shared_ptr<wbem::Provider> provider = nullptr) {
        test::writeBytes(dir.path() / "vantrel.ini", settings);
        if (logins) test::writeBytes(dir.path() / "lg.ini", *logins);
        session = std::make_unique<DesktopSession>(dir.path(), ui);
        session->hardware().provider =
            provider ? provider
                     : std::make_shared<wbem::ProfileProvider>(std::make_shared<wbem::Profile>(wbem::loadProfile(kProfile)));
        ASSERT_TRUE(session->start());
        main().setUrlOpener([this](const QUrl& url) { opened.push_back(url); });
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&main()));
    }
    void TearDown() override {
        if (session && !ui.ended()) main().close();
    }
    MainWindow& main() { return session->main(); }
    ProgramState& state() { return session->state(); }

    void clickCaption(Section section) { QTest::mouseClick(main().sectionCaption(section), Qt::LeftButton); }
    QStringList shownItems(QMenu* menu) {
        QStringList out;
        for (QAction* a : menu->actions())
            if (a->isVisible() && !a->isSeparator()) out << a->text();
        return out;
    }
    // Opens a section's menu with a click on its caption and clicks the item.
    void choose(Section section, PopupMenu which, MenuCommand item) {
        clickCaption(section);
        QMenu* menu = main().menu(which);
        ASSERT_TRUE(QTest::qWaitFor([&] { return menu->isVisible(); }, 2000));
        QAction* action = main().menuAction(item, which);
        ASSERT_NE(action, nullptr);
        ASSERT_TRUE(action->isEnabled());
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
        EXPECT_TRUE(QTest::qWaitFor([&] { return !menu->isVisible(); }, 2000));
    }
    // Moves the mouse over `widget` until `reached` holds; the first move after
    // the window appears may only bring the pointer into the window.
    bool moveUntil(QWidget* widget, QPoint at, const std::function<bool()>& reached) {
        // Moves go to our own window, not through the display's pointer: the pointer is shared
        // with the tests running beside this one, and their windows may lie on top of ours.
        QWindow* window = widget->window()->windowHandle();
        for (int attempt = 0; attempt < 20 && !reached(); ++attempt) {
            QTest::mouseMove(window, window->mapFromGlobal(widget->mapToGlobal(at + QPoint(attempt % 2, 0))));
            QTest::qWait(20);
        }
        return reached();
    }
    void pressButton(int index) { QTest::mouseClick(main().button(index), Qt::LeftButton); }
    void clickNode(int node, Qt::MouseButton button = Qt::LeftButton) {
        TreeControlWidget* tree = main().networkTree();
        QTreeWidgetItem* item = tree->widgetItem(tree->control().at("Node1 " + std::to_string(node)));
        ASSERT_NE(item, nullptr);
        QTest::mouseClick(tree->viewport(), button, {}, tree->visualItemRect(item).center());
    }
    bool waitForScan() {
        return QTest::qWaitFor([&] { return !session->scans().busy(); }, 30000);
    }
    QStringList gridRow(GridControlWidget* grid, int row) {
        QStringList out;
        for (int c = 0; c < grid->columnCount(); ++c) out << (grid->item(row, c) ? grid->item(row, c)->text() : "");
        return out;
    }
    std::filesystem::path reportOf(const std::string& name) { return dir.path() / name / "report"; }
};

TEST_F(MainWindowTest, SectionCaptionsOpenTheirMenusAndSwitchThePanels) {
    start(kSettings, kLogins);
    QStringList captions;
    for (int i = 0; i < kSectionCount; ++i) captions << main().sectionCaption(static_cast<Section>(i))->text();
    EXPECT_EQ(captions, (QStringList{"Main", "Network", "Home", "Nodes", "PC", "Administrator", "Configure", "Support"}));

    const std::pair<Section, QStringList> menus[] = {
        {Section::Main, {"Support", "Export...", "About Vantrel", "Exit"}},
        {Section::Network, {"Network Scan", "Re-Scan"}},
        {Section::Nodes, {"Scan Local PC", "Scan selected PC", "Scan all PCs", "Scan List"}},
        {Section::Pc, {"Reset", "Test View", "History", "Compare with previous", "Move"}},
        {Section::Administrator, {"Set Administrator Password", "Logins", "Statistics"}},
        {Section::Configure, {"Settings", "Backcolor"}},
    };
    const PopupMenu owners[] = {PopupMenu::Main, PopupMenu::Network,       PopupMenu::Nodes,
                                PopupMenu::Pc,   PopupMenu::Administrator, PopupMenu::Configure};
    for (std::size_t i = 0; i < std::size(menus); ++i) {
        clickCaption(menus[i].first);
        QMenu* menu = main().menu(owners[i]);
        ASSERT_TRUE(QTest::qWaitFor([&] { return menu->isVisible(); }, 2000)) << i;
        EXPECT_EQ(shownItems(menu), menus[i].second);
        menu->hide();
    }
    // Commands whose owners are not in the program yet are there, disabled.
    EXPECT_TRUE(main().menuAction(MenuCommand::BackgroundColor, PopupMenu::Configure)->isEnabled());
    EXPECT_TRUE(main().menuAction(MenuCommand::TestView, PopupMenu::Pc)->isEnabled());
    EXPECT_TRUE(main().menuAction(MenuCommand::ZoomIn, PopupMenu::Pc)->isEnabled());
    // An item whose command is taken away is still there, disabled, and so is its button.
    main().setMenuCommand(MenuCommand::Lights, {});
    EXPECT_FALSE(main().button(9)->isEnabled());
    main().setMenuCommand(MenuCommand::BackgroundColor, {});
    EXPECT_FALSE(main().menuAction(MenuCommand::BackgroundColor, PopupMenu::Configure)->isEnabled());
    EXPECT_FALSE(main().button(8)->isEnabled());
    EXPECT_TRUE(main().menuAction(MenuCommand::ScanAll, PopupMenu::Nodes)->isEnabled());
    // With a node table "Network Scan" is disabled in the menu and on its button.
    EXPECT_FALSE(main().menuAction(MenuCommand::NetworkScan, PopupMenu::Network)->isEnabled());
    EXPECT_TRUE(main().menuAction(MenuCommand::Rescan, PopupMenu::Network)->isEnabled());
    EXPECT_FALSE(main().button(0)->isEnabled());

    EXPECT_TRUE(main().panel(Panel::Nodes)->isVisible());
    EXPECT_FALSE(main().panel(Panel::Support)->isVisible());
    EXPECT_TRUE(main().sectionCaption(Section::Home)->bordered());
    clickCaption(Section::Support);
    EXPECT_TRUE(main().panel(Panel::Support)->isVisible());
    for (Panel p : {Panel::Network, Panel::Nodes, Panel::Pc, Panel::Zoom, Panel::Configure, Panel::Admin})
        EXPECT_FALSE(main().panel(p)->isVisible());
    EXPECT_TRUE(main().sectionCaption(Section::Support)->bordered());
    EXPECT_FALSE(main().sectionCaption(Section::Home)->bordered());
    clickCaption(Section::Home);
    EXPECT_TRUE(main().panel(Panel::Admin)->isVisible());
    EXPECT_FALSE(main().panel(Panel::Support)->isVisible());
}

TEST_F(MainWindowTest, ButtonsShowTheirPicturesTipsAndHoverFeedback) {
    start(kSettings, kLogins);
    for (int i = 0; i < kButtonCount; ++i) {
        PictureButton* button = main().button(i);
        EXPECT_TRUE(button->picturesLoaded()) << i;
        EXPECT_EQ(button->toolTip().toStdString(), kButtons[static_cast<std::size_t>(i)].toolTip) << i;
        EXPECT_EQ(button->caption().toStdString(), kButtons[static_cast<std::size_t>(i)].caption) << i;
        EXPECT_TRUE(button->isVisible() || kButtons[static_cast<std::size_t>(i)].panel == Panel::Support) << i;
    }
    // Every command is in the program: every button can be pressed, but "Scan",
    // which a node table switches off as it does the "Network Scan" menu item.
    for (int i = 0; i < kButtonCount; ++i) EXPECT_EQ(main().button(i)->isEnabled(), i != 0) << i;

    // From one button straight onto another: the pictures swap at once.
    PictureButton* logins = main().button(11);
    PictureButton* settings = main().button(14);
    EXPECT_TRUE(moveUntil(logins, logins->rect().center(), [&] { return logins->showsHoverPicture(); }));
    EXPECT_TRUE(moveUntil(settings, settings->rect().center(), [&] { return settings->showsHoverPicture(); }));
    EXPECT_FALSE(logins->showsHoverPicture());
    QWidget* panel = main().panel(Panel::Configure);
    EXPECT_TRUE(moveUntil(panel, QPoint(panel->width() - 3, 3), [&] { return !settings->showsHoverPicture(); }));
    // Hover ends when the pointer leaves for the view or the trees, which say nothing of the mouse.
    QWidget* leaveFor[] = {main().sceneView()->view(), main().networkTree()->viewport()};
    for (QWidget* target : leaveFor) {
        ASSERT_NE(target, nullptr);
        EXPECT_TRUE(moveUntil(settings, settings->rect().center(), [&] { return settings->showsHoverPicture(); }));
        EXPECT_TRUE(moveUntil(target, target->rect().center(), [&] { return !settings->showsHoverPicture(); }))
            << target->objectName().toStdString();
        EXPECT_FALSE(state().windows.main.hover.buttonShowsHover[14]);
    }

    SectionCaption* nodes = main().sectionCaption(Section::Nodes);
    EXPECT_TRUE(moveUntil(nodes, nodes->rect().center(), [&] { return nodes->highlighted(); }));
    QWidget* background = main().centralWidget();
    const QPoint empty(background->width() - 3, main().sectionCaption(Section::Main)->y() + 3);
    EXPECT_TRUE(moveUntil(background, empty, [&] { return !nodes->highlighted(); }));
}

TEST_F(MainWindowTest, ScanSelectedPcFromTheMenuAndTheButtonShowsTheNode) {
    start(kSettings, kLogins);
    clickNode(3);
    choose(Section::Nodes, PopupMenu::Nodes, MenuCommand::ScanSelected);
    EXPECT_TRUE(main().scanDialog()->isVisible());
    ASSERT_TRUE(waitForScan());
    EXPECT_EQ(state().domain.nodes.node(3).scanStatus, ScanStatus::Scanned);
    EXPECT_TRUE(std::filesystem::exists(reportOf("PC-C")));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !main().scanDialog()->isVisible(); }, 2000));
    EXPECT_EQ(main().scanDialog()->statusText(), "System built for 10.0.0.3");
    EXPECT_GT(main().hardwareTree()->topLevelItemCount(), 0);
    EXPECT_EQ(main().hardwareTree()->topLevelItem(0)->text(0), "PC-C");
    EXPECT_EQ(main().currentNodeName(), "PC-C");
    // A name the tree cuts at its edge is shown whole in the item's tool tip.
    for (QTreeWidgetItemIterator it(main().hardwareTree()); *it; ++it) EXPECT_EQ((*it)->toolTip(0), (*it)->text(0));

    std::filesystem::remove(reportOf("PC-C"));
    pressButton(4);  // "Selected"
    ASSERT_TRUE(waitForScan());
    EXPECT_TRUE(std::filesystem::exists(reportOf("PC-C")));
}

TEST_F(MainWindowTest, DisplayModeButtonsAndMenuItemsChangeTheModel) {
    start(kSettings, kLogins);
    model::VirtualPc& pc = session->virtualPc();
    auto partsOn = [&] {
        int on = 0;
        for (const auto& part : pc.parts()) on += part.optional && part.frame->Enabled;
        return on;
    };
    pressButton(2);  // "Reset"
    EXPECT_EQ(partsOn(), 0);
    pressButton(3);  // "View"
    EXPECT_EQ(partsOn(), 161);
    pressButton(2);
    EXPECT_EQ(partsOn(), 0);
    choose(Section::Pc, PopupMenu::Pc, MenuCommand::TestView);
    EXPECT_EQ(partsOn(), 161);
    choose(Section::Pc, PopupMenu::Pc, MenuCommand::ResetModel);
    EXPECT_EQ(partsOn(), 0);
    // The camera commands move the eye of the settings: "In" and "Out", the PC menu's "Move".
    const float z = state().domain.settings.cameraZ;
    pressButton(6);  // "In"
    EXPECT_EQ(state().domain.settings.cameraZ, z + 1.0F);
    pressButton(7);  // "Out"
    EXPECT_EQ(state().domain.settings.cameraZ, z);
    clickCaption(Section::Pc);
    QMenu* pcMenu = main().menu(PopupMenu::Pc);
    ASSERT_TRUE(QTest::qWaitFor([&] { return pcMenu->isVisible(); }, 2000));
    QAction* up = main().menuAction(MenuCommand::MoveUp, PopupMenu::Pc);
    const float y = state().domain.settings.cameraY;
    up->trigger();
    pcMenu->hide();
    EXPECT_EQ(state().domain.settings.cameraY, y - 1.0F);

    // A drag turns the model; "Reset" brings the front view back.
    SceneViewWidget* view = main().sceneView()->view();
    ASSERT_NE(view, nullptr);
    auto send = [&](QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons buttons) {
        QMouseEvent event(type, QPointF(at), view->mapToGlobal(QPointF(at)), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(view, &event);
    };
    send(QEvent::MouseButtonPress, {20, 20}, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, {120, 60}, Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, {120, 60}, Qt::LeftButton, Qt::NoButton);
    ASSERT_NE(pc.PcRoot->GetMatrix(), engine3d::D3DXMatrixIdentity());
    pressButton(2);
    EXPECT_EQ(pc.PcRoot->GetMatrix(), engine3d::D3DXMatrixIdentity());
    const auto& settings = state().domain.settings;
    EXPECT_EQ((std::array<float, 3>{settings.cameraX, settings.cameraY, settings.cameraZ}),
              (std::array<float, 3>{kStartCamera.x, kStartCamera.y, kStartCamera.z}));

    // The switches show their state on their buttons' lamps.
    EXPECT_EQ(main().button(16)->lamp(), Lamp::On);
    EXPECT_EQ(main().button(17)->lamp(), Lamp::On);
    EXPECT_EQ(main().button(9)->lamp(), Lamp::Off);
    pressButton(16);  // "3D"
    EXPECT_FALSE(pc.AxesShown);
    EXPECT_FALSE(pc.AxesFrame->Enabled);
    EXPECT_EQ(main().button(16)->lamp(), Lamp::Off);
    pressButton(17);  // "Base"
    EXPECT_FALSE(pc.BaseShown);
    EXPECT_EQ(main().button(17)->lamp(), Lamp::Off);
    pressButton(17);
    EXPECT_TRUE(pc.BaseShown);
    EXPECT_EQ(main().button(17)->lamp(), Lamp::On);
    pressButton(9);  // "Lights"
    EXPECT_EQ(main().button(9)->lamp(), Lamp::On);
    main().sceneView()->button("lights")->click();  // the view's own light button
    EXPECT_EQ(main().button(9)->lamp(), Lamp::Off);
    EXPECT_EQ(main().button(10)->lamp(), Lamp::None);
}

TEST_F(MainWindowTest, ScanSelectedPcOnARefusedNodeLeavesTheDialogOpen) {
    start(kSettings, kLogins);
    clickNode(2);
    pressButton(4);
    ASSERT_TRUE(waitForScan());
    EXPECT_EQ(state().domain.nodes.node(2).scanStatus, ScanStatus::AccessDenied);
    EXPECT_TRUE(main().scanDialog()->isVisible());
    EXPECT_EQ(main().scanDialog()->statusText(), "Access denied to guest10.0.0.2");
    EXPECT_EQ(main().hardwareTree()->topLevelItemCount(), 0);
    QTest::mouseClick(main().scanDialog()->okButton(), Qt::LeftButton);
    EXPECT_FALSE(main().scanDialog()->isVisible());
}

// The profile computer, except at 10.0.0.3, where nobody answers.
class UnreachableNode : public wbem::Provider {
public:
    explicit UnreachableNode(std::shared_ptr<wbem::Provider> inner) : inner_(std::move(inner)) {}
    std::unique_ptr<wbem::Services> connect(const wbem::ConnectRequest& request) override {
        if (request.server == "10.0.0.3")
            throw wbem::WbemError(wbem::ErrorCode::ConnectionFailed,
                                  "No answer from https://10.0.0.3:5986/wsman in time: Connection timed out");
        return inner_->connect(request);
    }

private:
    std::shared_ptr<wbem::Provider> inner_;
};

TEST_F(MainWindowTest, AFailedScanShowsItsReasonAndNothingOfTheNodeBefore) {
    start(kSettings, kLogins,
          std::make_shared<UnreachableNode>(
              std::make_shared<wbem::ProfileProvider>(std::make_shared<wbem::Profile>(wbem::loadProfile(kProfile)))));
    clickNode(1);
    pressButton(4);  // "Selected": PC-A is shown
    ASSERT_TRUE(waitForScan());
    ASSERT_GT(main().hardwareTree()->topLevelItemCount(), 0);
    clickNode(3);
    pressButton(4);  // PC-C does not answer
    ASSERT_TRUE(waitForScan());
    const QString reason = "No answer from https://10.0.0.3:5986/wsman in time: Connection timed out";
    EXPECT_TRUE(main().scanDialog()->isVisible());
    EXPECT_EQ(main().scanDialog()->statusText(), "Connection to 10.0.0.3 failed: " + reason);
    EXPECT_EQ(main().scanDialog()->progressShare(), 0.0);
    EXPECT_EQ(main().hardwareTree()->topLevelItemCount(), 0);
    TreeControlWidget* tree = main().networkTree();
    QTreeWidgetItem* item = tree->widgetItem(tree->control().at("Node1 3"));
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->toolTip(0), "Last result: " + reason);
    // The Scan List says it beside the node's status.
    QTest::mouseClick(main().scanDialog()->okButton(), Qt::LeftButton);
    choose(Section::Nodes, PopupMenu::Nodes, MenuCommand::ScanList);
    main().scanDialog()->grid()->refresh();
    EXPECT_EQ(gridRow(main().scanDialog()->grid(), 2),
              (QStringList{"PC-C", "PC-C", "10.0.0.3", "Access denied", "True", reason}));
}

TEST_F(MainWindowTest, TheScanButtonFollowsTheNetworkScanMenuItem) {
    start(kSettings, kLogins);
    // With a node table "Network Scan" is off, and so is the button that runs it.
    EXPECT_FALSE(main().menuAction(MenuCommand::NetworkScan, PopupMenu::Network)->isEnabled());
    EXPECT_FALSE(main().button(0)->isEnabled());
    pressButton(0);
    EXPECT_FALSE(main().scanDialog()->isVisible());
    EXPECT_EQ(state().domain.nodes.node(2).loginUser, "guest");
    EXPECT_TRUE(main().button(1)->isEnabled());  // "Re-Scan" is the way to find new computers
}

TEST_F(MainWindowTest, ScanAllPcsListsEveryNodeInOrder) {
    start(kSettings, kLogins);
    choose(Section::Nodes, PopupMenu::Nodes, MenuCommand::ScanAll);
    ASSERT_TRUE(waitForScan());
    ScanDialog* dialog = main().scanDialog();
    dialog->grid()->refresh();
    ASSERT_EQ(dialog->grid()->rowCount(), 4);
    EXPECT_EQ(gridRow(dialog->grid(), 0), (QStringList{"PC-A", "PC-A", "10.0.0.1", "Scanned", "True", "Scanned"}));
    EXPECT_EQ(gridRow(dialog->grid(), 1),
              (QStringList{"PC-B", "Boss desk", "10.0.0.2", "Access denied", "True", "Access denied"}));
    EXPECT_EQ(gridRow(dialog->grid(), 2), (QStringList{"PC-C", "PC-C", "10.0.0.3", "Scanned", "True", "Scanned"}));
    EXPECT_EQ(gridRow(dialog->grid(), 3), (QStringList{"PC-D", "PC-D", "10.0.0.4", "False", "Jump", ""}));
    EXPECT_EQ(dialog->statusText(), "Scan Complete");
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(std::filesystem::exists(reportOf("PC-D")));
    // The close button acts as OK: the flag of the last scan is cleared, the program goes on.
    dialog->close();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_FALSE(state().domain.scanRanFlag);
    EXPECT_FALSE(ui.ended());
}

TEST_F(MainWindowTest, ScanCurrentNodeFromTheNodeMenu) {
    start(kSettings, kLogins);
    clickNode(1, Qt::RightButton);
    QMenu* menu = main().nodePopupMenu();
    ASSERT_TRUE(QTest::qWaitFor([&] { return menu->isVisible(); }, 2000));
    QAction* scan = main().menuAction(MenuCommand::ScanNode);
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(scan).center());
    ASSERT_TRUE(waitForScan());
    EXPECT_EQ(state().domain.nodes.node(1).scanStatus, ScanStatus::Scanned);
    EXPECT_EQ(main().scanDialog()->statusText(), "System built for 10.0.0.1");
}

TEST_F(MainWindowTest, ScanLocalPcFromTheNodeMenu) {
    start(kSettings, kLogins);
    clickNode(2, Qt::RightButton);
    QMenu* menu = main().nodePopupMenu();
    ASSERT_TRUE(QTest::qWaitFor([&] { return menu->isVisible(); }, 2000));
    QAction* scan = main().menuAction(MenuCommand::ScanLocal);
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(scan).center());
    ASSERT_TRUE(waitForScan());
    // The table holds no node for this computer: its report goes to its host name's folder.
    EXPECT_TRUE(std::filesystem::exists(reportOf(localHostName())));
    EXPECT_EQ(state().domain.nodes.node(2).scanStatus, ScanStatus::Scanned);  // untouched: as loaded
    EXPECT_FALSE(std::filesystem::exists(reportOf("PC-B")));
}

TEST_F(MainWindowTest, TheKeyboardAloneReachesEveryCaptionAndButtonAndScansTheLocalPc) {
    start(kSettings, kLogins);
    main().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main()));
    main().sectionCaption(Section::Main)->setFocus();
    // Tab visits every caption and every button that can be pressed.
    std::set<QWidget*> reached;
    for (int i = 0; i < 120; ++i) {
        QWidget* at = main().focusWidget();
        ASSERT_NE(at, nullptr);
        reached.insert(at);
        QTest::keyClick(at, Qt::Key_Tab);
    }
    for (int i = 0; i < kSectionCount; ++i)
        EXPECT_TRUE(reached.count(main().sectionCaption(static_cast<Section>(i)))) << "caption " << i;
    for (int i = 0; i < kButtonCount; ++i)
        if (main().button(i)->isVisible() && main().button(i)->isEnabled())
            EXPECT_TRUE(reached.count(main().button(i))) << "button " << i;
    // Arrow keys move along the captions; Enter opens one's menu, Escape closes it.
    main().sectionCaption(Section::Network)->setFocus();
    QTest::keyClick(main().sectionCaption(Section::Network), Qt::Key_Right);
    QTest::keyClick(main().sectionCaption(Section::Home), Qt::Key_Right);
    EXPECT_EQ(main().focusWidget(), main().sectionCaption(Section::Nodes));
    QMenu* nodes = main().menu(PopupMenu::Nodes);
    QTest::keyClick(main().sectionCaption(Section::Nodes), Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor([&] { return nodes->isVisible(); }, 2000));
    QTest::keyClick(nodes, Qt::Key_Escape);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !nodes->isVisible(); }, 2000));
    // Alt+O opens "Nodes"; Down and Enter choose its first item, "Scan Local PC".
    QTest::keyClick(&main(), Qt::Key_O, Qt::AltModifier);
    ASSERT_TRUE(QTest::qWaitFor([&] { return nodes->isVisible(); }, 2000));
    QTest::keyClick(nodes, Qt::Key_Down);
    ASSERT_EQ(nodes->activeAction(), main().menuAction(MenuCommand::ScanLocal, PopupMenu::Nodes));
    QTest::keyClick(nodes, Qt::Key_Return);
    ASSERT_TRUE(waitForScan());
    EXPECT_TRUE(std::filesystem::exists(reportOf(localHostName())));

    // A panel button's own letter presses it: Alt+V "View", Alt+E "Reset".
    ASSERT_TRUE(QTest::qWaitFor([&] { return !main().scanDialog()->isVisible(); }, 3000));
    main().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main()));
    model::VirtualPc& pc = session->virtualPc();
    auto partsOn = [&] {
        int on = 0;
        for (const auto& part : pc.parts()) on += part.optional && part.frame->Enabled;
        return on;
    };
    EXPECT_EQ(main().button(3)->mnemonicPosition(), 0);
    QTest::keyClick(&main(), Qt::Key_V, Qt::AltModifier);
    EXPECT_EQ(partsOn(), 161);
    QTest::keyClick(&main(), Qt::Key_E, Qt::AltModifier);
    EXPECT_EQ(partsOn(), 0);
}

TEST_F(MainWindowTest, ScanLocalPcWorksWithoutANodeTable) {
    start(kSettings, std::nullopt);
    EXPECT_FALSE(main().networkTree()->isVisible());
    choose(Section::Nodes, PopupMenu::Nodes, MenuCommand::ScanLocal);
    ASSERT_TRUE(waitForScan());
    EXPECT_TRUE(std::filesystem::exists(reportOf(localHostName())));
    EXPECT_GT(main().hardwareTree()->topLevelItemCount(), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !main().scanDialog()->isVisible(); }, 2000));
    // The local button runs the same scan.
    std::filesystem::remove(reportOf(localHostName()));
    pressButton(5);
    ASSERT_TRUE(waitForScan());
    EXPECT_TRUE(std::filesystem::exists(reportOf(localHostName())));
}

TEST_F(MainWindowTest, TheListButtonListsTheNodes) {
    start(kSettings, kLogins);
    pressButton(12);
    ScanDialog* dialog = main().scanDialog();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));
    dialog->grid()->refresh();
    ASSERT_EQ(dialog->grid()->rowCount(), 4);
    EXPECT_EQ(gridRow(dialog->grid(), 1), (QStringList{"PC-B", "Boss desk", "10.0.0.2", "Scanned", "True", ""}));
    QTest::mouseClick(dialog->cancelButton(), Qt::LeftButton);
    EXPECT_FALSE(dialog->isVisible());
}

TEST_F(MainWindowTest, TheWindowKeepsAnsweringWhileASlowScanRuns) {
    // Every query sleeps: a node takes well over half a second.
    auto slow = std::make_shared<test::SlowProvider>(
        std::make_shared<wbem::ProfileProvider>(std::make_shared<wbem::Profile>(wbem::loadProfile(kProfile))), 20ms);
    start(kSettings, kLogins, slow);
    state().domain.settings.parallelScans = 1;
    int ticks = 0;
    std::set<int> barWidths;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        ++ticks;
        barWidths.insert(main().scanDialog()->progressShare() > 0 ? static_cast<int>(main().scanDialog()->progressShare() * 1000) : 0);
    });
    timer.start(10);
    const auto started = std::chrono::steady_clock::now();
    choose(Section::Nodes, PopupMenu::Nodes, MenuCommand::ScanAll);
    EXPECT_TRUE(session->scans().busy());
    // A second scan is refused, not queued.
    pressButton(5);
    EXPECT_EQ(main().scanDialog()->statusText().toStdString(), kScanBusyText);
    ASSERT_TRUE(waitForScan());
    const auto took = std::chrono::steady_clock::now() - started;
    timer.stop();
    EXPECT_GT(took, 1s);
    // The timer kept firing through the scan, and the bar moved on screen.
    EXPECT_GT(ticks, static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(took).count() / 10 / 4));
    EXPECT_GE(barWidths.size(), 5U);
    EXPECT_FALSE(std::filesystem::exists(reportOf(localHostName())));
}

TEST_F(MainWindowTest, ExitDuringAScanStopsAtANodeAndKeepsWholeReports) {
    auto slow = std::make_shared<test::SlowProvider>(
        std::make_shared<wbem::ProfileProvider>(std::make_shared<wbem::Profile>(wbem::loadProfile(kProfile))), 15ms);
    start(kSettings, kLogins, slow);
    state().domain.settings.parallelScans = 1;
    choose(Section::Nodes, PopupMenu::Nodes, MenuCommand::ScanAll);
    ASSERT_TRUE(QTest::qWaitFor([&] { return state().windows.scanDialog.progressWidth > 0; }, 10000));
    choose(Section::Main, PopupMenu::Main, MenuCommand::Exit);
    EXPECT_TRUE(ui.ended());
    EXPECT_FALSE(session->scans().busy());
    // The node under way was finished; the next one was never started.
    EXPECT_TRUE(std::filesystem::exists(reportOf("PC-A")));
    EXPECT_FALSE(std::filesystem::exists(reportOf("PC-C")));
    const std::string logins = test::readBytes(dir.path() / "lg.ini");
    EXPECT_NE(logins.find("PC-A\r\n10.0.0.1\r\nPC-A\r\nTrue\r\n\r\n\r\nScanned\r\n"), std::string::npos);
    EXPECT_NE(logins.find("PC-C\r\n10.0.0.3\r\nPC-C\r\nTrue\r\n\r\n\r\nFalse\r\n"), std::string::npos);
}

TEST_F(MainWindowTest, SettingsDialogEditsTheSettings) {
    start(kSettings, kLogins);
    choose(Section::Configure, PopupMenu::Configure, MenuCommand::Settings);
    SettingsDialog* dialog = main().settingsDialog();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));
    EXPECT_TRUE(dialog->labelModeBox(1)->isChecked());  // "NAME" from the settings file

    QTest::mouseClick(dialog->labelModeBox(0), Qt::LeftButton);
    EXPECT_EQ(state().domain.settings.nodeLabelMode, NodeLabelMode::Ip);
    EXPECT_FALSE(dialog->labelModeBox(1)->isChecked());

    QTest::mouseClick(dialog->tab(SettingsPage::Passwords), Qt::LeftButton);
    EXPECT_TRUE(dialog->showPasswordsBox()->isVisible());
    // Only the chosen tab is drawn opaque.
    EXPECT_FALSE(dialog->tab(SettingsPage::Passwords)->styleSheet().isEmpty());
    EXPECT_TRUE(dialog->tab(SettingsPage::Location)->styleSheet().isEmpty());
    EXPECT_FALSE(dialog->labelModeBox(0)->isVisible());
    QTest::mouseClick(dialog->showPasswordsBox(), Qt::LeftButton);
    EXPECT_TRUE(state().domain.settings.showPasswords);

    QTest::mouseClick(dialog->tab(SettingsPage::Location), Qt::LeftButton);
    dialog->namespaceField()->selectAll();
    QTest::keyClicks(dialog->namespaceField(), "root\\default");
    QTest::mouseClick(dialog->findChild<QPushButton*>("setButton"), Qt::LeftButton);
    EXPECT_EQ(state().domain.settings.wmiNamespace, "root\\default");

    QTest::mouseClick(dialog->tab(SettingsPage::Scans), Qt::LeftButton);
    dialog->parallelScansField()->selectAll();
    QTest::keyClicks(dialog->parallelScansField(), "3");
    EXPECT_EQ(state().domain.settings.parallelScans, 3);

    std::filesystem::create_directories(dir.path() / "PC-A");
    test::writeBytes(reportOf("PC-A"), "x");
    QTest::mouseClick(dialog->tab(SettingsPage::Clear), Qt::LeftButton);
    QTest::mouseClick(dialog->findChild<QPushButton*>("clearButton"), Qt::LeftButton);
    EXPECT_FALSE(std::filesystem::exists(reportOf("PC-A")));

    // "Reset" says on its page what it does, and asks first; "No" keeps the network.
    QTest::mouseClick(dialog->tab(SettingsPage::Network), Qt::LeftButton);
    auto* explanation = dialog->findChild<QLabel*>("resetExplanation");
    ASSERT_NE(explanation, nullptr);
    EXPECT_TRUE(explanation->isVisible());
    EXPECT_TRUE(explanation->text().contains("lg.ini"));
    ui.yesNoAnswer = MsgAnswer::No;
    ui.messages.clear();
    QTest::mouseClick(dialog->findChild<QPushButton*>("resetButton"), Qt::LeftButton);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(ui.messages[0].find((dir.path() / "lg.ini").string()), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "lg.ini"));
    EXPECT_FALSE(ui.ended());
    EXPECT_EQ(state().domain.nodes.nodeCount(), 4);

    QTest::mouseClick(dialog->findChild<QPushButton*>("okButton"), Qt::LeftButton);
    EXPECT_FALSE(dialog->isVisible());
    main().close();
    EXPECT_EQ(test::readBytes(dir.path() / "vantrel.ini"),
              "admin\r\nsecret\r\n-19 \r\n 10 \r\n 0 \r\n 0 \r\nIP\r\n 1 \r\nroot\\default\r\n");
    EXPECT_EQ(test::readBytes(dir.path() / "scans.ini"), "3\r\n");
}

TEST_F(MainWindowTest, LoginsDialogGivesTheChosenNodeItsLogin) {
    start(kSettings, kLogins);
    pressButton(11);  // "Logins"
    LoginsDialog* dialog = main().loginsDialog();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));
    GridControlWidget* grid = dialog->grid();
    grid->refresh();
    ASSERT_EQ(grid->rowCount(), 4);
    EXPECT_EQ(gridRow(grid, 1), (QStringList{"PC-B", "Boss desk", "10.0.0.2", "guest", "******"}));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualItemRect(grid->item(2, 0)).center());
    EXPECT_EQ(dialog->nameField()->text(), "PC-C");
    EXPECT_EQ(dialog->passwordField()->echoMode(), QLineEdit::Password);
    QTest::keyClicks(dialog->userField(), "admin");
    QTest::keyClicks(dialog->passwordField(), "secret");
    QTest::mouseClick(dialog->findChild<QPushButton*>("updateButton"), Qt::LeftButton);
    grid->refresh();
    EXPECT_EQ(gridRow(grid, 2), (QStringList{"PC-C", "PC-C", "10.0.0.3", "admin", "******"}));
    EXPECT_EQ(state().domain.nodes.node(3).loginUser, "admin");
    QTest::mouseClick(dialog->findChild<QPushButton*>("okButton"), Qt::LeftButton);
    EXPECT_FALSE(dialog->isVisible());
    main().close();
    EXPECT_NE(test::readBytes(dir.path() / "lg.ini").find("PC-C\r\n10.0.0.3\r\nPC-C\r\nTrue\r\nadmin\r\nsecret\r\n"),
              std::string::npos);
}

TEST_F(MainWindowTest, AdministratorPasswordStatisticsAndAbout) {
    start(kSettings, kLogins);
    choose(Section::Administrator, PopupMenu::Administrator, MenuCommand::SetAdminPassword);
    AdminPasswordDialog* admin = main().adminPasswordDialog();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(admin));
    EXPECT_EQ(admin->userField()->text(), "admin");
    EXPECT_EQ(admin->passwordField()->echoMode(), QLineEdit::Password);
    admin->userField()->clear();
    QTest::keyClicks(admin->userField(), "root");
    QTest::mouseClick(admin->findChild<QPushButton*>("okButton"), Qt::LeftButton);
    EXPECT_EQ(state().domain.settings.defaultUser, "root");
    EXPECT_FALSE(admin->isVisible());

    pressButton(10);  // "Statistics"
    StatisticsDialog* stats = main().statisticsDialog();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(stats));
    EXPECT_EQ(stats->windowTitle(), "Statistics");
    EXPECT_EQ(stats->nodeCountText(), " 4");
    EXPECT_EQ(stats->scannedCountText(), "1");
    stats->close();
    EXPECT_FALSE(stats->isVisible());

    choose(Section::Main, PopupMenu::Main, MenuCommand::About);
    AboutDialog* about = main().aboutDialog();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(about));
    EXPECT_EQ(about->windowTitle(), "About Vantrel 2");
    EXPECT_EQ(about->findChild<QLabel*>("versionLabel")->text(), "V2.10");
    about->close();
    EXPECT_FALSE(about->isVisible());

    choose(Section::Main, PopupMenu::Main, MenuCommand::Support);
    pressButton(13);  // "Help", on the Support panel
    ASSERT_EQ(opened.size(), 2U);
    EXPECT_TRUE(opened[0].isLocalFile());
    EXPECT_EQ(std::filesystem::path(opened[0].toLocalFile().toStdString()), dir.path() / "user_guide.html");
    EXPECT_NE(test::readBytes(dir.path() / "user_guide.html").find("Vantrel user guide"), std::string::npos);

    main().close();
    EXPECT_EQ(test::readBytes(dir.path() / "vantrel.ini").substr(0, 6), "root\r\n");
}

// A 1280 x 800 screen at 144 dpi is 853 x 533 logical pixels, less a task bar.
TEST_F(MainWindowTest, TheWindowFitsASmallScreenAtLargeFontsAndKeepsItsPlaceForTheNextRun) {
    ui.dpi = 144;
    start(kSettings, kLogins);
    const QRect available(0, 24, 1280 * 96 / 144, 800 * 96 / 144 - 24);
    main().placeWindow(available);
    QApplication::processEvents();
    EXPECT_TRUE(available.contains(main().geometry())) << main().geometry().width() << "x" << main().geometry().height();
    // The view takes what is left, and is still a view.
    SceneViewWidget* view = main().sceneView()->view();
    ASSERT_NE(view, nullptr);
    EXPECT_GE(view->width(), 200);
    EXPECT_GE(view->height(), 150);
    // Every button can still be reached: the panels scroll sideways.
    auto* panels = main().findChild<QScrollArea*>("panelScroll");
    ASSERT_NE(panels, nullptr);
    panels->ensureWidgetVisible(main().button(11));
    QApplication::processEvents();
    const QRect logins(main().button(11)->mapTo(panels->viewport(), QPoint(0, 0)), main().button(11)->size());
    EXPECT_TRUE(panels->viewport()->rect().contains(logins));

    const QRect left(30, 40, 700, 450);
    main().setGeometry(left);
    QApplication::processEvents();
    main().close();
    ASSERT_TRUE(ui.ended());
    ASSERT_TRUE(std::filesystem::exists(dir.path() / "window.ini"));

    ScriptedQtUi nextUi;
    ProgramState next(ProgramFolder(dir.path()), nextUi);
    MainWindow again(next, nextUi);
    again.placeWindow(QRect(0, 0, 1280, 1024));
    EXPECT_EQ(again.geometry(), left);
    again.placeWindow(QRect(0, 0, 640, 480));  // a smaller screen than last time
    EXPECT_TRUE(QRect(0, 0, 640, 480).contains(again.geometry()));
}

TEST_F(MainWindowTest, LargeFontScreensGetTheCompactLayout) {
    ui.dpi = 120;
    start(kSettings, kLogins);
    EXPECT_TRUE(state().windows.main.compactLayout);
    PictureButton* statistics = main().button(10);
    PictureButton* logins = main().button(11);
    EXPECT_EQ(statistics->font().pointSizeF(), 6.0);
    EXPECT_EQ(logins->font().pointSizeF(), 8.0);
    EXPECT_LT(logins->sizeHint().height(), 48 + logins->fontMetrics().height());
}

}  // namespace
}  // namespace vantrel::ui
