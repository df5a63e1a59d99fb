#include "providers/linux/property_mapping.h"

#include <charconv>
#include <cstdint>
#include <optional>

#include "wbem/wql.h"

namespace vantrel::linuxhost {

namespace {

std::optional<std::int64_t> parseInteger(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\n')) text.remove_suffix(1);
    bool negative = false;
    if (!text.empty() && text.front() == '-') {
        negative = true;
        text.remove_prefix(1);
    }
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty()) return std::nullopt;
    std::int64_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return negative ? -value : value;
}

// SMBIOS memory form factors (type 17) as the management interface codes them.
std::int64_t memoryFormFactorCode(std::int64_t smbios) {
    switch (smbios) {
        case 0x01: return 1;   // Other
        case 0x03: return 7;   // SIMM
        case 0x04: return 2;   // SIP
        case 0x06: return 3;   // DIP
        case 0x07: return 4;   // ZIP
        case 0x08: return 6;   // Proprietary card
        case 0x09: return 8;   // DIMM
        case 0x0A: return 9;   // TSOP
        case 0x0C: return 11;  // RIMM
        case 0x0D: return 12;  // SODIMM
        case 0x0E: return 13;  // SRIMM
        case 0x0F: return 8;   // FB-DIMM is a DIMM
        default: return 0;     // Unknown, chip, row of chips, die, and anything newer
    }
}

}  // namespace

void SourceRecord::set(std::string source, std::string text) {
    for (auto& [key, value] : fields_)
        if (key == source) {
            value = std::move(text);
            return;
        }
    fields_.emplace_back(std::move(source), std::move(text));
}

const std::string* SourceRecord::get(std::string_view source) const {
    for (const auto& [key, value] : fields_)
        if (key == source) return &value;
    return nullptr;
}

wbem::Value convert(std::string_view text, Conversion conversion) {
    using wbem::Value;
    switch (conversion) {
        case Conversion::Text: return Value::text(std::string(text));
        case Conversion::Integer:
            if (auto v = parseInteger(text)) return Value::integer(*v);
            return Value();
        case Conversion::Boolean:
            if (text == "1" || wbem::equalsIgnoreCase(text, "true") || wbem::equalsIgnoreCase(text, "yes"))
                return Value::boolean(true);
            if (text == "0" || wbem::equalsIgnoreCase(text, "false") || wbem::equalsIgnoreCase(text, "no"))
                return Value::boolean(false);
            return Value();
        case Conversion::IntegerArray: {
            std::vector<Value> elements;
            std::size_t i = 0;
            while (i < text.size()) {
                while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
                std::size_t end = i;
                while (end < text.size() && text[end] != ' ' && text[end] != '\t') ++end;
                if (end == i) break;
                auto v = parseInteger(text.substr(i, end - i));
                if (!v) return Value();
                elements.push_back(Value::integer(*v));
                i = end;
            }
            return Value::array(std::move(elements));
        }
        case Conversion::SmbiosMemoryFormFactor:
            if (auto v = parseInteger(text)) return Value::integer(memoryFormFactorCode(*v));
            return Value();
        case Conversion::SmbiosChassisType:
            // The top bit is the lock; the rest is the chassis code.
            if (auto v = parseInteger(text)) return Value::array({Value::integer(*v & 0x7F)});
            return Value();
        case Conversion::SmbiosLockPresent:
            if (auto v = parseInteger(text)) return Value::boolean((*v & 0x80) != 0);
            return Value();
    }
    return Value();
}

wbem::TableRow mapRecord(std::span<const PropertyMapping> mappings, std::string_view className,
                         const SourceRecord& record) {
    wbem::TableRow row;
    for (const auto& m : mappings) {
        if (m.className != className) continue;
        bool mapped = false;
        for (const auto& [name, value] : row.properties) mapped = mapped || name == m.property;
        if (mapped) continue;
        const std::string* text = record.get(m.source);
        if (!text) continue;
        wbem::Value value = convert(*text, m.conversion);
        if (!value.isAbsent()) row.properties.emplace_back(std::string(m.property), std::move(value));
    }
    return row;
}

wbem::Table mapRecords(std::span<const PropertyMapping> mappings, std::string_view className,
                       const std::vector<SourceRecord>& records) {
    wbem::Table table;
    table.reserve(records.size());
    for (const auto& record : records) table.push_back(mapRecord(mappings, className, record));
    return table;
}

std::vector<std::string_view> sourcesFor(std::span<const PropertyMapping> mappings, std::string_view className,
                                         std::string_view prefix) {
    std::vector<std::string_view> out;
    for (const auto& m : mappings)
        if (m.className == className && m.source.substr(0, prefix.size()) == prefix) out.push_back(m.source);
    return out;
}

}  // namespace vantrel::linuxhost
