#include "core/logins_file.h"

#include <array>

#include "core/text_file.h"

namespace vantrel {

FileRead readLoginsFile(const std::filesystem::path& path, const std::function<void(NodeRecord)>& onRecord,
                        const std::function<void()>& afterSixthLine) {
    TextLineReader reader(path);
    if (!reader.isOpen()) return reader.failed() ? FileRead::Failed : FileRead::Missing;
    while (!reader.atEnd()) {
        std::array<std::string, 7> lines;
        for (std::size_t k = 0; k < lines.size(); ++k) {
            auto line = reader.readLine();
            if (!line) return reader.failed() ? FileRead::Failed : FileRead::Complete;  // short: not a node
            lines[k] = stripSpaces(*line);
            if (k == 5 && afterSixthLine) afterSixthLine();
        }
        onRecord(NodeRecord{std::move(lines[0]), std::move(lines[1]), std::move(lines[2]),
                            FileValue<NodeEnabled>::fromText(lines[3]), std::move(lines[4]), std::move(lines[5]),
                            FileValue<ScanStatus>::fromText(lines[6]), {}});
    }
    return reader.failed() ? FileRead::Failed : FileRead::Complete;
}

std::string formatLoginsFile(const NodeTable& table) {
    std::string out;
    for (int i = 1; i <= table.nodeCount(); ++i) {
        const NodeRecord& n = table.node(i);
        appendFileLine(out, n.name);
        appendFileLine(out, n.address);
        appendFileLine(out, n.displayName);
        appendFileLine(out, n.enabled.text());
        appendFileLine(out, n.loginUser);
        appendFileLine(out, n.loginPassword);
        appendFileLine(out, n.scanStatus.text());
    }
    return out;
}

bool writeLoginsFile(const std::filesystem::path& path, const NodeTable& table) {
    return writeFileAtomically(path, formatLoginsFile(table), 0600);
}

}  // namespace vantrel
