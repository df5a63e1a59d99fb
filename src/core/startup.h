#pragma once
// Start-up (the main window's load) and the exit sequence.

#include "core/program_state.h"

namespace vantrel {

// Logical DPI above which the main window uses its compact layout.
inline constexpr int kLargeFontsDpi = 105;

// Runs the start-up: settings, node table and network tree, main window, and
// the 3D view's steps when a view is plugged in. Ends the program when the 3D
// device cannot be created.
void runStartup(ProgramState& state);

// "Exit" and the main window's close button: release the model, write the
// logins file and the settings file, end the program.
void exitProgram(ProgramState& state);

}  // namespace vantrel
