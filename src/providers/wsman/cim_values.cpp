#include "providers/wsman/cim_values.h"

#include <array>
#include <charconv>
#include <cstdint>
#include <optional>
#include <cstdio>
#include <unordered_map>

#include "wbem/wql.h"

namespace vantrel::wsman {

namespace {

enum class CimType { Text, Integer, Boolean };

struct KnownProperty {
    std::string_view name;
    CimType type;
    bool array;
};

// The properties the collectors read, and the arrays of the classes they ask.
constexpr std::array<KnownProperty, 34> kKnown{{
    {"AdapterType", CimType::Text, false},
    {"Caption", CimType::Text, false},
    {"CurrentUsage", CimType::Integer, false},
    {"Description", CimType::Text, false},
    {"Drive", CimType::Text, false},
    {"ExternalReferenceDesignator", CimType::Text, false},
    {"FormFactor", CimType::Integer, false},
    {"HardwareType", CimType::Text, false},
    {"InterfaceType", CimType::Text, false},
    {"InternalReferenceDesignator", CimType::Text, false},
    {"LockPresent", CimType::Boolean, false},
    {"Manufacturer", CimType::Text, false},
    {"Model", CimType::Text, false},
    {"Name", CimType::Text, false},
    {"NumberOfProcessors", CimType::Integer, false},
    {"PortType", CimType::Integer, false},
    {"SlotDesignation", CimType::Text, false},
    {"Status", CimType::Text, false},
    {"ChassisTypes", CimType::Integer, true},
    {"SecurityBreach", CimType::Integer, false},
    {"BiosCharacteristics", CimType::Integer, true},
    {"BIOSVersion", CimType::Text, true},
    {"Capabilities", CimType::Integer, true},
    {"CapabilityDescriptions", CimType::Text, true},
    {"ConnectorType", CimType::Integer, true},
    {"PowerManagementCapabilities", CimType::Integer, true},
    {"DefaultIPGateway", CimType::Text, true},
    {"DNSServerSearchOrder", CimType::Text, true},
    {"IPAddress", CimType::Text, true},
    {"IPSubnet", CimType::Text, true},
    {"Roles", CimType::Text, true},
    {"OEMStringArray", CimType::Text, true},
    {"SystemStartupOptions", CimType::Text, true},
    {"NetConnectionID", CimType::Text, false},
}};

const KnownProperty* known(std::string_view name) {
    for (const auto& k : kKnown)
        if (wbem::equalsIgnoreCase(k.name, name)) return &k;
    return nullptr;
}

std::optional<std::int64_t> parseInteger(std::string_view text) {
    if (text.empty() || text.size() > 20) return std::nullopt;
    // "007" is a code, not a number; only canonical decimals convert.
    const std::size_t digits = text[0] == '-' ? 1 : 0;
    if (text.size() == digits || (text[digits] == '0' && text.size() > digits + 1)) return std::nullopt;
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

bool isIntegerType(std::string_view xsiType) {
    static constexpr std::array<std::string_view, 8> kTypes{"cimUnsignedByte", "cimByte",  "cimUnsignedShort",
                                                           "cimShort",        "cimUnsignedInt", "cimInt",
                                                           "cimUnsignedLong", "cimLong"};
    for (auto t : kTypes)
        if (xsiType == t) return true;
    return xsiType == "unsignedByte" || xsiType == "byte" || xsiType == "unsignedShort" || xsiType == "short" ||
           xsiType == "unsignedInt" || xsiType == "int" || xsiType == "unsignedLong" || xsiType == "long";
}

wbem::Value scalar(const RawProperty& p, const KnownProperty* table) {
    if (p.nil || p.hasElements) return wbem::Value();
    if (p.isDatetime) {
        std::string cim = cimDatetime(p.text);
        return wbem::Value::text(cim.empty() ? p.text : std::move(cim));
    }
    if (!p.xsiType.empty()) {
        if (p.xsiType == "cimBoolean" || p.xsiType == "boolean") {
            if (p.text == "true" || p.text == "1") return wbem::Value::boolean(true);
            if (p.text == "false" || p.text == "0") return wbem::Value::boolean(false);
        } else if (isIntegerType(p.xsiType)) {
            if (auto n = parseInteger(p.text)) return wbem::Value::integer(*n);
        } else if (p.xsiType == "cimDateTime") {
            std::string cim = cimDatetime(p.text);
            if (!cim.empty()) return wbem::Value::text(std::move(cim));
        }
        return wbem::Value::text(p.text);
    }
    const CimType type = table ? table->type : CimType::Text;
    if (table && type == CimType::Text) return wbem::Value::text(p.text);
    if (!table || type == CimType::Boolean) {
        if (p.text == "true") return wbem::Value::boolean(true);
        if (p.text == "false") return wbem::Value::boolean(false);
    }
    if (!table || type == CimType::Integer)
        if (auto n = parseInteger(p.text)) return wbem::Value::integer(*n);
    return wbem::Value::text(p.text);
}

bool digitsAt(std::string_view s, std::size_t at, std::size_t count) {
    if (at + count > s.size()) return false;
    for (std::size_t i = at; i < at + count; ++i)
        if (s[i] < '0' || s[i] > '9') return false;
    return true;
}

}  // namespace

bool isArrayProperty(std::string_view name) {
    const KnownProperty* k = known(name);
    return k && k->array;
}

std::string cimDatetime(std::string_view s) {
    // yyyy-mm-ddThh:mm:ss[.f+](Z|(+|-)hh:mm)?
    if (!digitsAt(s, 0, 4) || s.size() < 19 || s[4] != '-' || !digitsAt(s, 5, 2) || s[7] != '-' ||
        !digitsAt(s, 8, 2) || s[10] != 'T' || !digitsAt(s, 11, 2) || s[13] != ':' || !digitsAt(s, 14, 2) ||
        s[16] != ':' || !digitsAt(s, 17, 2))
        return {};
    std::size_t i = 19;
    std::string micro = "000000";
    if (i < s.size() && s[i] == '.') {
        ++i;
        std::size_t n = 0;
        while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
            if (n < 6) micro[n] = s[i];
            ++n;
            ++i;
        }
        if (n == 0) return {};
    }
    int offsetMinutes = 0;
    if (i < s.size() && s[i] == 'Z') {
        ++i;
    } else if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        if (!digitsAt(s, i + 1, 2) || i + 3 >= s.size() || s[i + 3] != ':' || !digitsAt(s, i + 4, 2)) return {};
        const int hh = (s[i + 1] - '0') * 10 + (s[i + 2] - '0');
        const int mm = (s[i + 4] - '0') * 10 + (s[i + 5] - '0');
        offsetMinutes = (s[i] == '-' ? -1 : 1) * (hh * 60 + mm);
        i += 6;
    }
    if (i != s.size()) return {};
    char out[32];
    std::snprintf(out, sizeof out, "%.4s%.2s%.2s%.2s%.2s%.2s.%s%c%03d", s.data(), s.data() + 5, s.data() + 8,
                  s.data() + 11, s.data() + 14, s.data() + 17, micro.c_str(), offsetMinutes < 0 ? '-' : '+',
                  offsetMinutes < 0 ? -offsetMinutes : offsetMinutes);
    return out;
}

PropertyList convertItem(const RawItem& item) {
    // Group the elements by name first, in the order first seen. The index
    // keeps an answer of many thousand properties linear.
    std::vector<std::pair<std::string_view, std::vector<const RawProperty*>>> groups;
    std::unordered_map<std::string_view, std::size_t> groupOf;
    groupOf.reserve(item.properties.size());
    for (const RawProperty& p : item.properties) {
        const auto [at, added] = groupOf.try_emplace(p.name, groups.size());
        if (added) groups.push_back({p.name, {&p}});
        else groups[at->second].second.push_back(&p);
    }
    PropertyList out;
    out.reserve(groups.size());
    for (const auto& [name, group] : groups) {
        const KnownProperty* table = known(name);
        if (group.size() == 1 && !(table && table->array)) {
            out.emplace_back(std::string(name), scalar(*group.front(), table));
            continue;
        }
        std::vector<wbem::Value> values;
        for (const RawProperty* p : group)
            if (!p->nil) values.push_back(scalar(*p, table));
        // An array sent as xsi:nil is no value at all.
        out.emplace_back(std::string(name), values.empty() ? wbem::Value() : wbem::Value::array(std::move(values)));
    }
    return out;
}

}  // namespace vantrel::wsman
