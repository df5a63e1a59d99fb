#include "app/cli_global_options.h"

#include <iostream>

#include "app/cli_command_table.h"
#include "core/version.h"

namespace vantrel::cli {
namespace {

std::string& storeOption() {
    static std::string target;
    return target;
}

}  // namespace

void chooseStore(std::string target) { storeOption() = std::move(target); }
const std::string& chosenStore() { return storeOption(); }

std::variant<GlobalOptions, int> readGlobalOptions(const std::vector<std::string>& args) {
    GlobalOptions options;
    std::size_t i = 0;
    for (; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h") {
            printCliHelp(std::cout);
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
            options.home = args[++i];
            continue;
        }
        if (a == "--store") {
            if (i + 1 >= args.size()) {
                std::cerr << "vantrel-cli: --store needs a postgresql:// URL\n";
                return 1;
            }
            options.store = args[++i];
            continue;
        }
        break;
    }
    if (i >= args.size()) {
        printCliHelp(std::cerr);
        return 1;
    }
    options.command = i;
    return options;
}

}  // namespace vantrel::cli
