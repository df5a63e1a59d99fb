#include "core/connections_file.h"

#include <algorithm>
#include <array>
#include <system_error>

namespace vantrel {

namespace {

bool hasControlCharacters(std::string_view text) {
    return std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; });
}

bool acceptable(const std::string& name, const std::string& trustFile) {
    return !name.empty() && !hasControlCharacters(name) && !hasControlCharacters(trustFile) &&
           trustFile.size() <= kMaxTrustFilePath;
}

}  // namespace

ConnectionsFileContent readConnectionsFile(const std::filesystem::path& path) {
    ConnectionsFileContent content;
    TextLineReader reader(path, kMaxConnectionsFileBytes);
    if (!reader.isOpen()) {
        content.read = reader.failed() ? FileRead::Failed : FileRead::Missing;
        return content;
    }
    while (!reader.atEnd()) {
        std::array<std::string, 3> lines;
        for (auto& line : lines) {
            auto text = reader.readLine();
            if (!text) {  // short: not a record
                content.read = reader.failed() ? FileRead::Failed : FileRead::Complete;
                return content;
            }
            line = std::move(*text);
        }
        // The path is taken as written: a file name may begin or end with a space.
        const std::string name = stripSpaces(lines[0]);
        if (!acceptable(name, lines[2]) || content.connections.contains(name)) {
            ++content.skippedRecords;
            continue;
        }
        content.connections.set(name, NodeConnection{FileValue<NodeTransport>::fromText(stripSpaces(lines[1])),
                                                     std::move(lines[2])});
    }
    content.read = reader.failed() ? FileRead::Failed : FileRead::Complete;
    return content;
}

std::string formatConnectionsFile(const NodeConnections& connections) {
    std::string out;
    for (const auto& [name, connection] : connections.records()) {
        appendFileLine(out, name);
        appendFileLine(out, connection.transport.text());
        appendFileLine(out, connection.trustFile);
    }
    return out;
}

bool writeConnectionsFile(const std::filesystem::path& path, const NodeConnections& connections) {
    return writeFileAtomically(path, formatConnectionsFile(connections));
}

void loadNodeConnections(ProgramState& state) {
    ConnectionsFileContent content = readConnectionsFile(state.folder.connectionsFile());
    state.domain.connections = std::move(content.connections);
    state.domain.unreadableFiles.connections = content.read == FileRead::Failed || content.skippedRecords > 0;
}

bool saveNodeConnections(const ProgramState& state) {
    if (state.domain.unreadableFiles.connections) return false;
    const auto path = state.folder.connectionsFile();
    std::error_code ec;
    if (state.domain.connections.records().empty() && !std::filesystem::exists(path, ec)) return true;
    return writeConnectionsFile(path, state.domain.connections);
}

}  // namespace vantrel
