// vantrel-cli: the headless entry point. Global options: --help, --version,
// --home DIR, --store URL.

#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

#include "app/cli_command.h"
#include "app/cli_store.h"
#include "core/version.h"

namespace vantrel::cli {

std::vector<CliCommand>& commandRegistry() {
    static std::vector<CliCommand> commands;
    return commands;
}

namespace {

void printHelp(std::ostream& out) {
    out << "Usage: vantrel-cli [--home DIR] [--store URL] COMMAND [ARGS...]\n"
           "       vantrel-cli --version | --help\n\n"
           "Options:\n"
           "  --home DIR   use DIR as the program folder\n"
           "  --store URL  keep the scan history in the PostgreSQL database of URL\n"
           "               (postgresql://USER@HOST/DB; the password from ~/.pgpass or PGPASSWORD)\n"
           "  --version    print the version and exit\n"
           "  --help       print this help and exit\n";
    auto commands = commandRegistry();
    std::sort(commands.begin(), commands.end(),
              [](const CliCommand& a, const CliCommand& b) { return a.name < b.name; });
    if (!commands.empty()) {
        out << "\nCommands:\n";
        for (const auto& c : commands) out << "  " << c.usage << "\n";
    }
}

}  // namespace
}  // namespace vantrel::cli

int main(int argc, char** argv) {
    using namespace vantrel::cli;
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string home;
    std::size_t i = 0;
    for (; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h") {
            printHelp(std::cout);
            return 0;
        }
        if (a == "--version") {
            std::cout << "vantrel-cli " << vantrel::kVersionText << "\n";
            return 0;
        }
        if (a == "--home") {
            if (i + 1 >= args.size()) {
                std::cerr << "vantrel-cli: --home needs a folder\n";
                return 1;
            }
            home = args[++i];
            continue;
        }
        if (a == "--store") {
            if (i + 1 >= args.size()) {
                std::cerr << "vantrel-cli: --store needs a postgresql:// URL\n";
                return 1;
            }
            chooseStore(args[++i]);
            continue;
        }
        break;
    }
    if (i >= args.size()) {
        printHelp(std::cerr);
        return 1;
    }
    const std::string name = args[i];
    for (const auto& c : commandRegistry()) {
        if (c.name == name) {
            std::vector<std::string> rest(args.begin() + static_cast<std::ptrdiff_t>(i) + 1, args.end());
            return c.run(rest, home);
        }
    }
    std::cerr << "vantrel-cli: unknown command '" << name << "' (see --help)\n";
    return 1;
}
