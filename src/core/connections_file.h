#pragma once
// "connections.ini": how each node is reached, three lines per node (node
// name, transport, trusted certificate file), no header, no count. Kept apart
// from "lg.ini", whose seven lines per node stay as they are; read at
// start-up and written at exit like the program's other files.

#include <filesystem>
#include <string>

#include "core/node_connections.h"
#include "core/program_state.h"
#include "core/text_file.h"

namespace vantrel {

// The file is written by this program, but anyone may have edited it: a
// larger one is not read at all.
inline constexpr std::uintmax_t kMaxConnectionsFileBytes = 1u << 20;
inline constexpr std::size_t kMaxTrustFilePath = 4096;

struct ConnectionsFileContent {
    FileRead read = FileRead::Missing;
    NodeConnections connections;
    // Records left out: an empty name, a name or path with control
    // characters, a path too long, a name given twice.
    int skippedRecords = 0;
};

// Complete records in file order; a last record with fewer than three lines
// is not a record. Failed when the file cannot be read or is too large.
ConnectionsFileContent readConnectionsFile(const std::filesystem::path& path);
std::string formatConnectionsFile(const NodeConnections& connections);
bool writeConnectionsFile(const std::filesystem::path& path, const NodeConnections& connections);

// Start-up: a file that could not be read whole, or with records left out,
// is marked unreadable so that this run does not write over it.
void loadNodeConnections(ProgramState& state);
// Exit: written when there is something to say (records, or a file already
// there), never over an unreadable file. True when nothing was lost.
bool saveNodeConnections(const ProgramState& state);

}  // namespace vantrel
