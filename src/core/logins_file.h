#pragma once
// The logins file "lg.ini": seven lines per node (name, address, display name,
// enabled, login user, login password, scan status), no header, no count.

#include <filesystem>
#include <functional>
#include <string>

#include "core/node_table.h"
#include "core/text_file.h"

namespace vantrel {

// Reads complete records in file order and hands each to `onRecord`. A last
// record with fewer than seven lines is not a node. Lines are stripped of
// leading and trailing spaces. `afterSixthLine` runs after the sixth line of
// every record (the start-up lets window events run there).
// Failed when the file exists but could not be read whole.
FileRead readLoginsFile(const std::filesystem::path& path, const std::function<void(NodeRecord)>& onRecord,
                    const std::function<void()>& afterSixthLine = {});

std::string formatLoginsFile(const NodeTable& table);

// Writes the file atomically with owner-only permissions (it holds passwords).
bool writeLoginsFile(const std::filesystem::path& path, const NodeTable& table);

}  // namespace vantrel
