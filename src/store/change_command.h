#pragma once
// The user's command for a changed node: run through the shell with the
// change as JSON on its standard input, so that mail, chat or a ticket is a
// one-line script.

#include <optional>
#include <string>

namespace vantrel {

struct HardwareChange;

// Runs `command` with `/bin/sh -c`, writes `input` to its standard input
// and waits for it. Its exit status, or -1 when it could not be started or
// did not exit normally.
int runChangeCommand(const std::string& command, const std::string& input);

// Runs `command` for one changed node, the change as JSON on its standard
// input, as both programs do. Nothing when it exited with 0, else what went
// wrong: "could not be run" or "exited with N".
std::optional<std::string> runCommandForChange(const std::string& command, const HardwareChange& change);

}  // namespace vantrel
