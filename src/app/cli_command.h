#pragma once
// Sub-commands of vantrel-cli. Each command lives in its own cli_<name>.cpp and
// registers itself with a static CliCommandRegistration, so adding a command
// never touches the dispatcher.

#include <functional>
#include <string>
#include <vector>

namespace vantrel::cli {

struct CliCommand {
    std::string name;     // its usage line is in cli_command_table.cpp
    // Arguments after the command name; the global options are already removed.
    std::function<int(const std::vector<std::string>& args, const std::string& home)> run;
};

std::vector<CliCommand>& commandRegistry();

struct CliCommandRegistration {
    explicit CliCommandRegistration(CliCommand command) { commandRegistry().push_back(std::move(command)); }
};

}  // namespace vantrel::cli
