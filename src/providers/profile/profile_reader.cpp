// Turning a profile's JSON into a Profile, with every wrong type reported by
// the path of the member that holds it.

#include <limits>
#include <nlohmann/json.hpp>

#include "providers/profile/profile_provider.h"
#include "text/regular_file.h"
#include "wbem/wbem_error.h"
#include "wbem/wql.h"

namespace vantrel::wbem {

namespace {

using Json = nlohmann::json;

// Larger files are not profiles someone wrote; refuse before reading them.
constexpr std::uintmax_t kMaxProfileBytes = 64u << 20;

class ProfileReader {
public:
    explicit ProfileReader(std::string_view source) : source_(source) {}

    Profile read(const Json& root) {
        Profile profile;
        expectObject(root, "the profile");
        for (const auto& [key, member] : root.items()) {
            if (key == "credentials") {
                profile.credentials = readCredentials(member, "credentials");
            } else if (key == "namespaces") {
                profile.namespaces = readNamespaces(member, "namespaces");
            } else {
                fail(key, "unknown member (expected \"credentials\" or \"namespaces\")");
            }
        }
        if (!root.contains("namespaces")) fail("namespaces", "missing");
        return profile;
    }

private:
    [[noreturn]] void fail(const std::string& where, const std::string& what) const {
        throw WbemError(ErrorCode::InvalidProfile, std::string(source_) + ": " + where + ": " + what);
    }

    static std::string typeName(const Json& j) {
        if (j.is_number_float()) return "a number with a fraction";
        if (j.is_number()) return "a number";
        if (j.is_array()) return "an array";
        if (j.is_object()) return "an object";
        return std::string("a ") + j.type_name();
    }

    void expectObject(const Json& j, const std::string& where) const {
        if (!j.is_object()) fail(where, "expected an object, found " + typeName(j));
    }

    static std::string member(const std::string& path, const std::string& key) {
        return path + "[\"" + key + "\"]";
    }

    ProfileCredentials readCredentials(const Json& j, const std::string& path) const {
        expectObject(j, path);
        ProfileCredentials out;
        bool haveUser = false, havePassword = false;
        for (const auto& [key, value] : j.items()) {
            const std::string where = member(path, key);
            if (key != "user" && key != "password")
                fail(where, "unknown member (expected \"user\" or \"password\")");
            if (!value.is_string()) fail(where, "expected a string, found " + typeName(value));
            (key == "user" ? out.user : out.password) = value.get<std::string>();
            (key == "user" ? haveUser : havePassword) = true;
        }
        if (!haveUser) fail(member(path, "user"), "missing");
        if (!havePassword) fail(member(path, "password"), "missing");
        return out;
    }

    std::vector<ProfileNamespace> readNamespaces(const Json& j, const std::string& path) const {
        expectObject(j, path);
        std::vector<ProfileNamespace> out;
        for (const auto& [name, classes] : j.items()) {
            const std::string where = member(path, name);
            for (const auto& earlier : out)
                if (sameNamespace(earlier.name, name)) fail(where, "the namespace is listed twice");
            out.push_back({name, readClasses(classes, where)});
        }
        return out;
    }

    std::vector<ProfileClass> readClasses(const Json& j, const std::string& path) const {
        expectObject(j, path);
        std::vector<ProfileClass> out;
        for (const auto& [name, rows] : j.items()) {
            const std::string where = member(path, name);
            for (const auto& earlier : out)
                if (equalsIgnoreCase(earlier.name, name)) fail(where, "the class is listed twice");
            if (!rows.is_array()) fail(where, "expected an array of rows, found " + typeName(rows));
            ProfileClass cls{name, {}};
            cls.rows.reserve(rows.size());
            for (std::size_t i = 0; i < rows.size(); ++i)
                cls.rows.push_back(readRow(rows[i], where + "[" + std::to_string(i) + "]"));
            out.push_back(std::move(cls));
        }
        return out;
    }

