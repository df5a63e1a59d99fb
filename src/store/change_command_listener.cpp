#include "store/change_command_listener.h"

#include <syslog.h>

#include <memory>
#include <mutex>

#include "store/change_command.h"
#include "store/change_command_setting.h"

namespace vantrel {

namespace {

struct FailureTold {
    std::mutex mutex;
    std::string command;  // the last command whose failure the user heard of
};

}  // namespace

std::function<void(const HardwareChange&)> changeCommandListener(ProgramFolder folder,
                                                                   std::function<void(const std::string&)> notice) {
    auto told = std::make_shared<FailureTold>();
    return [folder = std::move(folder), notice = std::move(notice), told](const HardwareChange& change) {
        const std::string command = changeCommandSetting(folder);
        if (command.empty()) return;
        const auto failure = runCommandForChange(command, change);
        if (!failure) return;
        syslog(LOG_WARNING, "vantrel: the change command for %s %s", change.header.node.c_str(), failure->c_str());
        {
            std::lock_guard lock(told->mutex);
            if (told->command == command) return;
            told->command = command;
        }
        if (notice)
            notice("The command run when a node's hardware changed " + *failure + " for " + change.header.node +
                   "; the scan and its report are kept. Later failures of this command go to the system log only.");
    };
}

}  // namespace vantrel
