#pragma once
// The options before the command name, read the same way by vantrel-cli and
// by the programs it starts: --help, --version, --home DIR, --store URL.

#include <string>
#include <variant>
#include <vector>

namespace vantrel::cli {

struct GlobalOptions {
    std::string home;         // empty: the default program folder
    std::string store;        // empty: the folder's own choice of store
    std::size_t command = 0;  // index of the command name in the arguments
};

// The options, or the exit status when they already decided the outcome
// (help or version printed, an option without its value, no command).
std::variant<GlobalOptions, int> readGlobalOptions(const std::vector<std::string>& args);

// The global --store option: a PostgreSQL URL, or empty for the folder's choice.
void chooseStore(std::string target);
const std::string& chosenStore();

}  // namespace vantrel::cli
