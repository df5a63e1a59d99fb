#include "app/cli_handover.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

namespace vantrel::cli {
namespace {

int savedArgc = 0;
char** savedArgv = nullptr;

std::string ownPath() {
    std::string path(4096, '\0');
    const ssize_t n = ::readlink("/proc/self/exe", path.data(), path.size());
    if (n <= 0 || static_cast<std::size_t>(n) >= path.size()) return {};
    path.resize(static_cast<std::size_t>(n));
    return path;
}

// This executable's folder, with its trailing slash (empty when unknown).
std::string ownFolder() {
    const std::string path = ownPath();
    return path.substr(0, path.rfind('/') + 1);
}

}  // namespace

std::string ownProgramName() {
    const std::string path = ownPath();
    return path.substr(path.rfind('/') + 1);
}

void rememberCommandLine(int argc, char** argv) {
    savedArgc = argc;
    savedArgv = argv;
}

void preferHugePages() { ::setenv("GLIBC_TUNABLES", "glibc.malloc.hugetlb=1", 0); }

void handOver(std::string_view program) {
    const std::string folder = ownFolder();
    if (folder.empty()) {
        std::cerr << "vantrel-cli: cannot find its own folder to start " << program << "\n";
        return;
    }
    const std::string path = folder + std::string(program);
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(path.c_str()));
    for (int i = 1; i < savedArgc; ++i) argv.push_back(savedArgv[i]);
    argv.push_back(nullptr);
    std::cout.flush();
    ::execv(path.c_str(), argv.data());
    const int error = errno;
    std::cerr << "vantrel-cli: cannot start " << path << ": " << std::strerror(error) << "\n";
}

}  // namespace vantrel::cli
