#include "export/json_export.h"

#include <map>

#include <nlohmann/json.hpp>

namespace vantrel {

std::string inventoryJson(const std::vector<ExportNode>& nodes, std::chrono::system_clock::time_point exported) {
    nlohmann::ordered_json document;
    document["format"] = "vantrel-inventory";
    document["version"] = 1;
    document["exported"] = isoTime(exported);
    document["nodes"] = nlohmann::ordered_json::array();
    for (const auto& node : nodes) {
        nlohmann::ordered_json entry;
        entry["name"] = node.name;
        entry["displayName"] = node.displayName;
        entry["address"] = node.address;
        entry["status"] = node.status;
        entry["scanTime"] = node.scanTime ? nlohmann::ordered_json(isoTime(node.scanTime)) : nlohmann::ordered_json();
        entry["lastChange"] = node.lastChange.empty() ? nlohmann::ordered_json() : nlohmann::ordered_json(node.lastChange);
        entry["components"] = nlohmann::ordered_json::array();
        std::map<std::string, int> positions;
        for (const auto& part : node.components) {
            nlohmann::ordered_json details = nlohmann::ordered_json::object();
            for (const auto& [property, value] : part.details) details[property] = value;
            entry["components"].push_back({{"category", part.category},
                                           {"position", ++positions[part.category]},
                                           {"name", part.name},
                                           {"key", part.key},
                                           {"details", details}});
        }
        document["nodes"].push_back(std::move(entry));
    }
    // Texts from the network may hold bytes that are not UTF-8: replaced, never refused.
    return document.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

}  // namespace vantrel
