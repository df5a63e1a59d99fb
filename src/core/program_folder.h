#pragma once
// The program folder: where the settings file, the logins file and one folder
// per node (holding that node's report) live. Nothing is ever written outside it.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace vantrel {

// True when `name` can be used as one folder name inside the program folder:
// not empty, not "." or "..", no "/" and no control characters (NUL included).
bool isSafePathComponent(std::string_view name);

class ProgramFolder {
public:
    explicit ProgramFolder(std::filesystem::path root);

    const std::filesystem::path& root() const { return root_; }
    std::filesystem::path settingsFile() const { return root_ / "vantrel.ini"; }
    std::filesystem::path loginsFile() const { return root_ / "lg.ini"; }
    std::filesystem::path connectionsFile() const { return root_ / "connections.ini"; }
    std::filesystem::path resultsFile() const { return root_ / "results.ini"; }
    // Held by the program that writes this folder's files (see HomeLock).
    std::filesystem::path lockFile() const { return root_ / ".vantrel.lock"; }
    // The folder of a node, or nothing when the node's name is not a safe
    // folder name.
    std::optional<std::filesystem::path> nodeFolder(std::string_view nodeName) const;
    // The report file inside a node's folder, under the same condition.
    std::optional<std::filesystem::path> reportFile(std::string_view nodeName) const;

private:
    std::filesystem::path root_;
};

// Chooses the program folder: `homeOption` when given (--home), otherwise the
// executable's folder when it is writable, otherwise $XDG_DATA_HOME/vantrel
// (default ~/.local/share/vantrel), which is created when missing.
// Throws FolderError when no usable folder can be found or made.
std::filesystem::path chooseProgramFolder(const std::optional<std::filesystem::path>& homeOption,
                                          const std::filesystem::path& executableFolder);

// The folder of the running executable (from /proc/self/exe).
std::filesystem::path executableFolder();

}  // namespace vantrel
