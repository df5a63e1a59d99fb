#include "core/startup.h"

#include "core/connections_file.h"
#include "core/node_registry.h"
#include "core/scan_settings_file.h"
#include "core/settings_file.h"
#include "core/stale_temp_files.h"
#include "core/start_camera.h"

namespace vantrel {

namespace {

void showProgress(ProgramState& state, int mark, const char* text) {
    state.windows.splash.marks[static_cast<std::size_t>(mark - 1)] = true;
    if (text) state.windows.splash.progressText = text;
}

// Says once which of the program's files could not be read and will
// therefore not be written at exit.
void reportUnreadableFiles(ProgramState& state) {
    std::string text;
    for (const auto& [unreadable, name] : {std::pair{state.domain.unreadableFiles.settings, "vantrel.ini"},
                                           std::pair{state.domain.unreadableFiles.logins, "lg.ini"},
                                           std::pair{state.domain.unreadableFiles.connections, "connections.ini"},
                                           std::pair{state.domain.unreadableFiles.scanSettings, "scans.ini"},
                                           std::pair{state.domain.unreadableFiles.results, "results.ini"}}) {
        if (!unreadable) continue;
        if (!text.empty()) text += "\n";
        text += std::string("The file \"") + name + "\" could not be read and will not be changed.";
    }
    if (!text.empty()) state.ui->messageBox(text, kMessageTitle, MsgIcon::Exclamation, MsgButtons::Ok);
}

// The camera starts in front of the model, whatever the settings file held.
void placeStartCamera(Settings& settings) {
    settings.cameraX = kStartCamera.x;
    settings.cameraY = kStartCamera.y;
    settings.cameraZ = kStartCamera.z;
}

}  // namespace

void runStartup(ProgramState& state) {
    state.windows.splash.visible = true;
    state.windows.main.busyPointer = true;
    state.domain.nodes.localAddress = state.lookupLocalAddress ? state.lookupLocalAddress() : std::string();
    state.domain.settings.wmiNamespace = kDefaultNamespace;

    showProgress(state, 1, "Loading ini...");
    state.ui->doEvents();
    removeStaleTempFiles(state.folder);
    loadSettings(state);
    loadScanSettings(state);
    state.ui->doEvents();

    showProgress(state, 2, "Loading network...");
    state.ui->doEvents();
    loadNodeTable(state);
    loadNodeConnections(state);

    state.domain.showBase = true;
    state.domain.showAxes = true;

    state.windows.main.visible = true;
    state.ui->doEvents();

    if (state.view && !state.view->createSimpleDevice()) {
        state.ui->messageBox("Unable to initialize 3D device!", kMessageTitle, MsgIcon::Critical, MsgButtons::Ok);
        state.ended = true;
        state.ui->endProgram();
        return;
    }

    state.windows.main.compactLayout = state.ui->logicalDpiX() > kLargeFontsDpi;

    if (state.view) state.view->findMediaFolder();
    placeStartCamera(state.domain.settings);
    state.ui->doEvents();

    if (state.view) {
        state.view->initDevice();
        state.view->applySceneDefaults();
    }

    showProgress(state, 3, "Loading VR...");
    state.ui->doEvents();
    if (state.view) state.view->assembleModel();

    if (state.domain.settings.wmiNamespace.empty()) state.domain.settings.wmiNamespace = kDefaultNamespace;
    state.ui->doEvents();

    showProgress(state, 4, nullptr);
    state.windows.main.busyPointer = false;
    state.windows.splash.visible = false;
    reportUnreadableFiles(state);
}

void exitProgram(ProgramState& state) {
    if (state.ended) return;
    if (state.view) state.view->releaseModel();
    saveNodeTable(state);
    saveSettings(state);
    saveScanSettings(state);
    saveNodeConnections(state);
    state.ended = true;
    state.ui->endProgram();
}

}  // namespace vantrel
