#include "store/store_setting.h"

#include "store/store_choice.h"

namespace vantrel {

void loadSharedStoreSetting(ProgramState& state) {
    state.windows.settingsDialog.storeField = storeTargetSetting(state.folder);
}

void setSharedStoreSetting(ProgramState& state) {
    std::string target = state.windows.settingsDialog.storeField;
    const auto first = target.find_first_not_of(" \t");
    target = first == std::string::npos ? std::string() : target.substr(first, target.find_last_not_of(" \t") - first + 1);
    try {
        if (target == storeTargetSetting(state.folder)) return;
        saveStoreTargetSetting(state.folder, target);
    } catch (const std::exception& e) {
        state.ui->messageBox(std::string("The shared inventory was not set: ") + e.what() + ".", kMessageTitle,
                             MsgIcon::Exclamation, MsgButtons::Ok);
        return;
    }
    state.windows.settingsDialog.storeField = target;
    state.ui->messageBox(target.empty() ? "The history is kept in the program folder from the next start of Vantrel."
                                        : "The history is kept in the shared inventory from the next start of Vantrel.",
                         kMessageTitle, MsgIcon::Information, MsgButtons::Ok);
}

}  // namespace vantrel
