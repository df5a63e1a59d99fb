#include "core/program_folder.h"

#include <cstdlib>
#include <system_error>
#include <unistd.h>

#include "core/error.h"

namespace vantrel {

bool isSafePathComponent(std::string_view name) {
    if (name.empty() || name == "." || name == "..") return false;
    for (char ch : name) {
        const auto b = static_cast<unsigned char>(ch);
        if (ch == '/' || b < 0x20 || b == 0x7F) return false;
    }
    return true;
}

ProgramFolder::ProgramFolder(std::filesystem::path root) : root_(std::move(root)) {}

std::optional<std::filesystem::path> ProgramFolder::nodeFolder(std::string_view nodeName) const {
    if (!isSafePathComponent(nodeName)) return std::nullopt;
    return root_ / std::filesystem::path(std::string(nodeName));
}

std::optional<std::filesystem::path> ProgramFolder::reportFile(std::string_view nodeName) const {
    auto folder = nodeFolder(nodeName);
    if (!folder) return std::nullopt;
    return *folder / "report";
}

namespace {

bool isWritableFolder(const std::filesystem::path& dir) {
    std::error_code ec;
    return std::filesystem::is_directory(dir, ec) && ::access(dir.c_str(), W_OK | X_OK) == 0;
}

std::filesystem::path makeFolder(const std::filesystem::path& dir) {
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    if (!isWritableFolder(dir)) {
        throw FolderError("The folder " + dir.string() + " cannot be used as the program folder" +
                    (ec ? " (" + ec.message() + ")" : std::string(" (not writable)")));
    }
    return std::filesystem::absolute(dir);
}

}  // namespace

std::filesystem::path chooseProgramFolder(const std::optional<std::filesystem::path>& homeOption,
                                          const std::filesystem::path& executableFolder) {
    if (homeOption) return makeFolder(*homeOption);
    if (isWritableFolder(executableFolder)) return executableFolder;
    std::filesystem::path dataHome;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg == '/') {
        dataHome = xdg;
    } else if (const char* home = std::getenv("HOME"); home && *home) {
        dataHome = std::filesystem::path(home) / ".local" / "share";
    } else {
        throw FolderError("No program folder: the executable's folder is not writable and neither "
                    "XDG_DATA_HOME nor HOME is set");
    }
    return makeFolder(dataHome / "vantrel");
}

std::filesystem::path executableFolder() {
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return std::filesystem::current_path();
    return exe.parent_path();
}

}  // namespace vantrel
