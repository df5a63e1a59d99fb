#pragma once
// The user's command for a changed node: run through the shell with the
// change as JSON on its standard input, so that mail, chat or a ticket is a
// one-line script.

#include <string>

namespace vantrel {

// Runs `command` with `/bin/sh -c`, writes `input` to its standard input
// and waits for it. Its exit status, or -1 when it could not be started or
// did not exit normally.
int runChangeCommand(const std::string& command, const std::string& input);

}  // namespace vantrel
