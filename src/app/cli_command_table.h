#pragma once
// Every command of vantrel-cli: its usage line and the program that runs it.
// `vantrel-cli` itself only reads this table and starts that program, so a
// command loads the libraries of its own family and no others (a --help
// needs none, a local collection no TLS, Kerberos, OpenGL or Avahi).

#include <ostream>
#include <span>
#include <string_view>

namespace vantrel::cli {

struct CliCommandEntry {
    std::string_view name;
    std::string_view usage;    // shown by --help; may span lines
    std::string_view program;  // the executable beside vantrel-cli that runs it
};

std::span<const CliCommandEntry> cliCommandTable();

// The entry of `name`, or nullptr for an unknown command.
const CliCommandEntry* findCliCommand(std::string_view name);

// Whether the command's program draws pictures (and so allocates them by
// the megabyte).
bool drawsPictures(const CliCommandEntry& entry);

// The usage line of a command in the table (empty for an unknown one).
std::string_view commandUsage(std::string_view name);

// The text of vantrel-cli --help.
void printCliHelp(std::ostream& out);

}  // namespace vantrel::cli
