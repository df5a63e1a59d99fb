// libFuzzer target: the SMBIOS parser on arbitrary bytes. Input that starts
// with an entry point is read as a dump (entry point, table after it);
// anything else as a bare table behind a 64-bit entry point.

#include <cstdint>
#include <span>

#include "providers/linux/smbios_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vantrel::linuxhost;
    const std::span<const std::uint8_t> bytes(data, size);
    SmbiosEntryPoint entry;
    std::span<const std::uint8_t> table = bytes;
    if (auto parsed = parseSmbiosEntryPoint(bytes)) {
        entry = *parsed;
        const std::size_t skip = entry.is64Bit ? 0x18 : 0x1F;
        table = bytes.subspan(std::min(skip, bytes.size()));
    } else {
        entry.is64Bit = true;
        entry.tableLength = 0xFFFFFFFF;
    }
    const SmbiosTable parsed = parseSmbiosTable(entry, table);
    std::size_t total = 0;
    for (const auto& s : parsed.structures) {
        if (s.length() < 4) __builtin_trap();
        total += s.length();
        for (std::size_t offset = 0; offset <= s.length() + 2; ++offset) {
            (void)s.byte(offset);
            (void)s.word(offset);
            (void)s.string(offset);
        }
    }
    if (total > table.size()) __builtin_trap();  // structures are made of the table's own bytes
    return 0;
}
