#pragma once
// Running one of our programs from a test as a user would, through the
// shell, with its standard output and error kept in files of a folder.

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "support/temp_folder.h"

namespace vantrel::test {

struct ProgramRun {
    int status;  // the exit status; -1 when the program did not exit normally
    std::string out, err;
};

// s in single quotes, safe for the shell whatever it holds.
inline std::string shellQuote(const std::string& s) {
    std::string out = "'";
    for (char c : s) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

// Runs program with args; its output goes to folder/stdout and folder/stderr.
inline ProgramRun runProgram(const std::string& program, const std::vector<std::string>& args,
                             const std::filesystem::path& folder) {
    std::string command = shellQuote(program);
    for (const auto& a : args) command += " " + shellQuote(a);
    command += " >" + shellQuote((folder / "stdout").string()) + " 2>" + shellQuote((folder / "stderr").string());
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, readBytes(folder / "stdout"), readBytes(folder / "stderr")};
}

}  // namespace vantrel::test
