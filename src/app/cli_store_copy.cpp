// vantrel-cli store copy --from SQLITE_FILE --to URL: a home folder's scan
// history ("inventory.db") moved into the shared store, node by node in the
// order of its scans. Run again, it copies only what is not there yet.

#include <filesystem>
#include <iostream>

#include "app/cli_command.h"
#include "app/cli_command_table.h"
#include "app/cli_options.h"
#include "app/cli_quiet_ui.h"
#include "store/postgres/postgres_inventory_store.h"
#include "store/sqlite/sqlite_inventory_store.h"
#include "store/store_choice.h"
#include "store/store_copy.h"

namespace vantrel::cli {
namespace {

const std::string kUsage(commandUsage("store"));

int runStore(const std::vector<std::string>& args, const std::string&) {
    std::string from;
    std::string to;
    OptionReader options(args);
    if (!options.next() || options.option() != "copy") return failWith("store", std::string("usage: vantrel-cli ") + kUsage);
    while (options.next()) {
        const std::string o = options.option();
        std::string* field = o == "--from" ? &from : o == "--to" ? &to : nullptr;
        const auto value = field ? options.value() : std::nullopt;
        if (!value) return failWith("store", "unknown argument '" + o + "' (usage: vantrel-cli " + kUsage + ")");
        *field = *value;
    }
    if (from.empty() || to.empty()) return failWith("store", std::string("usage: vantrel-cli ") + kUsage);
    try {
        if (!std::filesystem::is_regular_file(from)) return failWith("store", "no inventory file " + from);
        const std::string target = checkedStoreTarget(to);
        SqliteInventoryStore source(from);
        PostgresInventoryStore shared(target);
        const CopyCount count = copyScans(source, shared);
        std::cout << count.copied << " scans copied to " << shared.shownTarget() << ", " << count.alreadyThere
                  << " were there already";
        if (count.unreadable > 0) std::cout << ", " << count.unreadable << " could not be read";
        std::cout << '\n';
    } catch (const std::exception& e) {
        return failWith("store", e.what());
    }
    return 0;
}

const CliCommandRegistration kRegistration{CliCommand{"store", runStore}};

}  // namespace
}  // namespace vantrel::cli
