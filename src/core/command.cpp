#include "core/command.h"

#include <exception>

namespace vantrel {

bool runCommand(ProgramState& state, const FailureMessage& message, const std::function<void()>& body) {
    if (attempt(body)) return true;
    state.ui->doEvents();
    state.ui->messageBox(message.text, kMessageTitle, message.icon, MsgButtons::Ok);
    return false;
}

bool attempt(const std::function<void()>& step) {
    try {
        step();
        return true;
    } catch (const std::exception&) {
        // Our own errors and the standard library's (a full disk, memory) alike.
        return false;
    }
}

}  // namespace vantrel
