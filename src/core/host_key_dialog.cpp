#include "core/host_key_dialog.h"

#include <algorithm>

namespace vantrel {

void askAboutHostKey(ProgramState& state, HostKeyQuestion question) {
    HostKeyDialogState& dialog = state.windows.hostKeyDialog;
    auto same = [&](const HostKeyQuestion& q) { return q.server == question.server; };
    if ((dialog.visible && same(dialog.question)) || std::any_of(dialog.waiting.begin(), dialog.waiting.end(), same))
        return;
    if (dialog.visible) {
        dialog.waiting.push_back(std::move(question));
        return;
    }
    dialog.question = std::move(question);
    dialog.visible = true;
}

std::optional<HostKeyQuestion> answerHostKeyQuestion(ProgramState& state, bool accept) {
    HostKeyDialogState& dialog = state.windows.hostKeyDialog;
    if (!dialog.visible) return std::nullopt;
    std::optional<HostKeyQuestion> accepted;
    if (accept) accepted = dialog.question;
    dialog.visible = false;
    dialog.question = {};
    if (!dialog.waiting.empty()) {
        dialog.question = std::move(dialog.waiting.front());
        dialog.waiting.erase(dialog.waiting.begin());
        dialog.visible = true;
    }
    return accepted;
}

std::string hostKeyQuestionText(const HostKeyQuestion& question) {
    const std::string where = question.port == 22 ? question.host : question.host + " port " + std::to_string(question.port);
    return "The SSH host key of " + where + " is not known yet. It shows this " + question.keyType + " key:";
}

std::string hostKeyAdvice() {
    return "Compare it with the node's own (on the node: ssh-keygen -lf /etc/ssh/ssh_host_*_key.pub). Accept it "
           "only when they are the same: it is then recorded in known_hosts and the node is scanned again.";
}

int nodeOfServer(const NodeTable& table, const std::string& server) {
    std::string host = server.substr(server.rfind('@') == std::string::npos ? 0 : server.rfind('@') + 1);
    for (int i = 1; i <= table.nodeCount(); ++i) {
        const NodeRecord& node = table.node(i);
        if (node.address == host || node.name == host) return i;
    }
    return 0;
}

}  // namespace vantrel
