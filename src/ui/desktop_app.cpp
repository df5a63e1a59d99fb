#include "ui/desktop_app.h"

#include <QApplication>
#include <QToolButton>
#include <iostream>
#include <optional>
#include <string>

#include "collect/show_node.h"
#include "core/error.h"
#include "core/export_dialog.h"
#include "core/host_key_dialog.h"
#include "core/home_lock.h"
#include "core/network_scan.h"
#include "core/startup.h"
#include "core/version.h"
#include "model/display_modes.h"
#include "model/model_session.h"
#include "network/host_lookup.h"
#include "providers/profile/profile_provider.h"
#include "session/scan_providers.h"
#include "store/change_command_listener.h"
#include "store/home_store.h"
#include "store/store_choice.h"
#include "store/store_setting.h"
#include "ui/desktop_export.h"
#include "ui/desktop_view.h"
#include "ui/export_dialog.h"
#include "ui/host_key_dialog.h"
#include "ui/exit_signals.h"
#include "ui/history_dialog.h"
#include "ui/main_window.h"
#include "ui/picture_button.h"
#include "ui/qt_ui_services.h"
#include "ui/shared_store_watch.h"
#include "ui/splash_window.h"
#include "ui/view_panel.h"

namespace vantrel::ui {

namespace {

// The buttons that switch something on and off (see kButtons).
constexpr int kLightsButton = 9;
constexpr int kAxesButton = 16;
constexpr int kBaseButton = 17;

struct DesktopOptions {
    std::optional<std::filesystem::path> home;
    std::optional<std::filesystem::path> profile;  // scans answered from a JSON profile
    bool help = false;
    bool version = false;
    std::string error;
};

DesktopOptions parseOptions(int argc, char** argv) {
    DesktopOptions o;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--home" && i + 1 < argc) o.home = argv[++i];
        else if (a == "--profile" && i + 1 < argc) o.profile = argv[++i];
        else if (a == "--help" || a == "-h") o.help = true;
        else if (a == "--version") o.version = true;
        else o.error = "unknown option '" + a + "'";
    }
    return o;
}

}  // namespace

