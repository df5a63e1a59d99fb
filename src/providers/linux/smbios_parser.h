#pragma once
// The SMBIOS table as the firmware hands it to the kernel
// (/sys/firmware/dmi/tables/smbios_entry_point and DMI). The parser trusts
// nothing: every length is checked against what is left, a structure whose
// strings run past the end is dropped with everything after it, and the walk
// always moves forward, so a corrupt table gives fewer structures, never a
// read past the end or a hang.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vantrel::linuxhost {

struct SmbiosEntryPoint {
    bool is64Bit = false;
    int major = 0;
    int minor = 0;
    std::uint32_t tableLength = 0;      // 32-bit: exact; 64-bit: the most there can be
    std::uint64_t tableAddress = 0;     // physical address; dumps put the table there
    std::uint32_t structureCount = 0;   // 32-bit only; 0 when not given
};

class SmbiosStructure {
public:
    SmbiosStructure(std::uint8_t type, std::uint16_t handle, std::vector<std::uint8_t> formatted,
                    std::vector<std::string> strings);

    std::uint8_t type() const { return type_; }
    std::uint16_t handle() const { return handle_; }
    // The formatted area, header included; fields of a later SMBIOS version
    // are there only when the structure is long enough.
    std::size_t length() const { return formatted_.size(); }
    std::optional<std::uint8_t> byte(std::size_t offset) const;
    std::optional<std::uint16_t> word(std::size_t offset) const;
    // The string whose number is stored at the offset; nullopt for number 0
    // ("not specified"), a number past the strings, or an offset past the end.
    std::optional<std::string> string(std::size_t offset) const;

private:
    std::uint8_t type_;
    std::uint16_t handle_;
    std::vector<std::uint8_t> formatted_;
    std::vector<std::string> strings_;
};

struct SmbiosTable {
    SmbiosEntryPoint entryPoint;
    std::vector<SmbiosStructure> structures;

    std::vector<const SmbiosStructure*> ofType(std::uint8_t type) const;
};

// The entry point ("_SM3_", "_SM_" or the legacy "_DMI_"), with its checksum
// ignored (the kernel has checked it); nullopt when none is recognised.
std::optional<SmbiosEntryPoint> parseSmbiosEntryPoint(std::span<const std::uint8_t> bytes);

// The structures of a table, in table order, up to the end-of-table
// structure, the entry point's count or length, or the first corrupt
// structure. A handle seen before ends the walk: the table repeats itself.
// Strings keep printable ASCII; other bytes become '.', as dmidecode shows them.
SmbiosTable parseSmbiosTable(const SmbiosEntryPoint& entryPoint, std::span<const std::uint8_t> table);

}  // namespace vantrel::linuxhost
