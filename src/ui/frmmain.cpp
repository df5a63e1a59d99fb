#include "ui/frmmain.h"

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
#include "ui/frmlgin.h"
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

Frmmain::Frmmain(ProgramState& state, QtUiServices& ui, QWidget* parent)
    : QMainWindow(parent), state_(state), ui_(ui) {
    setObjectName("Frmmain");
    setWindowTitle("Vantrel");

    auto* central = new QWidget(this);
    Label2_ = makeNodeLabel("Label2", central);
    Label3_ = makeNodeLabel("Label3", central);
    Label4_ = makeNodeLabel("Label4", central);
    auto* labels = new QHBoxLayout;
    labels->addWidget(Label2_);
    labels->addWidget(Label3_);
    labels->addWidget(Label4_);
    labels->addStretch();

    TreeView1_ = new TreeControlWidget(state_.TreeView1, false, central);
    TreeView1_->setObjectName("TreeView1");
    TrView1_ = new TreeControlWidget(state_.TrView1, false, central);
    TrView1_->setObjectName("TrView1");
    auto* trees = new QSplitter(Qt::Vertical, central);
    trees->addWidget(TreeView1_);
    trees->addWidget(TrView1_);

    // The 3D view is drawn here once the model is plugged in.
    PicGR_ = new QFrame(central);
    PicGR_->setObjectName("PicGR");
    PicGR_->setMinimumSize(320, 240);
    PicGR_->setAutoFillBackground(true);
    QPalette pal = PicGR_->palette();
    pal.setColor(QPalette::Window, Qt::black);
    PicGR_->setPalette(pal);

    auto* split = new QSplitter(Qt::Horizontal, central);
    split->addWidget(trees);
    split->addWidget(PicGR_);
    split->setStretchFactor(1, 1);
    split->setSizes({260, 740});

    auto* layout = new QVBoxLayout(central);
    layout->addLayout(labels);
    layout->addWidget(split, 1);
    setCentralWidget(central);
    resize(1024, 720);

    frmlgin_ = new frmlgin(state_, this);
    frmlgin_->setAfterCommand([this] { syncFromCore(); });
    buildNetworkPopup();

    connect(TreeView1_, &TreeControlWidget::clicked, this, [this] { runCommand([this] { TreeView1_Click(state_); }); });
    connect(TreeView1_, &TreeControlWidget::doubleClicked, this,
            [this] { runCommand([this] { TreeView1_DblClick(state_); }); });
    connect(TreeView1_, &TreeControlWidget::mouseDown, this,
            [this](int button) { runCommand([this, button] { TreeView1_MouseDown(state_, button); }); });
    connect(TreeView1_, &TreeControlWidget::labelEdited, this, [this](const QString& text) {
        runCommand([this, text] { TreeView1_AfterLabelEdit(state_, text.toStdString()); });
    });
    ui_.setPopupHandler([this](std::string_view name) {
        if (name == "mnunw") mnunw_->popup(QCursor::pos());
    });
    ui_.setDialogParent(this);
}

Frmmain::~Frmmain() {
    ui_.setPopupHandler({});
    ui_.setDialogParent(nullptr);
}

void Frmmain::buildNetworkPopup() {
    mnunw_ = new QMenu(this);
    mnunw_->setObjectName("mnunw");
    for (const MenuItemDef& def : networkPopupMenu()) {
        QAction* action = def.caption == "-" ? mnunw_->addSeparator() : mnunw_->addAction(QString::fromStdString(def.caption));
        action->setObjectName(QString::fromStdString(def.name));
        action->setVisible(def.shown);
        if (def.caption != "-") action->setEnabled(false);
        actions_[def.name] = action;
    }
    setMenuCommand("mnuaddlogin", [this] { mnuaddlogin_Click(state_); });
    setMenuCommand("mnureset", [this] { mnureset_Click(state_); });
    setMenuCommand("mnujump", [this] { mnujump_Click(state_); });
    setMenuCommand("mnuRename", [this] { mnuRename_Click(state_); });
    setMenuCommand("mnudelnode", [this] { mnudelnode_Click(state_); });
}

void Frmmain::setMenuCommand(const std::string& itemName, std::function<void()> command) {
    QAction* action = menuAction(itemName);
    if (!action) return;
    action->disconnect(this);
    action->setEnabled(static_cast<bool>(command));
    if (command) connect(action, &QAction::triggered, this, [this, command] { runCommand(command); });
}

QAction* Frmmain::menuAction(const std::string& itemName) const {
    auto it = actions_.find(itemName);
    return it == actions_.end() ? nullptr : it->second;
}

void Frmmain::runCommand(const std::function<void()>& command) {
    if (ui_.ended()) return;
    command();
    syncFromCore();
}

QString Frmmain::nodeLabelText(int which) const {
    switch (which) {
        case 2: return Label2_->text();
        case 3: return Label3_->text();
        case 4: return Label4_->text();
        default: return {};
    }
}

void Frmmain::applyLayout() {
    if (!state_.compactLayout || compactApplied_) return;
    // The compact layout of large-font screens: 12288 x 9200 twips.
    compactApplied_ = true;
    const int dpi = logicalDpiX();
    resize(twipsToPixels(12288, dpi), twipsToPixels(9200, dpi));
}

void Frmmain::syncFromCore() {
    if (ui_.ended()) return;
    Label2_->setText(QString::fromStdString(state_.Label2));
    Label3_->setText(QString::fromStdString(state_.Label3));
    Label4_->setText(QString::fromStdString(state_.Label4));
    applyLayout();
    if (state_.busyPointer) setCursor(Qt::WaitCursor);
    else unsetCursor();
    frmlgin_->sync();
    if (state_.mainVisible && !isVisible()) show();
}

void Frmmain::startupFinished() {
    startupDone_ = true;
    if (exitPending_) requestExit();
}

void Frmmain::requestExit() {
    // Leaving half-way through the start-up would save a half-loaded table.
    if (!startupDone_) {
        exitPending_ = true;
        return;
    }
    exitProgram(state_);
}

void Frmmain::closeEvent(QCloseEvent* event) {
    // The exit sequence ends the program itself.
    event->ignore();
    requestExit();
}

}  // namespace vantrel::ui
