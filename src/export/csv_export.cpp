#include "export/csv_export.h"

#include <map>

namespace vantrel {

std::string csvField(std::string_view text) {
    std::string value;
    if (!text.empty() && std::string_view("=+-@\t\r").find(text.front()) != std::string_view::npos) value = "'";
    value += text;
    if (value.find_first_of(",\"\r\n") == std::string::npos) return value;
    std::string quoted = "\"";
    for (char c : value) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

std::string inventoryCsv(const std::vector<ExportNode>& nodes) {
    std::string out = "node,address,category,position,name,key,details\r\n";
    for (const auto& node : nodes) {
        std::map<std::string, int> positions;
        for (const auto& part : node.components) {
            std::string details;
            for (const auto& [property, value] : part.details)
                details += (details.empty() ? "" : "; ") + property + "=" + value;
            out += csvField(node.name) + ',' + csvField(node.address) + ',' + csvField(part.category) + ',' +
                   std::to_string(++positions[part.category]) + ',' + csvField(part.name) + ',' + csvField(part.key) +
                   ',' + csvField(details) + "\r\n";
        }
    }
    return out;
}

}  // namespace vantrel
