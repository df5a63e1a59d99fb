#pragma once
// The one place where a command meets failure. A command's body throws (any
// error of the layers below); the command ends there, what it did so far
// stays, and the user sees the command's fixed sentence, or nothing for the
// commands that ignore their errors.

#include <functional>

#include "core/program_state.h"

namespace vantrel {

// The fixed sentence a command shows when it fails, in a message box titled
// "Message from Vantrel" with an OK button.
struct FailureMessage {
    const char* text;
    MsgIcon icon = MsgIcon::Exclamation;
};

// Runs `body`; on failure lets pending window events run and shows `message`.
// Returns false when the body failed.
bool runCommand(ProgramState& state, const FailureMessage& message, const std::function<void()>& body);

// Runs one step; false when it failed. For the steps whose failure the
// program ignores by design, or turns into an outcome of its own.
bool attempt(const std::function<void()>& step);

}  // namespace vantrel