    ProfileRow readRow(const Json& j, const std::string& path) const {
        expectObject(j, path);
        ProfileRow row;
        for (const auto& [name, value] : j.items()) {
            const std::string where = member(path, name);
            for (const auto& earlier : row.properties)
                if (equalsIgnoreCase(earlier.first, name)) fail(where, "the property is listed twice");
            row.properties.emplace_back(name, readValue(value, where, true));
        }
        return row;
    }

    Value readValue(const Json& j, const std::string& path, bool arrayAllowed) const {
        switch (j.type()) {
            case Json::value_t::null:
                if (arrayAllowed) return Value();
                break;
            case Json::value_t::string: return Value::text(j.get<std::string>());
            case Json::value_t::boolean: return Value::boolean(j.get<bool>());
            case Json::value_t::number_integer: return Value::integer(j.get<std::int64_t>());
            case Json::value_t::number_unsigned: {
                const auto u = j.get<std::uint64_t>();
                if (u > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()))
                    fail(path, "the integer is too large");
                return Value::integer(static_cast<std::int64_t>(u));
            }
            case Json::value_t::array: {
                if (!arrayAllowed) break;
                std::vector<Value> elements;
                elements.reserve(j.size());
                for (std::size_t i = 0; i < j.size(); ++i) {
                    elements.push_back(readValue(j[i], path + "[" + std::to_string(i) + "]", false));
                    if (elements.back().kind() != elements.front().kind())
                        fail(path + "[" + std::to_string(i) + "]", "the elements of an array must all be of one type");
                }
                return Value::array(std::move(elements));
            }
            default: break;
        }
        fail(path, std::string("expected ") +
                       (arrayAllowed ? "a string, an integer, true, false, null or an array of those"
                                     : "a string, an integer, true or false inside an array") +
                       ", found " + typeName(j));
    }

    std::string_view source_;
};

std::pair<std::size_t, std::size_t> lineAndColumn(std::string_view text, std::size_t byte) {
    std::size_t line = 1, column = 1;
    for (std::size_t i = 0; i < byte && i < text.size(); ++i) {
        if (text[i] == '\n') {
            ++line;
            column = 1;
        } else {
            ++column;
        }
    }
    return {line, column};
}

}  // namespace

Profile parseProfile(std::string_view json, std::string_view sourceName) {
    Json root;
    try {
        root = Json::parse(json.begin(), json.end());
    } catch (const Json::parse_error& e) {
        // The library counts the offending byte from 1.
        const auto [line, column] = lineAndColumn(json, e.byte > 0 ? e.byte - 1 : 0);
        std::string why = e.what();
        if (auto colon = why.find(": "); colon != std::string::npos) why = why.substr(colon + 2);
        throw WbemError(ErrorCode::InvalidProfile, std::string(sourceName) + ":" + std::to_string(line) + ":" +
                                                       std::to_string(column) + ": invalid JSON: " + why);
    } catch (const Json::exception& e) {
        // A number too large for any type comes here, without a position.
        std::string why = e.what();
        if (auto bracket = why.find("] "); bracket != std::string::npos) why = why.substr(bracket + 2);
        throw WbemError(ErrorCode::InvalidProfile, std::string(sourceName) + ": invalid JSON: " + why);
    }
    return ProfileReader(sourceName).read(root);
}

Profile loadProfile(const std::filesystem::path& file) {
    const std::string name = file.string();
    const text::FileBytes read = text::readRegularFile(file, kMaxProfileBytes);
    if (read.check == text::FileCheck::TooLarge)
        throw WbemError(ErrorCode::InvalidProfile, name + ": the profile is too large");
    if (read.check != text::FileCheck::Ok)
        throw WbemError(ErrorCode::InvalidProfile,
                        name + ": cannot read the profile (it " + text::fileCheckText(read.check, kMaxProfileBytes) + ")");
    return parseProfile(std::string_view(read.bytes.data(), read.bytes.size()), name);
}

}  // namespace vantrel::wbem
