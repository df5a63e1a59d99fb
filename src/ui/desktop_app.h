#pragma once
// The desktop program: command line, program folder, windows, start-up, event loop.

#include <filesystem>
#include <memory>

#include "collect/hardware_session.h"
#include "collect/scan_commands.h"
#include "core/program_state.h"
#include "model/builders.h"
#include "model/virtual_pc.h"
#include "providers/ssh/ssh_provider.h"
#include "session/discovery_network_browser.h"
#include "session/node_history.h"

namespace vantrel::ui {

class DesktopExport;
class DesktopView;
class SharedStoreWatch;
class MainWindow;
class QtUiServices;
class SplashWindow;

// The windows and the core state of one run of the desktop program.
class DesktopSession {
public:
    DesktopSession(const std::filesystem::path& programFolder, QtUiServices& ui);
    ~DesktopSession();

    // Runs the start-up; false when the program already ended during it.
    bool start();

    ProgramState& state() { return state_; }
    MainWindow& main() { return *main_; }
    SplashWindow& splash() { return *splash_; }
    HardwareSession& hardware() { return hardware_; }
    ScanCommands& scans() { return *scans_; }
    DesktopView& view() { return *view_; }
    DesktopExport& exports() { return *exports_; }
    // Only with a shared store.
    SharedStoreWatch* sharedStoreWatch() { return storeWatch_.get(); }
    // The virtual PC: showing a node switches its parts on; the 3D view
    // assembles and draws it.
    model::VirtualPc& virtualPc() { return virtualPc_; }
    NodeHistory& history() { return history_; }

private:
    void showSwitchStates();
    // Records the accepted host key and scans its node again.
    void acceptHostKey(const HostKeyQuestion& question);
    void openHistory();
    QtUiServices& ui_;
    ProgramState state_;
    HardwareSession hardware_;
    model::VirtualPc virtualPc_;
    model::BuildTarget modelTarget_{virtualPc_, state_.windows.main.hardwareTree};
    NodeHistory history_;
    session::DiscoveryNetworkBrowser networkBrowser_{state_.domain.settings};
    std::shared_ptr<ssh::SshProvider> sshProvider_;
    std::unique_ptr<SplashWindow> splash_;
    std::unique_ptr<MainWindow> main_;
    std::unique_ptr<DesktopView> view_;
    // Before the windows go: an export under way is finished first.
    std::unique_ptr<DesktopExport> exports_;
    std::unique_ptr<SharedStoreWatch> storeWatch_;
    // Last: its workers stop before the view, the windows and the state go.
    std::unique_ptr<ScanCommands> scans_;
};

int runDesktop(int argc, char** argv);

}  // namespace vantrel::ui
