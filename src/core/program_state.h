#pragma once
// One run of the program: what it knows (DomainState), how it shows it
// (PresentationState), where its files live and the seams to the layers above.

#include <functional>
#include <string>

#include "core/domain_state.h"
#include "core/network_browser.h"
#include "core/presentation_state.h"
#include "core/program_folder.h"
#include "core/ui_services.h"

namespace vantrel {

// Steps of the start-up and exit that belong to the 3D view. Until a view is
// plugged in, the start-up runs without them.
class ViewLifecycle {
public:
    virtual ~ViewLifecycle() = default;
    virtual bool createSimpleDevice() = 0;   // false: no 3D device
    virtual void findMediaFolder() = 0;
    virtual void initDevice() = 0;
    virtual void applySceneDefaults() = 0;   // also takes the view's size
    virtual void assembleModel() = 0;        // builds the virtual PC and draws it once
    virtual void releaseModel() = 0;
};

struct ProgramState {
    ProgramState(ProgramFolder folder, UiServices& ui) : folder(std::move(folder)), ui(&ui) {}
    ProgramState(const ProgramState&) = delete;
    ProgramState& operator=(const ProgramState&) = delete;

    ProgramFolder folder;
    UiServices* ui;

    DomainState domain;
    PresentationState windows;
    // Shows scans in the scan dialog; collection sessions report to it.
    ScanDialogPresenter scanPresenter{windows};

    // Seams filled by the layers above the core.
    ViewLifecycle* view = nullptr;
    // Shows the current node's stored report in the hardware tree and the model.
    std::function<void()> showCurrentNode;
    // This computer's IPv4 address in dotted form (empty when unknown).
    std::function<std::string()> lookupLocalAddress;
    // The network's computers and their addresses, for the network commands.
    NetworkBrowser* networkBrowser = nullptr;

    bool ended = false;  // the program has asked to end
};

}  // namespace vantrel
