// vantrel-cli: reads the global options and the command name, then hands the
// whole command line to the program of that command's family (see
// cli_command_table.cpp). It links nothing but the C++ runtime, so --help
// and the start of every command stay cheap.

#include <iostream>
#include <string>
#include <vector>

#include "app/cli_command_table.h"
#include "app/cli_global_options.h"
#include "app/cli_handover.h"

int main(int argc, char** argv) {
    using namespace vantrel::cli;
    rememberCommandLine(argc, argv);
    const std::vector<std::string> args(argv + 1, argv + argc);
    const auto options = readGlobalOptions(args);
    if (const int* status = std::get_if<int>(&options)) return *status;
    const std::string& name = args[std::get<GlobalOptions>(options).command];
    const CliCommandEntry* entry = findCliCommand(name);
    if (!entry) {
        std::cerr << "vantrel-cli: unknown command '" << name << "' (see --help)\n";
        return 1;
    }
    if (drawsPictures(*entry)) preferHugePages();
    handOver(entry->program);
    return 1;
}
