#pragma once
// Starting the program that runs a command: the same arguments, the same
// process (exec), so exit status, output and signals are the command's own.

#include <string>
#include <string_view>

namespace vantrel::cli {

// Keeps the command line for a later handOver (call first thing in main).
void rememberCommandLine(int argc, char** argv);

// The file name of this executable (empty when unknown).
std::string ownProgramName();

// Replaces this process by `program` (an executable in this executable's
// folder) with the remembered arguments. Returns only on failure, after
// printing why; the caller exits with status 1.
void handOver(std::string_view program);

}  // namespace vantrel::cli
