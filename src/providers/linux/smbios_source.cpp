#include "providers/linux/smbios_source.h"

#include <span>

namespace vantrel::linuxhost {

namespace {

std::span<const std::uint8_t> bytes(const std::string& s) {
    return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

}  // namespace

std::optional<SmbiosTable> readSmbios(const SourceRoot& root) {
    const auto entry = root.readFile("/sys/firmware/dmi/tables/smbios_entry_point");
    if (!entry) return std::nullopt;
    const auto entryPoint = parseSmbiosEntryPoint(bytes(*entry));
    if (!entryPoint) return std::nullopt;
    const auto table = root.readFile("/sys/firmware/dmi/tables/DMI");
    if (!table) return std::nullopt;
    return parseSmbiosTable(*entryPoint, bytes(*table));
}

}  // namespace vantrel::linuxhost
