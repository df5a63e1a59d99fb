#include "ui/desktop_app.h"

#include <QApplication>
#include <iostream>
#include <optional>
#include <string>

#include "collect/show_node.h"
#include "core/error.h"
#include "core/startup.h"
#include "core/version.h"
#include "network/host_lookup.h"
#include "ui/exit_signals.h"
#include "ui/main_window.h"
#include "ui/qt_ui_services.h"
#include "ui/splash_window.h"

namespace vantrel::ui {

namespace {

struct DesktopOptions {
    std::optional<std::filesystem::path> home;
    bool help = false;
    bool version = false;
    std::string error;
};

DesktopOptions parseOptions(int argc, char** argv) {
    DesktopOptions o;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--home" && i + 1 < argc) o.home = argv[++i];
        else if (a == "--help" || a == "-h") o.help = true;
        else if (a == "--version") o.version = true;
        else o.error = "unknown option '" + a + "'";
    }
    return o;
}

}  // namespace

DesktopSession::DesktopSession(const std::filesystem::path& programFolder, QtUiServices& ui)
    : ui_(ui), state_(ProgramFolder(programFolder), ui) {
    state_.lookupLocalAddress = [] { return network::localIpv4Address(); };
    state_.showCurrentNode = makeShowCurrentNode(state_, hardware_);
    hardware_.listener = &state_.scanPresenter;
    splash_ = std::make_unique<SplashWindow>(state_);
    main_ = std::make_unique<MainWindow>(state_, ui_);
    ui_.setSync([this] {
        splash_->sync();
        main_->syncFromCore();
    });
}

DesktopSession::~DesktopSession() { ui_.setSync({}); }

bool DesktopSession::start() {
    runStartup(state_);
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
        else std::cout << "Usage: vantrel [--home DIR]\n";
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
    DesktopSession session(folder, ui);
    installExitSignals([&session] { session.main().requestExit(); });
    if (!session.start()) return 0;
    return QApplication::exec();
}

}  // namespace vantrel::ui
