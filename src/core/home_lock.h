#pragma once
// One program at a time writes a program folder: the desktop program and the
// command-line scans take turns on the same node table, logins and reports.
// The lock is an advisory lock on a file in the folder, so it goes with the
// process that holds it, however that process ends.

#include <filesystem>
#include <string>

#include "core/error.h"

namespace vantrel {

// The folder is held by another program; what() names it.
class FolderBusyError : public CoreError {
public:
    using CoreError::CoreError;
};

class HomeLock {
public:
    // Takes the folder's lock for `holder` (a text such as "vantrel-cli scan",
    // which the process id follows). Throws FolderBusyError when another
    // program holds it, FolderError when the lock file cannot be made.
    HomeLock(const std::filesystem::path& lockFile, const std::string& holder);
    ~HomeLock();
    HomeLock(const HomeLock&) = delete;
    HomeLock& operator=(const HomeLock&) = delete;

private:
    int fd_ = -1;
};

}  // namespace vantrel
