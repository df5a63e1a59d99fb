#include "providers/linux/smbios_parser.h"

#include <algorithm>
#include <cstring>
#include <unordered_set>

namespace vantrel::linuxhost {

namespace {

constexpr std::uint8_t kEndOfTable = 127;
constexpr std::size_t kHeaderLength = 4;

std::uint16_t le16(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

std::uint32_t le32(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::uint32_t>(le16(b, at)) | (static_cast<std::uint32_t>(le16(b, at + 2)) << 16);
}

std::uint64_t le64(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::uint64_t>(le32(b, at)) | (static_cast<std::uint64_t>(le32(b, at + 4)) << 32);
}

bool startsWith(std::span<const std::uint8_t> b, const char* anchor) {
    const std::size_t n = std::strlen(anchor);
    return b.size() >= n && std::memcmp(b.data(), anchor, n) == 0;
}

std::string printable(std::span<const std::uint8_t> bytes) {
    std::string s(bytes.size(), '.');
    for (std::size_t i = 0; i < bytes.size(); ++i)
        if (bytes[i] >= 0x20 && bytes[i] < 0x7F) s[i] = static_cast<char>(bytes[i]);
    return s;
}

}  // namespace

SmbiosStructure::SmbiosStructure(std::uint8_t type, std::uint16_t handle, std::vector<std::uint8_t> formatted,
                                 std::vector<std::string> strings)
    : type_(type), handle_(handle), formatted_(std::move(formatted)), strings_(std::move(strings)) {}

std::optional<std::uint8_t> SmbiosStructure::byte(std::size_t offset) const {
    if (offset >= formatted_.size()) return std::nullopt;
    return formatted_[offset];
}

std::optional<std::uint16_t> SmbiosStructure::word(std::size_t offset) const {
    if (formatted_.size() < 2 || offset > formatted_.size() - 2) return std::nullopt;
    return le16(formatted_, offset);
}

std::optional<std::string> SmbiosStructure::string(std::size_t offset) const {
    const auto number = byte(offset);
    if (!number || *number == 0 || *number > strings_.size()) return std::nullopt;
    return strings_[*number - 1];
}

std::vector<const SmbiosStructure*> SmbiosTable::ofType(std::uint8_t type) const {
    std::vector<const SmbiosStructure*> out;
    for (const auto& s : structures)
        if (s.type() == type) out.push_back(&s);
    return out;
}

std::optional<SmbiosEntryPoint> parseSmbiosEntryPoint(std::span<const std::uint8_t> b) {
    SmbiosEntryPoint ep;
    if (startsWith(b, "_SM3_") && b.size() >= 0x18) {
        ep.is64Bit = true;
        ep.major = b[0x07];
        ep.minor = b[0x08];
        ep.tableLength = le32(b, 0x0C);
        ep.tableAddress = le64(b, 0x10);
        return ep;
    }
    if (startsWith(b, "_SM_") && b.size() >= 0x1F) {
        ep.major = b[0x06];
        ep.minor = b[0x07];
        ep.tableLength = le16(b, 0x16);
        ep.tableAddress = le32(b, 0x18);
        ep.structureCount = le16(b, 0x1C);
        return ep;
    }
    if (startsWith(b, "_DMI_") && b.size() >= 0x0F) {
        ep.major = b[0x0E] >> 4;
        ep.minor = b[0x0E] & 0x0F;
        ep.tableLength = le16(b, 0x06);
        ep.tableAddress = le32(b, 0x08);
        ep.structureCount = le16(b, 0x0C);
        return ep;
    }
    return std::nullopt;
}

SmbiosTable parseSmbiosTable(const SmbiosEntryPoint& entryPoint, std::span<const std::uint8_t> table) {
    SmbiosTable out;
    out.entryPoint = entryPoint;
    if (entryPoint.tableLength < table.size()) table = table.first(entryPoint.tableLength);
    std::unordered_set<std::uint16_t> handles;
    std::size_t offset = 0;
    while (table.size() - offset >= kHeaderLength) {
        if (entryPoint.structureCount != 0 && out.structures.size() >= entryPoint.structureCount) break;
        const std::uint8_t type = table[offset];
        const std::uint8_t length = table[offset + 1];
        const std::uint16_t handle = le16(table, offset + 2);
        if (length < kHeaderLength || length > table.size() - offset) break;
        // The strings follow the formatted area and end with two NULs; an
        // empty set is just the two NULs.
        std::size_t cursor = offset + length;
        std::vector<std::string> strings;
        bool terminated = false;
        if (table.size() - cursor >= 2 && table[cursor] == 0 && table[cursor + 1] == 0) {
            cursor += 2;
            terminated = true;
        } else {
            while (cursor < table.size()) {
                const auto rest = table.subspan(cursor);
                const auto nul = std::find(rest.begin(), rest.end(), std::uint8_t{0});
                if (nul == rest.end()) break;
                const std::size_t n = static_cast<std::size_t>(nul - rest.begin());
                strings.push_back(printable(rest.first(n)));
                cursor += n + 1;
                if (cursor < table.size() && table[cursor] == 0) {
                    ++cursor;
                    terminated = true;
                    break;
                }
            }
        }
        if (!terminated) break;
        if (!handles.insert(handle).second) break;
        const auto formatted = table.subspan(offset, length);
        out.structures.emplace_back(type, handle, std::vector<std::uint8_t>(formatted.begin(), formatted.end()),
                                    std::move(strings));
        if (type == kEndOfTable) break;
        offset = cursor;
    }
    return out;
}

}  // namespace vantrel::linuxhost
