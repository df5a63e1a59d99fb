#pragma once
// The program folder as the command line's scan commands use it: loaded as
// the desktop program loads it at start-up (settings, node table with each
// node's last result, connection settings), written as the desktop program
// writes it at exit, and locked while a command may write it.

#include <optional>
#include <string>

#include "core/home_lock.h"
#include "core/program_state.h"

namespace vantrel::cli {

// Control characters of untrusted text (node names, results) as spaces, so
// one record stays one line and its fields stay apart.
std::string printable(std::string text);

// No windows here: a message goes to standard error, on one line, after the
// command's name; every question is answered No.
class HeadlessUi : public UiServices {
public:
    explicit HeadlessUi(std::string command) : command_(std::move(command)) {}
    MsgAnswer messageBox(const std::string& text, const std::string&, MsgIcon, MsgButtons buttons) override;
    void doEvents() override {}
    void endProgram() override {}
    int logicalDpiX() override { return 96; }
    void popupMenu(PopupMenu) override {}

private:
    std::string command_;
};

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
    HeadlessUi ui_;
    ProgramState state_;
    std::optional<HomeLock> lock_;
    std::string command_;
};

}  // namespace vantrel::cli
