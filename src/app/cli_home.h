#pragma once
// The program folder as the command line's scan commands use it: loaded as
// the desktop program loads it at start-up (settings, node table with each
// node's last result, connection settings), written as the desktop program
// writes it at exit, and locked while a command may write it.

#include <optional>
#include <string>

#include "app/cli_quiet_ui.h"
#include "core/home_lock.h"
#include "core/program_state.h"

namespace vantrel::cli {

class CliHome {
public:
    // The folder of --home, or the desktop program's default folder. Throws
    // FolderError when there is none.
    CliHome(const std::string& command, const std::string& homeOption);

    ProgramState& state() { return state_; }
    // Takes the folder's lock; throws FolderBusyError naming the holder.
    void lock();
    // Reads the program's files; this computer's address is looked up first,
    // so that its node is known.
    void load();
    // True when the node table could be read (or did not exist): only then may it be written.
    bool tableUsable() const { return !state_.domain.unreadableFiles.logins; }
    // Writes the node table and the nodes' last results; false when not written.
    bool save();

private:
    QuietUi ui_;
    ProgramState state_;
    std::optional<HomeLock> lock_;
    std::string command_;
};

}  // namespace vantrel::cli
