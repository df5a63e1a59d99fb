#pragma once
// Termination signals (SIGTERM from a logout or a service manager, SIGINT,
// SIGHUP) end the program through the exit sequence, so the node table and
// the settings are saved as with the close button.

#include <functional>

namespace vantrel::ui {

// Installs the handlers; `onSignal` runs on the event loop, never inside the
// signal handler.
void installExitSignals(std::function<void()> onSignal);

}  // namespace vantrel::ui
