// vantrel-cli history [--home DIR] NODE: the node's scans, oldest first: number,
// time, source and what changed against the scan before, one line each.

#include <iostream>

#include "app/cli_command.h"
#include "app/cli_command_table.h"
#include "app/cli_options.h"
#include "app/cli_quiet_ui.h"
#include "app/cli_store.h"
#include "store/change_format.h"

namespace vantrel::cli {
namespace {

const std::string kUsage(commandUsage("history"));

int runHistory(const std::vector<std::string>& args, const std::string& globalHome) {
    std::string home = globalHome;
    std::string node;
    OptionReader options(args);
    while (options.next()) {
        const std::string o = options.option();
        if (o == "--home") {
            const auto value = options.value();
            if (!value) return failWith("history", "--home needs a folder");
            home = *value;
        } else if (node.empty() && !o.starts_with("--")) {
            node = o;
        } else {
            return failWith("history", "unknown argument '" + o + "' (usage: vantrel-cli " + kUsage + ")");
        }
    }
    if (node.empty()) return failWith("history", std::string("usage: vantrel-cli ") + kUsage);
    try {
        auto store = openStoreOfHome(home);
        const std::string stored = findStoredNode(*store, node);
        if (stored.empty()) return failWith("history", "no scans of " + node);
        for (const auto& scan : store->listScans(stored))
            std::cout << scan.number << '\t' << timeText(scan.time) << '\t' << printable(scan.source) << '\t'
                      << printable(scan.summary) << '\n';
    } catch (const std::exception& e) {
        return failWith("history", e.what());
    }
    return 0;
}

const CliCommandRegistration kRegistration{CliCommand{"history", runHistory}};

}  // namespace
}  // namespace vantrel::cli
