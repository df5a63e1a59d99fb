#include "ui/main_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QCursor>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QGuiApplication>
#include <QSaveFile>
#include <QScreen>
#include <QShortcut>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>
#include <QToolButton>
#include <QVBoxLayout>
#include <set>

#include "core/admin_dialogs.h"
#include "core/logins_dialog.h"
#include "core/network_tree.h"
#include "core/node_registry.h"
#include "core/settings_dialog.h"
#include "core/startup.h"
#include "ui/export_dialog.h"
#include "ui/grid_control_widget.h"
#include "ui/host_key_dialog.h"
#include "ui/login_dialog.h"
#include "ui/mnemonics.h"
#include "ui/logins_dialog.h"
#include "ui/picture_button.h"
#include "ui/qt_ui_services.h"
#include "ui/scan_dialog.h"
#include "ui/section_caption.h"
#include "ui/settings_dialog.h"
#include "ui/small_dialogs.h"
#include "ui/tree_control_widget.h"
#include "ui/view_panel.h"
#include "ui/window_geometry.h"

namespace vantrel::ui {

namespace {

constexpr int kPictureSide = 48;
constexpr int kCompactPictureSide = 36;
constexpr const char* kWindowStyle =
    "QWidget#mainBackground { background-color: #1b2129; }"
    "QLabel.nodeLabel { color: #ffffff; background-color: #262e38; border: 1px solid #3b4552; padding: 2px 6px; }"
    "QFrame.buttonPanel { background-color: #222a33; border: 1px solid #3b4552; border-radius: 4px; }"
    "QLabel.panelTitle { color: #9fb3c8; border: none; background: transparent; }";
// The panel strip's sideways scroll bar, in the window's colours.
constexpr const char* kPanelScrollBarStyle =
    "QScrollBar:horizontal { background: #1b2129; border: none; height: 10px; margin: 0; }"
    "QScrollBar::handle:horizontal { background: #4a5563; border-radius: 4px; min-width: 40px; }"
    "QScrollBar::add-line:horizontal, QScrollBar::sub-line:horizontal { width: 0; border: none; }"
    "QScrollBar::add-page:horizontal, QScrollBar::sub-page:horizontal { background: none; }";

QLabel* makeNodeLabel(const char* name, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setProperty("class", "nodeLabel");
    label->setMinimumWidth(140);
    label->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    return label;
}

// The letters of the section captions' Alt mnemonics, in caption order:
// "Main", "Network", "Home", "Nodes", "PC", "Administrator", "Configure", "Support".
constexpr Qt::Key kCaptionMnemonics[] = {Qt::Key_M, Qt::Key_N, Qt::Key_H, Qt::Key_O,
                                         Qt::Key_P, Qt::Key_A, Qt::Key_C, Qt::Key_S};

QString text(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

Section sectionOf(PopupMenu menu) {
    switch (menu) {
        case PopupMenu::Main: return Section::Main;
        case PopupMenu::Network: return Section::Network;
        case PopupMenu::Nodes: return Section::Nodes;
        case PopupMenu::Pc: return Section::Pc;
        case PopupMenu::Administrator: return Section::Administrator;
        case PopupMenu::Configure: return Section::Configure;
        case PopupMenu::Node: break;
    }
    return Section::Main;
}

constexpr PopupMenu kAllMenus[] = {PopupMenu::Node,  PopupMenu::Main,          PopupMenu::Network,  PopupMenu::Nodes,
                                   PopupMenu::Pc,    PopupMenu::Administrator, PopupMenu::Configure};
constexpr const char* kMenuNames[] = {"nodePopupMenu", "mainMenu",          "networkMenu", "nodesMenu",
                                      "pcMenu",        "administratorMenu", "configureMenu"};

}  // namespace

MainWindow::MainWindow(ProgramState& state, QtUiServices& ui, QWidget* parent)
    : QMainWindow(parent), state_(state), ui_(ui) {
    setObjectName("mainWindow");
    setWindowTitle("Vantrel");
    setMouseTracking(true);

    auto* central = new QWidget(this);
    central->setObjectName("mainBackground");
    central->setAttribute(Qt::WA_StyledBackground, true);
    central->setMouseTracking(true);
    central->installEventFilter(this);
    central->setStyleSheet(kWindowStyle);

    displayNameLabel_ = makeNodeLabel("currentNodeDisplayName", central);
    addressLabel_ = makeNodeLabel("currentNodeAddress", central);
    nameLabel_ = makeNodeLabel("currentNodeName", central);
    auto* labels = new QHBoxLayout;
    labels->addWidget(displayNameLabel_, 3);
    labels->addWidget(addressLabel_, 2);
    labels->addWidget(nameLabel_, 3);
    labels->addStretch(1);

    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(6, 4, 6, 6);
    layout->setSpacing(4);
    layout->addLayout(labels);
    layout->addWidget(buildCaptions(central));
    // On a narrow screen the panels scroll sideways rather than widen the window.
    panelScroll_ = new QScrollArea(central);
    panelScroll_->setObjectName("panelScroll");
    panelScroll_->setFrameShape(QFrame::NoFrame);
    panelScroll_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    panelScroll_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    panelScroll_->setWidgetResizable(true);
    panelScroll_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    panelScroll_->viewport()->setAutoFillBackground(false);
    panelScroll_->horizontalScrollBar()->setStyleSheet(kPanelScrollBarStyle);
    panelScroll_->setWidget(buildPanels(panelScroll_));
    panelScroll_->widget()->setAutoFillBackground(false);
    layout->addWidget(panelScroll_);

    // The 3D view with its pan pad and buttons.
    sceneView_ = new ViewPanel(central);
    sceneView_->setObjectName("sceneView");
    addLabelBarHeads(labels, central);

    auto* split = new QSplitter(Qt::Horizontal, central);
    split->setObjectName("bodySplitter");
    split->addWidget(buildTreeTabs(buildTrees(central), central));
    split->addWidget(sceneView_);
    split->setStretchFactor(0, 28);
    split->setStretchFactor(1, 72);
    layout->addWidget(split, 1);
    setCentralWidget(central);
    resize(1100, 780);
    savedGeometry_ = readWindowGeometry(geometryFile());

    for (std::size_t i = 0; i < std::size(kAllMenus); ++i)
        menus_[kAllMenus[i]] = buildMenu(menuItems(kAllMenus[i]), kMenuNames[i]);
    buildDialogs();
    registerOwnCommands();

    connect(networkTree_, &TreeControlWidget::clicked, this,
            [this] { runCommand([this] { networkTreeClicked(state_); }); });
    connect(networkTree_, &TreeControlWidget::doubleClicked, this,
            [this] { runCommand([this] { networkTreeDoubleClicked(state_); }); });
    connect(networkTree_, &TreeControlWidget::mouseDown, this,
            [this](MouseButton button) { runCommand([this, button] { networkTreeMouseDown(state_, button); }); });
    connect(networkTree_, &TreeControlWidget::labelEdited, this, [this](const QString& t) {
        runCommand([this, t] { networkTreeLabelEdited(state_, t.toStdString()); });
    });
    ui_.setPopupHandler([this](PopupMenu which) { popup(which); });
    ui_.setDialogParent(this);
    syncHover();
}

MainWindow::~MainWindow() {
    ui_.setPopupHandler({});
    ui_.setDialogParent(nullptr);
}

QWidget* MainWindow::buildCaptions(QWidget* parent) {
    auto* row = new QWidget(parent);
    row->setObjectName("sectionCaptions");
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    for (std::size_t i = 0; i < captions_.size(); ++i) {
        auto* caption = new SectionCaption(static_cast<int>(i), text(kSectionCaptions[i]), row);
        connect(caption, &SectionCaption::clicked, this, [this](int index) {
            runCommand([this, index] { sectionCaptionClicked(state_, static_cast<Section>(index)); });
        });
        connect(caption, &SectionCaption::hovered, this, [this](int index) {
            captionMouseMove(state_.windows.main.hover, index);
            syncHover();
        });
        caption->installEventFilter(this);
        // Alt and the caption's letter open it from anywhere in the window.
        const QKeySequence mnemonic(Qt::ALT | kCaptionMnemonics[i]);
        caption->setToolTip(mnemonic.toString(QKeySequence::NativeText));
        auto* shortcut = new QShortcut(mnemonic, this);
        connect(shortcut, &QShortcut::activated, this, [this, i] {
            captions_[i]->setFocus(Qt::ShortcutFocusReason);
            runCommand([this, i] { sectionCaptionClicked(state_, static_cast<Section>(i)); });
        });
        // A letter a button shares: the focus moves along them instead.
        connect(shortcut, &QShortcut::activatedAmbiguously, this,
                [this, i] { captions_[i]->setFocus(Qt::ShortcutFocusReason); });
        layout->addWidget(caption);
        captions_[i] = caption;
    }
    layout->addStretch();
    return row;
}

QWidget* MainWindow::buildPanels(QWidget* parent) {
    auto* strip = new QWidget(parent);
    strip->setObjectName("panelStrip");
    strip->setMouseTracking(true);
    strip->installEventFilter(this);
    auto* layout = new QHBoxLayout(strip);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    std::map<Panel, QHBoxLayout*> rows;
    for (std::size_t p = 0; p < kPanelTitles.size(); ++p) {
        const auto which = static_cast<Panel>(p);
        auto* frame = new QFrame(strip);
        frame->setObjectName(QStringLiteral("panel%1").arg(text(kPanelTitles[p])));
        frame->setProperty("class", "buttonPanel");
        frame->setMouseTracking(true);
        frame->installEventFilter(this);
        auto* column = new QVBoxLayout(frame);
        column->setContentsMargins(4, 2, 4, 4);
        column->setSpacing(2);
        auto* title = new QLabel(text(kPanelTitles[p]), frame);
        title->setProperty("class", "panelTitle");
        title->setAttribute(Qt::WA_TransparentForMouseEvents);
        column->addWidget(title);
        auto* buttons = new QHBoxLayout;
        buttons->setSpacing(6);
        column->addLayout(buttons);
        rows[which] = buttons;
        panels_[which] = frame;
        layout->addWidget(frame);
    }
    layout->addStretch();
    for (std::size_t i = 0; i < buttons_.size(); ++i) {
        const ButtonDef& def = kButtons[i];
        auto* button = new PictureButton(static_cast<int>(i), text(def.picture), text(def.caption), text(def.toolTip));
        connect(button, &PictureButton::pressed, this, [this](int index) {
            runMenuCommand(kButtons[static_cast<std::size_t>(index)].command);
        });
        connect(button, &PictureButton::hovered, this, [this](int index) {
            buttonMouseMove(state_.windows.main.hover, index);
            syncHover();
        });
        button->installEventFilter(this);
        buttons_[i] = button;
        if (def.panel != Panel::BesideNetworkTree) rows[def.panel]->addWidget(button);
    }
    addButtonMnemonics();
    return strip;
}

QWidget* MainWindow::buildTrees(QWidget* parent) {
    auto* left = new QWidget(parent);
    left->setObjectName("treeColumn");
    networkTree_ = new TreeControlWidget(state_.windows.main.networkTree, false, left);
    networkTree_->setObjectName("networkTree");
    hardwareTree_ = new TreeControlWidget(state_.windows.main.hardwareTree, false, left);
    hardwareTree_->setObjectName("hardwareTree");

    auto* loginButtons = new QVBoxLayout;
    loginButtons->setSpacing(6);
    for (std::size_t i = 0; i < buttons_.size(); ++i)
        if (kButtons[i].panel == Panel::BesideNetworkTree) {
            buttons_[i]->setParent(left);
            loginButtons->addWidget(buttons_[i]);
        }
    loginButtons->addStretch();
    auto* top = new QWidget(left);
    auto* topLayout = new QHBoxLayout(top);
    topLayout->setContentsMargins(0, 0, 0, 0);
    topLayout->addWidget(networkTree_, 1);
    topLayout->addLayout(loginButtons);

    auto* trees = new QSplitter(Qt::Vertical, left);
    trees->addWidget(top);
    trees->addWidget(hardwareTree_);
    auto* layout = new QVBoxLayout(left);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(trees);
    panels_[Panel::BesideNetworkTree] = top;
    return left;
}

QWidget* MainWindow::buildTreeTabs(QWidget* trees, QWidget* parent) {
    // Tabs over the trees: one shows the network tree, the other the hardware tree.
    auto* pane = new QWidget(parent);
    auto* layout = new QVBoxLayout(pane);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* tabs = new QHBoxLayout;
    auto* networkTab = new QToolButton(pane);
    networkTab->setObjectName("networkTab");
    networkTab->setText("Network");
    networkTab->setCheckable(true);
    networkTab->setChecked(true);
    auto* hardwareTab = new QToolButton(pane);
    hardwareTab->setObjectName("hardwareTab");
    hardwareTab->setText("Hardware");
    hardwareTab->setCheckable(true);
    tabs->addWidget(networkTab);
    tabs->addWidget(hardwareTab);
    tabs->addStretch();
    layout->addLayout(tabs);
    trees->setParent(pane);
    layout->addWidget(trees, 1);
    auto showTab = [this, networkTab, hardwareTab](bool network) {
        auto& controls = sceneView_->sideControls();
        if (network) controls.showNetworkTree(state_.windows.main.networkTree, state_.windows.main.hardwareTree);
        else controls.showHardwareTree(state_.windows.main.networkTree, state_.windows.main.hardwareTree);
        networkTab->setChecked(controls.tabHeader == view::TabHeader::Network);
        hardwareTab->setChecked(controls.tabHeader == view::TabHeader::Hardware);
        syncTreePane();
    };
    connect(networkTab, &QToolButton::clicked, this, [showTab] { showTab(true); });
    connect(hardwareTab, &QToolButton::clicked, this, [showTab] { showTab(false); });
    return pane;
}

void MainWindow::addLabelBarHeads(QHBoxLayout* labels, QWidget* parent) {
    // Side bars 2 to 4 fold the current node's labels away.
    QLabel* barContents[] = {displayNameLabel_, addressLabel_, nameLabel_};
    for (int bar = 2; bar <= 4; ++bar) {
        QLabel* content = barContents[bar - 2];
        auto* head = new QToolButton(parent);
        head->setObjectName(QString("barHead%1").arg(bar));
        head->setArrowType(Qt::DownArrow);
        head->setAutoRaise(true);
        labels->insertWidget(labels->indexOf(content), head);
        connect(head, &QToolButton::clicked, this, [this, bar, head, content] {
            auto& controls = sceneView_->sideControls();
            controls.barMouseDown(bar);
            content->setVisible(!controls.BarCollapsed[bar]);
            head->setArrowType(controls.BarCollapsed[bar] ? Qt::RightArrow : Qt::DownArrow);
        });
    }
}

QMenu* MainWindow::buildMenu(const std::vector<MenuItemDef>& items, const QString& name) {
    auto* menu = new QMenu(this);
    menu->setObjectName(name);
    const PopupMenu owner = [&] {
        for (std::size_t i = 0; i < std::size(kAllMenus); ++i)
            if (name == kMenuNames[i]) return kAllMenus[i];
        return PopupMenu::Node;
    }();
    std::function<void(QMenu*, const std::vector<MenuItemDef>&)> fill = [&](QMenu* into, const auto& defs) {
        for (const MenuItemDef& def : defs) {
            if (def.command == MenuCommand::Separator) {
                into->addSeparator()->setVisible(def.shown);
                continue;
            }
            if (def.command == MenuCommand::Submenu) {
                QMenu* sub = into->addMenu(QString::fromStdString(def.caption));
                sub->setObjectName(name + "." + QString::fromStdString(def.caption));
                sub->menuAction()->setVisible(def.shown);
                fill(sub, def.submenu);
                continue;
            }
            QAction* action = into->addAction(QString::fromStdString(def.caption));
            action->setVisible(def.shown);
            action->setEnabled(false);
            const MenuCommand command = def.command;
            connect(action, &QAction::triggered, this, [this, command] { runMenuCommand(command); });
            actions_.emplace(command, std::make_pair(owner, action));
        }
    };
    fill(menu, items);
    return menu;
}

void MainWindow::buildDialogs() {
    auto refresh = [this] { syncFromCore(); };
    loginDialog_ = new LoginDialog(state_, this);
    loginDialog_->setAfterCommand(refresh);
    scanDialog_ = new ScanDialog(state_, this);
    scanDialog_->setAfterCommand(refresh);
    settingsDialog_ = new SettingsDialog(state_, this);
    settingsDialog_->setAfterCommand(refresh);
    loginsDialog_ = new LoginsDialog(state_, this);
    loginsDialog_->setAfterCommand(refresh);
    adminDialog_ = new AdminPasswordDialog(state_, this);
    adminDialog_->setAfterCommand(refresh);
    statisticsDialog_ = new StatisticsDialog(state_, this);
    statisticsDialog_->setAfterCommand(refresh);
    aboutDialog_ = new AboutDialog(state_, this);
    aboutDialog_->setAfterCommand(refresh);
    exportDialog_ = new ExportDialog(state_, this);
    exportDialog_->setAfterCommand(refresh);
    hostKeyDialog_ = new HostKeyDialog(state_, this);
    hostKeyDialog_->setAfterCommand(refresh);
}

void MainWindow::registerOwnCommands() {
    setMenuCommand(MenuCommand::SetNodeLogin, [this] { setCurrentNodeLogin(state_); });
    setMenuCommand(MenuCommand::ResetNodeLogin, [this] { resetCurrentNodeLogin(state_); });
    setMenuCommand(MenuCommand::JumpNode, [this] { jumpCurrentNode(state_); });
    setMenuCommand(MenuCommand::RenameNode, [this] { renameNode(state_); });
    setMenuCommand(MenuCommand::DeleteNode, [this] { deleteCurrentNode(state_); });
    setMenuCommand(MenuCommand::Support, [this] { openUserGuide({}); });
    setMenuCommand(MenuCommand::Help, [this] { openUserGuide("first"); });
    setMenuCommand(MenuCommand::Web, [this] { openUserGuide({}); });
    setMenuCommand(MenuCommand::About, [this] { openAboutDialog(state_); });
    setMenuCommand(MenuCommand::Exit, [this] { requestExit(); });
    setMenuCommand(MenuCommand::SetAdminPassword, [this] { openAdminDialog(state_); });
    setMenuCommand(MenuCommand::Logins, [this] { openLoginsDialog(state_); });
    setMenuCommand(MenuCommand::Statistics, [this] { openStatisticsDialog(state_); });
    setMenuCommand(MenuCommand::Settings, [this] { openSettingsDialog(state_); });
}

void MainWindow::setMenuCommand(MenuCommand item, std::function<void()> command) {
    if (command) commands_[item] = std::move(command);
    else commands_.erase(item);
    syncActions();
}

bool MainWindow::commandEnabled(MenuCommand command) const {
    const MainWindowState& main = state_.windows.main;
    if (command == MenuCommand::NetworkScan && !main.networkScanEnabled) return false;
    if (command == MenuCommand::Rescan && !main.rescanEnabled) return false;
    return hasCommand(command);
}

void MainWindow::syncActions() {
    // A button is enabled exactly when its menu item is: the "Scan" button
    // must not run a network scan that the menu has switched off.
    for (std::size_t i = 0; i < buttons_.size(); ++i)
        if (buttons_[i]) buttons_[i]->setEnabled(commandEnabled(kButtons[i].command));
    for (auto& [command, entry] : actions_) entry.second->setEnabled(commandEnabled(command));
}

QMenu* MainWindow::menu(PopupMenu which) const {
    auto it = menus_.find(which);
    return it == menus_.end() ? nullptr : it->second;
}

QAction* MainWindow::menuAction(MenuCommand item, PopupMenu which) const {
    auto [first, last] = actions_.equal_range(item);
    for (auto it = first; it != last; ++it)
        if (it->second.first == which) return it->second.second;
    return nullptr;
}

QWidget* MainWindow::panel(Panel which) const {
    auto it = panels_.find(which);
    return it == panels_.end() ? nullptr : it->second;
}

void MainWindow::popup(PopupMenu which) {
    QMenu* m = menu(which);
    if (!m) return;
    if (which == PopupMenu::Node) {
        m->popup(QCursor::pos());
        return;
    }
    const SectionCaption* caption = sectionCaption(sectionOf(which));
    m->popup(caption->mapToGlobal(QPoint(0, caption->height())));
}

void MainWindow::runCommand(const std::function<void()>& command) {
    if (ui_.ended()) return;
    command();
    syncFromCore();
}

void MainWindow::runMenuCommand(MenuCommand item) {
    // A button runs its command whatever the state of the menu item.
    auto it = commands_.find(item);
    if (it == commands_.end()) return;
    const std::function<void()> command = it->second;
    runCommand(command);
}

void MainWindow::openUserGuide(const QString& anchor) {
    // The browser cannot read the program's resources: the page is written
    // into the program folder and opened from there.
    QFile page(":/vantrel/guide/user_guide.html");
    if (!page.open(QIODevice::ReadOnly)) return;
    const QString path = QDir(QString::fromStdString(state_.folder.root().string())).filePath("user_guide.html");
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(page.readAll()) < 0 || !out.commit()) return;
    QUrl url = QUrl::fromLocalFile(path);
    if (!anchor.isEmpty()) url.setFragment(anchor);
    if (urlOpener_) urlOpener_(url);
    else QDesktopServices::openUrl(url);
}

QString MainWindow::currentNodeDisplayName() const { return displayNameLabel_->text(); }
QString MainWindow::currentNodeAddress() const { return addressLabel_->text(); }
QString MainWindow::currentNodeName() const { return nameLabel_->text(); }

void MainWindow::applyLayout() {
    if (!state_.windows.main.compactLayout || compactApplied_) return;
    // Large-font screens: a window of 12288 x 9200 twips, smaller pictures,
    // and the three widest button captions in 6 points.
    compactApplied_ = true;
    const int dpi = logicalDpiX();
    resize(twipsToPixels(12288, dpi), twipsToPixels(9200, dpi));
    if (placed_) placeOnScreen();
    for (PictureButton* button : buttons_) {
        button->setPictureSize(kCompactPictureSide);
        if (button->caption() == "Statistics" || button->caption() == "Selected" || button->caption() == "Settings")
            button->setCaptionPointSize(6);
    }
}

void MainWindow::addButtonMnemonics() {
    std::set<QChar> taken;
    for (const Qt::Key key : kCaptionMnemonics) taken.insert(QChar(static_cast<char16_t>(key)));
    std::vector<QString> captions;
    for (PictureButton* button : buttons_) captions.push_back(button->caption());
    const std::vector<int> positions = chooseMnemonics(captions, taken);
    for (std::size_t i = 0; i < buttons_.size(); ++i) {
        PictureButton* button = buttons_[i];
        if (positions[i] < 0) continue;
        button->setMnemonicPosition(positions[i]);
        const QKeySequence mnemonic(QStringLiteral("Alt+%1").arg(captions[i][positions[i]].toUpper()));
        // On the button itself: a hidden panel's buttons do not answer. A
        // letter shared by several buttons moves the focus along them; Enter
        // then presses the one that has it.
        auto* shortcut = new QShortcut(mnemonic, button);
        connect(shortcut, &QShortcut::activated, this, [this, button] {
            if (button->isEnabled()) runMenuCommand(kButtons[static_cast<std::size_t>(button->index())].command);
        });
        connect(shortcut, &QShortcut::activatedAmbiguously, button, [button] { button->setFocus(Qt::ShortcutFocusReason); });
    }
}

void MainWindow::syncTreePane() {
    // The login buttons go with the network tree, so that the hardware tree
    // alone fills the pane.
    panels_[Panel::BesideNetworkTree]->setVisible(state_.windows.main.networkTree.visible());
}

std::filesystem::path MainWindow::geometryFile() const { return state_.folder.root() / "window.ini"; }

void MainWindow::placeWindow(const QRect& available) {
    placed_ = true;
    setGeometry(fitToAvailable(savedGeometry_.value_or(geometry()), available));
    fitPanelStripHeight();
}

void MainWindow::placeOnScreen() {
    const QScreen* onScreen = screen() ? screen() : QGuiApplication::primaryScreen();
    if (onScreen) placeWindow(onScreen->availableGeometry());
}

void MainWindow::fitPanelStripHeight() {
    // Room for the sideways scroll bar only while the panels need it.
    QWidget* strip = panelScroll_->widget();
    const bool scrolls = strip->minimumSizeHint().width() > panelScroll_->viewport()->width();
    panelScroll_->setFixedHeight(strip->sizeHint().height() +
                                 (scrolls ? panelScroll_->horizontalScrollBar()->sizeHint().height() : 0));
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    fitPanelStripHeight();
}

void MainWindow::syncHover() {
    const HoverState& hover = state_.windows.main.hover;
    for (std::size_t i = 0; i < buttons_.size(); ++i) buttons_[i]->showHoverPicture(hover.buttonShowsHover[i]);
    for (std::size_t i = 0; i < captions_.size(); ++i) captions_[i]->setHighlighted(hover.captionHighlighted[i]);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    // The mouse over a panel or the window's background puts the hover
    // feedback back, and so does the mouse leaving a button or caption: the
    // view and the trees beside them say nothing of the mouse.
    const bool leftControl = event->type() == QEvent::Leave &&
                             (qobject_cast<PictureButton*>(watched) || qobject_cast<SectionCaption*>(watched));
    const bool movedElsewhere = event->type() == QEvent::MouseMove && watched->isWidgetType() &&
                                !qobject_cast<PictureButton*>(watched) && !qobject_cast<SectionCaption*>(watched);
    if (leftControl || movedElsewhere) {
        resetHover(state_.windows.main.hover);
        syncHover();
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::syncFromCore() {
    if (ui_.ended()) return;
    const MainWindowState& main = state_.windows.main;
    displayNameLabel_->setText(QString::fromStdString(main.currentNodeDisplayName));
    addressLabel_->setText(QString::fromStdString(main.currentNodeAddress));
    nameLabel_->setText(QString::fromStdString(main.currentNodeName));
    const bool support = main.supportPanelShown;
    for (auto& [which, widget] : panels_)
        if (which != Panel::BesideNetworkTree) widget->setVisible((which == Panel::Support) == support);
    sectionCaption(Section::Home)->setBordered(!support);
    sectionCaption(Section::Support)->setBordered(support);
    syncHover();
    syncActions();
    syncTreePane();
    applyLayout();
    if (main.visible && !placed_) placeOnScreen();
    if (main.busyPointer) setCursor(Qt::WaitCursor);
    else unsetCursor();
    loginDialog_->sync();
    scanDialog_->sync();
    settingsDialog_->sync();
    loginsDialog_->sync();
    adminDialog_->sync();
    statisticsDialog_->sync();
    aboutDialog_->sync();
    exportDialog_->sync();
    hostKeyDialog_->sync();
    if (main.visible && !isVisible()) show();
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
    if (beforeExit_) beforeExit_();
    // The window's place is the user's: kept for the next run, never a reason to stop.
    writeWindowGeometry(geometryFile(), normalGeometry());
    exitProgram(state_);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // The exit sequence ends the program itself.
    event->ignore();
    requestExit();
}

}  // namespace vantrel::ui
