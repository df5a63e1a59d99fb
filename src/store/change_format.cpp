#include "store/change_format.h"

#include <ctime>

#include <nlohmann/json.hpp>

namespace vantrel {

namespace {

using Json = nlohmann::ordered_json;

Json componentJson(const Component& part) {
    Json details = Json::object();
    for (const auto& [name, value] : part.details) details[name] = value;
    return {{"name", part.name}, {"key", part.key}, {"details", std::move(details)}};
}

Json scanJson(const ScanInfo& scan) {
    return {{"scan", scan.number}, {"time", timeText(scan.time)}, {"source", scan.source}};
}

std::string detailDifference(const Component& before, const Component& after) {
    std::string text;
    for (std::size_t i = 0; i < after.details.size(); ++i) {
        const std::string old = i < before.details.size() ? before.details[i].second : std::string();
        if (old == after.details[i].second) continue;
        text += (text.empty() ? "" : ", ") + after.details[i].first + " " + (old.empty() ? "(none)" : old) + " -> " +
                (after.details[i].second.empty() ? "(none)" : after.details[i].second);
    }
    return text;
}

}  // namespace

std::string timeText(std::chrono::system_clock::time_point time) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(time);
    std::tm utc{};
    char text[64] = "?";
    if (gmtime_r(&seconds, &utc)) std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S UTC", &utc);
    return text;
}

std::string changesToText(const ScanChanges& changes) {
    if (changes.empty()) return "No change.\n";
    std::string text;
    for (const auto& c : changes.categories) {
        text += c.category + "\n";
        for (const auto& part : c.removed) text += "  - removed: " + part.name + "\n";
        for (const auto& part : c.added) text += "  + added: " + part.name + "\n";
        for (const auto& change : c.changed)
            text += "  ~ changed: " + change.after.name + " (" + detailDifference(change.before, change.after) + ")\n";
    }
    return text;
}

std::string changesToJson(const ChangeHeader& header, const ScanChanges& changes) {
    Json list = Json::array();
    for (const auto& c : changes.categories) {
        Json added = Json::array(), removed = Json::array(), changed = Json::array();
        for (const auto& part : c.added) added.push_back(componentJson(part));
        for (const auto& part : c.removed) removed.push_back(componentJson(part));
        for (const auto& change : c.changed)
            changed.push_back({{"before", componentJson(change.before)}, {"after", componentJson(change.after)}});
        list.push_back({{"category", c.category}, {"added", added}, {"removed", removed}, {"changed", changed}});
    }
    Json root = {{"node", header.node},         {"address", header.address}, {"from", scanJson(header.older)},
                 {"to", scanJson(header.newer)}, {"changes", std::move(list)}};
    // Values come from nodes: bytes that are not UTF-8 become U+FFFD.
    return root.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

}  // namespace vantrel
