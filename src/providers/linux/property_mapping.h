#pragma once
// How a class's properties come from what the system says about a device.
// A family of classes gathers one SourceRecord per device (raw texts keyed by
// where they came from) and declares a table of PropertyMapping rows; adding a
// property is one row. Several rows for one property are tried in order and
// the first source the record holds wins (SMBIOS, then /sys/class/dmi/id).

#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "wbem/table_services.h"

namespace vantrel::linuxhost {

// Raw texts of one device by source name ("smbios string 0x04",
// "dmi board_vendor", "cpuinfo model name", "hardware name", ...).
class SourceRecord {
public:
    void set(std::string source, std::string text);
    const std::string* get(std::string_view source) const;
    bool empty() const { return fields_.empty(); }

private:
    std::vector<std::pair<std::string, std::string>> fields_;
};

enum class Conversion {
    Text,                  // as it stands
    Integer,               // decimal or 0x hexadecimal
    Boolean,               // "1"/"0", "true"/"false", "yes"/"no"
    IntegerArray,          // integers separated by blanks
    SmbiosMemoryFormFactor,// SMBIOS memory form factor -> the interface's code
    SmbiosChassisType,     // SMBIOS chassis byte -> array of one chassis code
    SmbiosLockPresent,     // SMBIOS chassis byte -> Boolean of its top bit
};

struct PropertyMapping {
    std::string_view className;
    std::string_view property;
    std::string_view source;
    Conversion conversion;
};

// The value of a raw text under a conversion; absent when it does not convert.
wbem::Value convert(std::string_view text, Conversion conversion);

// The row of one device for a class: every property the table maps for the
// class, from the first of its sources the record holds.
wbem::TableRow mapRecord(std::span<const PropertyMapping> mappings, std::string_view className,
                         const SourceRecord& record);
wbem::Table mapRecords(std::span<const PropertyMapping> mappings, std::string_view className,
                       const std::vector<SourceRecord>& records);

// The sources the table names for a class that start with the prefix, so a
// family reads only what is mapped.
std::vector<std::string_view> sourcesFor(std::span<const PropertyMapping> mappings, std::string_view className,
                                         std::string_view prefix);

}  // namespace vantrel::linuxhost
