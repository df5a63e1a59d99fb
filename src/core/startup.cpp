#include "core/startup.h"

#include "core/node_registry.h"
#include "core/settings_file.h"

namespace vantrel {

namespace {

void showProgress(ProgramState& state, int mark, const char* text) {
    state.splash.marks[static_cast<std::size_t>(mark - 1)] = true;
    if (text) state.splash.progressText = text;
}

}  // namespace

void Form_Load(ProgramState& state) {
    state.splash.visible = true;
    state.busyPointer = true;
    state.nodes.localAddress = state.lookupLocalAddress ? state.lookupLocalAddress() : std::string();
    state.WmiNamespace = kDefaultNamespace;

    showProgress(state, 1, "Loading ini...");
    state.ui->doEvents();
    readSettings(state);
    state.ui->doEvents();

    showProgress(state, 2, "Loading network...");
    state.ui->doEvents();
    open_lg(state);

    state.showBase = true;
    state.showAxes = true;

    state.mainVisible = true;
    state.ui->doEvents();

    if (state.view && !state.view->createSimpleDevice()) {
        state.ui->messageBox("Unable to initialize 3D device!", kMessageTitle, MsgIcon::Critical, MsgButtons::Ok);
        state.ended = true;
        state.ui->endProgram();
        return;
    }

    state.compactLayout = state.ui->logicalDpiX() > kLargeFontsDpi;

    if (state.view) state.view->findMediaFolder();
    state.CameraZ = -10.0F;
    state.ui->doEvents();

    if (state.view) {
        state.view->initDevice();
        state.view->applySceneDefaults();
    }
    state.CameraZ = -10.0F;

    showProgress(state, 3, "Loading VR...");
    state.ui->doEvents();
    if (state.view) state.view->assembleModel();

    if (state.WmiNamespace.empty()) state.WmiNamespace = kDefaultNamespace;
    state.ui->doEvents();

    showProgress(state, 4, nullptr);
    state.busyPointer = false;
    state.splash.visible = false;
}

void exitProgram(ProgramState& state) {
    if (state.ended) return;
    if (state.view) state.view->releaseModel();
    savepar(state);
    saveini(state);
    state.ended = true;
    state.ui->endProgram();
}

}  // namespace vantrel
