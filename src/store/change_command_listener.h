#pragma once
// The desktop program's change command at work: every change a scan records
// runs the command the settings hold at that moment, the way the CLI runs its
// --on-change, and waits for it on the collecting thread, never the window's.
// A failing command costs no scan and no report: the user hears of it once
// per command set, and every failure goes to the system log.

#include <functional>
#include <string>

#include "core/program_folder.h"
#include "store/home_store.h"

namespace vantrel {

// The recorder's `changed` listener for the folder's setting. `notice` says
// why, from the collecting thread.
std::function<void(const HardwareChange&)> changeCommandListener(ProgramFolder folder,
                                                                   std::function<void(const std::string&)> notice);

}  // namespace vantrel