DesktopSession::DesktopSession(const std::filesystem::path& programFolder, QtUiServices& ui)
    : ui_(ui),
      state_(ProgramFolder(programFolder), ui),
      history_(state_, hardware_, virtualPc_,
               [this] { return openInventoryStore(state_.folder, storeTarget(state_.folder, {})); }) {
    state_.lookupLocalAddress = [] { return network::localIpv4Address(); };
    state_.networkBrowser = &networkBrowser_;
    state_.showCurrentNode = makeShowCurrentNode(state_, hardware_);
    hardware_.listener = &state_.scanPresenter;
    // "Scan Local PC" and the local node read this computer; every other node
    // answers over WS-Management, reached as its Login dialog says.
    sshProvider_ = session::attachScanProviders(hardware_);
    model::attachModel(hardware_, modelTarget_);
    splash_ = std::make_unique<SplashWindow>(state_);
    main_ = std::make_unique<MainWindow>(state_, ui_);
    view_ = std::make_unique<DesktopView>(state_, *main_->sceneView(), virtualPc_);
    // Every scan is kept in the history (the folder's own, or the shared
    // store its "store.ini" names); a history that cannot be kept is said
    // from whichever thread found out, on the window's.
    auto notice = [this](const std::string& why) {
        QMetaObject::invokeMethod(
            main_.get(), [this, why] { ui_.messageBox(why, kMessageTitle, MsgIcon::Exclamation, MsgButtons::Ok); },
            Qt::QueuedConnection);
    };
    std::string storeName;
    loadSharedStoreSetting(state_);
    try {
        storeName = storeTarget(state_.folder, {});
    } catch (const std::exception& e) {
        notice(std::string(e.what()) + "; the scan history is kept in the program folder");
    }
    // A change runs the command the Settings dialog holds, on the collecting thread.
    hardware_.recorder =
        makeScanRecorder(state_.folder, storeName, notice, changeCommandListener(state_.folder, notice));
    // With a shared store other programs scan too: their scans show in the
    // node table, and a node shown gets the last of them.
    if (!storeName.empty()) {
        storeWatch_ = std::make_unique<SharedStoreWatch>(state_, storeName, [this] { main_->syncFromCore(); });
        state_.showCurrentNode = [this] {
            const NodeTable& table = state_.domain.nodes;
            if (table.isNode(table.currentNode)) storeWatch_->refreshBeforeShowing(table.node(table.currentNode).name);
            showStoredNode(state_, hardware_);
        };
    }
    state_.view = view_.get();
    // Scan results wait on worker threads until the window's thread takes
    // them; the main window is the context, so nothing arrives after it is gone.
    scans_ = std::make_unique<ScanCommands>(state_, hardware_, [this] {
        QMetaObject::invokeMethod(
            main_.get(),
            [this] {
                scans_->deliver();
                main_->syncFromCore();
            },
            Qt::QueuedConnection);
    });
    main_->setMenuCommand(MenuCommand::ScanAll, [this] { scans_->scanAllNodes(); });
    main_->setMenuCommand(MenuCommand::ScanSelected, [this] { scans_->scanSelectedNode(); });
    main_->setMenuCommand(MenuCommand::ScanNode, [this] { scans_->scanCurrentNode(); });
    main_->setMenuCommand(MenuCommand::ScanLocal, [this] { scans_->scanLocalComputer(); });
    main_->setMenuCommand(MenuCommand::ScanList, [this] { scans_->listNodesInDialog(); });
    // Listing the network rebuilds the node table: not while a scan works on it.
    main_->setMenuCommand(MenuCommand::NetworkScan, [this] {
        if (!scans_->refuseIfBusy()) networkScan(state_);
    });
    main_->setMenuCommand(MenuCommand::Rescan, [this] {
        if (!scans_->refuseIfBusy()) rescan(state_);
    });
    // Reset gives the bare model in the front view.
    main_->setMenuCommand(MenuCommand::ResetModel, [this] {
        model::resetModel(virtualPc_);
        view_->resetView();
    });
    main_->setMenuCommand(MenuCommand::TestView, [this] { model::showAllParts(virtualPc_); });
    main_->setMenuCommand(MenuCommand::History, [this] { openHistory(); });
    main_->setMenuCommand(MenuCommand::CompareWithPrevious, [this] {
        history_.compareWithPrevious();
        main_->syncFromCore();
    });
    main_->setMenuCommand(MenuCommand::Axes, [this] {
        model::toggleAxes(virtualPc_);
        showSwitchStates();
    });
    main_->setMenuCommand(MenuCommand::Base, [this] {
        model::toggleBase(virtualPc_);
        showSwitchStates();
    });
    const std::pair<MenuCommand, view::CameraCommand> camera[] = {
        {MenuCommand::MoveUp, view::CameraCommand::Up},     {MenuCommand::MoveDown, view::CameraCommand::Down},
        {MenuCommand::MoveLeft, view::CameraCommand::Left}, {MenuCommand::MoveRight, view::CameraCommand::Right},
        {MenuCommand::ZoomIn, view::CameraCommand::In},     {MenuCommand::ZoomOut, view::CameraCommand::Out},
    };
    for (auto [item, command] : camera)
        main_->setMenuCommand(item, [this, command = command] { view_->runCameraCommand(command); });
    main_->setMenuCommand(MenuCommand::Lights, [this] {
        view_->toggleSecondLight();
        showSwitchStates();
    });
    main_->setMenuCommand(MenuCommand::BackgroundColor, [this] { view_->showBackgroundColorDialog(); });
    exports_ = std::make_unique<DesktopExport>(state_, main_.get(), [this] { main_->syncFromCore(); });
    main_->setMenuCommand(MenuCommand::Export, [this] { openExportDialog(state_); });
    main_->exportDialog()->setExportCommand([this] { exports_->start(); });
    // An SSH node showing an unknown host key is refused; the user is asked
    // on the window's thread whether to trust it.
    sshProvider_->setHostKeyListener([this](const std::string& server, const ssh::HostKey& key) {
        HostKeyQuestion question{server, key.host, key.port, key.type, key.fingerprint};
        QMetaObject::invokeMethod(
            main_.get(),
            [this, question] {
                askAboutHostKey(state_, question);
                main_->syncFromCore();
            },
            Qt::QueuedConnection);
    });
    main_->hostKeyDialog()->setAcceptCommand([this](const HostKeyQuestion& question) { acceptHostKey(question); });
    main_->setBeforeExit([this] {
        // The window cannot answer while the nodes under way finish.
        state_.windows.main.busyPointer = true;
        main_->syncFromCore();
        scans_->stopAndWait();
        exports_->wait();
        state_.windows.main.busyPointer = false;
    });
    ui_.setSync([this] {
        splash_->sync();
        main_->syncFromCore();
    });
    QObject::connect(main_->sceneView()->button("lights"), &QToolButton::clicked, main_.get(),
                     [this] { showSwitchStates(); });
}

