// The entry point of each vantrel-cli program (vantrel-cli-local, -model,
// -render, -history, -network): the same global options as vantrel-cli, then
// the command among those this program carries. Run directly, each behaves
// as vantrel-cli does for its own commands.

#include <iostream>
#include <string>
#include <vector>

#include "app/cli_command.h"
#include "app/cli_command_table.h"
#include "app/cli_global_options.h"
#include "app/cli_handover.h"

namespace vantrel::cli {

std::vector<CliCommand>& commandRegistry() {
    static std::vector<CliCommand> commands;
    return commands;
}

}  // namespace vantrel::cli

int main(int argc, char** argv) {
    using namespace vantrel::cli;
    rememberCommandLine(argc, argv);
    const std::vector<std::string> args(argv + 1, argv + argc);
    const auto read = readGlobalOptions(args);
    if (const int* status = std::get_if<int>(&read)) return *status;
    const GlobalOptions& options = std::get<GlobalOptions>(read);
    chooseStore(options.store);
    const std::string& name = args[options.command];
    for (const auto& c : commandRegistry()) {
        if (c.name == name) {
            std::vector<std::string> rest(args.begin() + static_cast<std::ptrdiff_t>(options.command) + 1, args.end());
            return c.run(rest, options.home);
        }
    }
    // A command of another program: the one the table names runs it (never
    // this one again, which would start itself for ever).
    if (const CliCommandEntry* entry = findCliCommand(name); entry && entry->program != ownProgramName()) {
        handOver(entry->program);
        return 1;
    }
    std::cerr << "vantrel-cli: unknown command '" << name << "' (see --help)\n";
    return 1;
}
