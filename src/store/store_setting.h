#pragma once
// The Settings dialog's "Inventory" page: which store keeps the history.
// The scans' recorder is made at start-up, so a new choice takes effect
// when the program starts again, and the dialog says so.

#include "core/program_state.h"

namespace vantrel {

// The page's field as the folder's setting has it.
void loadSharedStoreSetting(ProgramState& state);
// "Set": the typed store becomes the folder's setting. A target that cannot
// be used (not PostgreSQL, a password in it) is refused with the reason and
// changes nothing.
void setSharedStoreSetting(ProgramState& state);

}  // namespace vantrel