DesktopSession::~DesktopSession() {
    ui_.setSync({});
    sshProvider_->setHostKeyListener({});
}

void DesktopSession::acceptHostKey(const HostKeyQuestion& question) {
    try {
        sshProvider_->recordHostKey(question.server, question.fingerprint);
    } catch (const std::exception& e) {
        ui_.messageBox(std::string("The host key was not recorded: ") + e.what(), kMessageTitle, MsgIcon::Exclamation,
                       MsgButtons::Ok);
        return;
    }
    const int node = nodeOfServer(state_.domain.nodes, question.server);
    if (node == 0 || scans_->refuseIfBusy()) return;
    state_.domain.nodes.currentNode = node;
    scans_->scanSelectedNode();
}

void DesktopSession::showSwitchStates() {
    // The buttons' lamps follow the model's indicators and the second light.
    auto lamp = [](bool on) { return on ? Lamp::On : Lamp::Off; };
    main_->button(kAxesButton)->setLamp(lamp(virtualPc_.axesIndicatorLit));
    main_->button(kBaseButton)->setLamp(lamp(virtualPc_.baseIndicatorLit));
    main_->button(kLightsButton)->setLamp(lamp(view_->util() && view_->util()->SecondLightOn));
}

void DesktopSession::openHistory() {
    const std::vector<ScanInfo> scans = history_.scans();
    if (scans.empty()) return;
    const NodeTable& nodes = state_.domain.nodes;
    // Not run in an event loop of its own: the window goes on while the list is open.
    auto* dialog = new HistoryDialog(nodes.node(nodes.currentNode).name, scans, main_.get());
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(dialog, &QDialog::accepted, main_.get(), [this, dialog] {
        const auto number = dialog->chosenScan();
        if (!number) return;
        // Once the list is gone: showing a scan lets window events run.
        QMetaObject::invokeMethod(
            main_.get(),
            [this, number = *number] {
                history_.showScan(number);
                main_->syncFromCore();
            },
            Qt::QueuedConnection);
    });
    dialog->open();
}

bool DesktopSession::start() {
    runStartup(state_);
    if (storeWatch_ && !state_.ended) storeWatch_->start();
    showSwitchStates();
    ui_.sync();
    if (state_.ended) return false;
    main_->startupFinished();
    return !state_.ended;
}

int runDesktop(int argc, char** argv) {
    const DesktopOptions options = parseOptions(argc, argv);
    if (options.help || options.version || !options.error.empty()) {
        if (!options.error.empty()) std::cerr << "vantrel: " << options.error << "\n";
        if (options.version) std::cout << "vantrel " << kVersionText << "\n";
        else std::cout << "Usage: vantrel [--home DIR] [--profile FILE]\n";
        return options.error.empty() ? 0 : 1;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName("Vantrel");

    std::filesystem::path folder;
    try {
        folder = chooseProgramFolder(options.home, executableFolder());
    } catch (const Error& e) {
        std::cerr << "vantrel: " << e.what() << "\n";
        return 1;
    }

    QtUiServices ui;
    // One program at a time writes the folder: a scan from the command line
    // may be under way on it.
    std::optional<HomeLock> lock;
    try {
        lock.emplace(ProgramFolder(folder).lockFile(), "vantrel (the desktop program)");
    } catch (const Error& e) {
        ui.messageBox(e.what(), kMessageTitle, MsgIcon::Critical, MsgButtons::Ok);
        std::cerr << "vantrel: " << e.what() << "\n";
        return 1;
    }
    std::shared_ptr<wbem::Provider> provider;
    if (options.profile) {
        try {
            provider = std::make_shared<wbem::ProfileProvider>(
                std::make_shared<wbem::Profile>(wbem::loadProfile(*options.profile)));
        } catch (const std::exception& e) {
            std::cerr << "vantrel: " << e.what() << "\n";
            return 1;
        }
    }

    DesktopSession session(folder, ui);
    if (provider) {
        session.hardware().provider = std::move(provider);
        session.hardware().remoteSource = ScanSource::Profile;
    }
    installExitSignals([&session] { session.main().requestExit(); });
    if (!session.start()) return 0;
    return QApplication::exec();
}

}  // namespace vantrel::ui
