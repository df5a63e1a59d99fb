#pragma once
// The question a scan of an SSH node leaves when the node shows a host key
// that known_hosts does not hold: the key's fingerprint, to compare with the
// node's own, and whether to trust it. Accepting records the key (and scans
// the node again); a changed key is never asked about, only refused.

#include <optional>
#include <string>

#include "core/program_state.h"

namespace vantrel {

// Shows the question, or lets it wait behind the one shown. A server asked
// about already (shown or waiting) is asked about once.
void askAboutHostKey(ProgramState& state, HostKeyQuestion question);
// "Accept" (true) or "Refuse": hides the question and shows the next one
// waiting. Gives the question when it was accepted.
std::optional<HostKeyQuestion> answerHostKeyQuestion(ProgramState& state, bool accept);

// What the dialog says above the fingerprint, and below it.
std::string hostKeyQuestionText(const HostKeyQuestion& question);
std::string hostKeyAdvice();

// The node a scan reached as `server` ("[user@]address[:port]"): the first
// whose address or name it names; 0 for none.
int nodeOfServer(const NodeTable& table, const std::string& server);

}  // namespace vantrel
