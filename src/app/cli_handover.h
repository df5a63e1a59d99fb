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

// Asks glibc to back the next program's large allocations with huge pages,
// unless the user set glibc's tunables already. Pictures and textures are
// fresh megabytes each: on a virtual machine their page faults were a third
// of a render's time, and huge pages make them a few hundred times fewer.
void preferHugePages();

// Replaces this process by `program` (an executable in this executable's
// folder) with the remembered arguments. Returns only on failure, after
// printing why; the caller exits with status 1.
void handOver(std::string_view program);

}  // namespace vantrel::cli
