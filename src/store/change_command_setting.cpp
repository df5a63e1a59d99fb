#include "store/change_command_setting.h"

#include "core/text_file.h"
#include "store/store_error.h"

namespace vantrel {

namespace {

constexpr const char* kSettingFile = "change-command.ini";
// A command line, not a script: a larger file is not ours.
constexpr std::uintmax_t kLongestFile = 65536;

std::string withoutOuterBlanks(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace

std::string changeCommandSetting(const ProgramFolder& folder) {
    TextLineReader reader(folder.root() / kSettingFile, kLongestFile);
    return reader.readLine().value_or(std::string());
}

void saveChangeCommandSetting(const ProgramFolder& folder, const std::string& command) {
    if (command.find_first_of("\r\n") != std::string::npos) throw StoreError("it spans several lines");
    const auto file = folder.root() / kSettingFile;
    std::string content;
    if (!command.empty()) appendFileLine(content, command);
    // Owner-only: a command may carry a token for a chat or ticket service.
    if (!writeFileAtomically(file, content, 0600)) throw StoreError("cannot write " + file.string());
}

std::optional<std::string> setChangeCommandSetting(ProgramState& state, const std::string& typed) {
    const std::string command = withoutOuterBlanks(typed);
    try {
        saveChangeCommandSetting(state.folder, command);
    } catch (const std::exception& e) {
        state.ui->messageBox(std::string("The change command was not set: ") + e.what() + ".", kMessageTitle,
                             MsgIcon::Exclamation, MsgButtons::Ok);
        return std::nullopt;
    }
    state.ui->messageBox(command.empty() ? "No command runs when a node's hardware changed."
                                         : "From the next scan on, the command runs for every node whose hardware "
                                           "changed, with the change as JSON on its standard input.",
                         kMessageTitle, MsgIcon::Information, MsgButtons::Ok);
    return command;
}

}  // namespace vantrel
