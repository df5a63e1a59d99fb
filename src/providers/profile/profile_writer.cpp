// A Profile as the JSON the reader takes, so that a computer's answers can
// be saved and stand in for it later.

#include <nlohmann/json.hpp>

#include "providers/profile/profile_provider.h"

namespace vantrel::wbem {

namespace {

using Json = nlohmann::ordered_json;

Json toJson(const Value& value) {
    switch (value.kind()) {
        case Value::Kind::Absent: return nullptr;
        case Value::Kind::Text: return value.asText();
        case Value::Kind::Integer: return value.asInteger();
        case Value::Kind::Boolean: return value.asBoolean();
        case Value::Kind::Array: {
            Json array = Json::array();
            for (const auto& element : value.elements()) array.push_back(toJson(element));
            return array;
        }
    }
    return nullptr;
}

}  // namespace

std::string writeProfile(const Profile& profile) {
    Json root = Json::object();
    if (profile.credentials)
        root["credentials"] = {{"user", profile.credentials->user}, {"password", profile.credentials->password}};
    Json namespaces = Json::object();
    for (const auto& ns : profile.namespaces) {
        Json classes = Json::object();
        for (const auto& cls : ns.classes) {
            Json rows = Json::array();
            for (const auto& row : cls.rows) {
                Json object = Json::object();
                for (const auto& [name, value] : row.properties) object[name] = toJson(value);
                rows.push_back(std::move(object));
            }
            classes[cls.name] = std::move(rows);
        }
        namespaces[ns.name] = std::move(classes);
    }
    root["namespaces"] = std::move(namespaces);
    // Bytes that are not UTF-8 become U+FFFD rather than failing the save.
    return root.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

}  // namespace vantrel::wbem
