#include "app/cli_quiet_ui.h"

#include <iostream>

namespace vantrel::cli {

std::string printable(std::string text) {
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
    return text;
}

int failWith(const std::string& command, std::string reason) {
    std::cerr << "vantrel-cli " << command << ": " << printable(std::move(reason)) << "\n";
    return 1;
}

MsgAnswer QuietUi::messageBox(const std::string& text, const std::string&, MsgIcon, MsgButtons buttons) {
    failWith(command_, text);
    return buttons == MsgButtons::YesNo ? MsgAnswer::No : MsgAnswer::Ok;
}

}  // namespace vantrel::cli
