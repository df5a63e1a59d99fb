#include "ui/main_window.h"

#include <QCloseEvent>
#include <QCursor>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QSplitter>
#include <QVBoxLayout>

#include "core/menus.h"
#include "core/network_tree.h"
#include "core/node_registry.h"
#include "core/startup.h"
#include "ui/login_dialog.h"
#include "ui/grid_control_widget.h"
#include "ui/qt_ui_services.h"
#include "ui/tree_control_widget.h"

namespace vantrel::ui {

namespace {

QLabel* makeNodeLabel(const char* name, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setMinimumWidth(160);
    label->setFrameShape(QFrame::StyledPanel);
    return label;
}

}  // namespace

MainWindow::MainWindow(ProgramState& state, QtUiServices& ui, QWidget* parent)
    : QMainWindow(parent), state_(state), ui_(ui) {
    setObjectName("mainWindow");
    setWindowTitle("Vantrel");

    auto* central = new QWidget(this);
    displayNameLabel_ = makeNodeLabel("currentNodeDisplayName", central);
    addressLabel_ = makeNodeLabel("currentNodeAddress", central);
    nameLabel_ = makeNodeLabel("currentNodeName", central);
    auto* labels = new QHBoxLayout;
    labels->addWidget(displayNameLabel_);
    labels->addWidget(addressLabel_);
    labels->addWidget(nameLabel_);
    labels->addStretch();

    networkTree_ = new TreeControlWidget(state_.windows.main.networkTree, false, central);
    networkTree_->setObjectName("networkTree");
    hardwareTree_ = new TreeControlWidget(state_.windows.main.hardwareTree, false, central);
    hardwareTree_->setObjectName("hardwareTree");
    auto* trees = new QSplitter(Qt::Vertical, central);
    trees->addWidget(networkTree_);
    trees->addWidget(hardwareTree_);

    // The 3D view is drawn here once the model is plugged in.
    sceneView_ = new QFrame(central);
    sceneView_->setObjectName("sceneView");
    sceneView_->setMinimumSize(320, 240);
    sceneView_->setAutoFillBackground(true);
    QPalette pal = sceneView_->palette();
    pal.setColor(QPalette::Window, Qt::black);
    sceneView_->setPalette(pal);

    auto* split = new QSplitter(Qt::Horizontal, central);
    split->addWidget(trees);
    split->addWidget(sceneView_);
    split->setStretchFactor(1, 1);
    split->setSizes({260, 740});

    auto* layout = new QVBoxLayout(central);
    layout->addLayout(labels);
    layout->addWidget(split, 1);
    setCentralWidget(central);
    resize(1024, 720);

    loginDialog_ = new LoginDialog(state_, this);
    loginDialog_->setAfterCommand([this] { syncFromCore(); });
    buildNodePopupMenu();

    connect(networkTree_, &TreeControlWidget::clicked, this,
            [this] { runCommand([this] { networkTreeClicked(state_); }); });
    connect(networkTree_, &TreeControlWidget::doubleClicked, this,
            [this] { runCommand([this] { networkTreeDoubleClicked(state_); }); });
    connect(networkTree_, &TreeControlWidget::mouseDown, this,
            [this](MouseButton button) { runCommand([this, button] { networkTreeMouseDown(state_, button); }); });
    connect(networkTree_, &TreeControlWidget::labelEdited, this, [this](const QString& text) {
        runCommand([this, text] { networkTreeLabelEdited(state_, text.toStdString()); });
    });
    ui_.setPopupHandler([this](PopupMenu menu) {
        if (menu == PopupMenu::Node) nodeMenu_->popup(QCursor::pos());
    });
    ui_.setDialogParent(this);
}

MainWindow::~MainWindow() {
    ui_.setPopupHandler({});
    ui_.setDialogParent(nullptr);
}

void MainWindow::buildNodePopupMenu() {
    nodeMenu_ = new QMenu(this);
    nodeMenu_->setObjectName("nodePopupMenu");
    for (const MenuItemDef& def : vantrel::nodePopupMenu()) {
        QAction* action = def.command == MenuCommand::Separator ? nodeMenu_->addSeparator()
                                                                : nodeMenu_->addAction(QString::fromStdString(def.caption));
        action->setVisible(def.shown);
        if (def.command == MenuCommand::Separator) continue;
        action->setEnabled(false);
        actions_[def.command] = action;
    }
    setMenuCommand(MenuCommand::SetNodeLogin, [this] { setCurrentNodeLogin(state_); });
    setMenuCommand(MenuCommand::ResetNodeLogin, [this] { resetCurrentNodeLogin(state_); });
    setMenuCommand(MenuCommand::JumpNode, [this] { jumpCurrentNode(state_); });
    setMenuCommand(MenuCommand::RenameNode, [this] { renameNode(state_); });
    setMenuCommand(MenuCommand::DeleteNode, [this] { deleteCurrentNode(state_); });
}

void MainWindow::setMenuCommand(MenuCommand item, std::function<void()> command) {
    QAction* action = menuAction(item);
    if (!action) return;
    action->disconnect(this);
    action->setEnabled(static_cast<bool>(command));
    if (command) connect(action, &QAction::triggered, this, [this, command] { runCommand(command); });
}

QAction* MainWindow::menuAction(MenuCommand item) const {
    auto it = actions_.find(item);
    return it == actions_.end() ? nullptr : it->second;
}

void MainWindow::runCommand(const std::function<void()>& command) {
    if (ui_.ended()) return;
    command();
    syncFromCore();
}

QString MainWindow::currentNodeDisplayName() const { return displayNameLabel_->text(); }
QString MainWindow::currentNodeAddress() const { return addressLabel_->text(); }
QString MainWindow::currentNodeName() const { return nameLabel_->text(); }

void MainWindow::applyLayout() {
    if (!state_.windows.main.compactLayout || compactApplied_) return;
    // The compact layout of large-font screens: 12288 x 9200 twips.
    compactApplied_ = true;
    const int dpi = logicalDpiX();
    resize(twipsToPixels(12288, dpi), twipsToPixels(9200, dpi));
}

void MainWindow::syncFromCore() {
    if (ui_.ended()) return;
    displayNameLabel_->setText(QString::fromStdString(state_.windows.main.currentNodeDisplayName));
    addressLabel_->setText(QString::fromStdString(state_.windows.main.currentNodeAddress));
    nameLabel_->setText(QString::fromStdString(state_.windows.main.currentNodeName));
    applyLayout();
    if (state_.windows.main.busyPointer) setCursor(Qt::WaitCursor);
    else unsetCursor();
    loginDialog_->sync();
    if (state_.windows.main.visible && !isVisible()) show();
}

void MainWindow::startupFinished() {
    startupDone_ = true;
    if (exitPending_) requestExit();
}

void MainWindow::requestExit() {
    // Leaving half-way through the start-up would save a half-loaded table.
    if (!startupDone_) {
        exitPending_ = true;
        return;
    }
    exitProgram(state_);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // The exit sequence ends the program itself.
    event->ignore();
    requestExit();
}

}  // namespace vantrel::ui
