#pragma once
// The user interface of the command line: no windows, nothing to repaint,
// nobody to ask; a message goes to standard error on one line, after the
// command's name.

#include <string>

#include "core/ui_services.h"

namespace vantrel::cli {

// Control characters of untrusted text (node names, results, reasons) as
// spaces, so one record stays one line and its fields stay apart.
std::string printable(std::string text);

// Prints "vantrel-cli COMMAND: REASON" on standard error and returns 1.
int failWith(const std::string& command, std::string reason);

class QuietUi : public UiServices {
public:
    explicit QuietUi(std::string command) : command_(std::move(command)) {}
    // Prints the text; a question is answered No.
    MsgAnswer messageBox(const std::string& text, const std::string&, MsgIcon, MsgButtons buttons) override;
    void doEvents() override {}
    void endProgram() override {}
    int logicalDpiX() override { return 96; }
    void popupMenu(PopupMenu) override {}

private:
    std::string command_;
};

}  // namespace vantrel::cli
