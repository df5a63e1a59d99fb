// The SMBIOS parser on broken tables: fewer structures, never a read past
// the end, a hang or a structure made of someone else's bytes.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "providers/linux/smbios_parser.h"
#include "source_tree.h"

using namespace vantrel::linuxhost;

namespace {

using Bytes = std::vector<std::uint8_t>;

SmbiosEntryPoint entryPoint64(std::uint32_t maxLength = 0xFFFF) {
    SmbiosEntryPoint ep;
    ep.is64Bit = true;
    ep.major = 3;
    ep.tableLength = maxLength;
    return ep;
}

// type, length, handle, then the rest of the formatted area and the strings.
Bytes structure(std::uint8_t type, std::uint16_t handle, Bytes formattedRest, Bytes strings) {
    Bytes b{type, static_cast<std::uint8_t>(4 + formattedRest.size()), static_cast<std::uint8_t>(handle & 0xFF),
            static_cast<std::uint8_t>(handle >> 8)};
    b.insert(b.end(), formattedRest.begin(), formattedRest.end());
    b.insert(b.end(), strings.begin(), strings.end());
    return b;
}

Bytes concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

const Bytes kNoStrings{0, 0};
const Bytes kMakerString{'A', 'c', 'm', 'e', 0, 0};

std::vector<std::uint16_t> handles(const SmbiosTable& t) {
    std::vector<std::uint16_t> out;
    for (const auto& s : t.structures) out.push_back(s.handle());
    return out;
}

}  // namespace

TEST(SmbiosParser, CorruptTablesGiveTheStructuresBeforeTheFault) {
    const Bytes board = structure(2, 0x10, {1}, kMakerString);
    const Bytes end = structure(127, 0x11, {}, kNoStrings);
    const struct {
        const char* what;
        Bytes table;
        std::uint32_t maxLength;
        std::vector<std::uint16_t> handles;
    } cases[] = {
        {"whole", concat({board, end}), 0xFFFF, {0x10, 0x11}},
        {"nothing after the end-of-table structure", concat({board, end, board}), 0xFFFF, {0x10, 0x11}},
        {"a length below the header", concat({board, Bytes{9, 2, 0x20, 0}, kNoStrings, end}), 0xFFFF, {0x10}},
        {"a length past the end", concat({board, Bytes{9, 0xF0, 0x20, 0}}), 0xFFFF, {0x10}},
        {"strings without their terminator", concat({board, Bytes{9, 5, 0x20, 0, 1, 'x', 'y'}}), 0xFFFF, {0x10}},
        {"a lone NUL after the formatted area", concat({board, Bytes{9, 4, 0x20, 0, 0}}), 0xFFFF, {0x10}},
        {"a handle seen before", concat({board, structure(3, 0x10, {}, kNoStrings), end}), 0xFFFF, {0x10}},
        {"a header cut short", concat({board, Bytes{9, 4}}), 0xFFFF, {0x10}},
        {"the entry point's length ends the table", concat({board, end}), static_cast<std::uint32_t>(board.size()),
         {0x10}},
        {"empty", {}, 0xFFFF, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const SmbiosTable t = parseSmbiosTable(entryPoint64(c.maxLength), c.table);
        EXPECT_EQ(handles(t), c.handles);
    }
}

TEST(SmbiosParser, FieldsAndStringsOutsideTheStructureAreAbsent) {
    const Bytes table = concat({structure(2, 1, {1, 3, 0}, Bytes{'A', 'c', 0x01, 'e', 0, 'B', 0, 0})});
    const SmbiosTable t = parseSmbiosTable(entryPoint64(), table);
    ASSERT_EQ(t.structures.size(), 1u);
    const SmbiosStructure& s = t.structures[0];
    EXPECT_EQ(s.string(4), "Ac.e");               // a control byte shows as '.'
    EXPECT_EQ(s.string(5), std::nullopt);         // string 3 of 2
    EXPECT_EQ(s.string(6), std::nullopt);         // string 0: not specified
    EXPECT_EQ(s.string(7), std::nullopt);         // past the formatted area
    EXPECT_EQ(s.byte(6), 0);
    EXPECT_EQ(s.byte(7), std::nullopt);
    EXPECT_EQ(s.word(5), 3);                      // little-endian 03 00
    EXPECT_EQ(s.word(6), std::nullopt);           // would take a byte past the end
}

TEST(SmbiosParser, EntryPoints) {
    Bytes sm3(0x18, 0);
    std::copy_n("_SM3_", 5, sm3.begin());
    sm3[0x07] = 3, sm3[0x08] = 2, sm3[0x0C] = 0x34, sm3[0x0D] = 0x12, sm3[0x10] = 0x20;
    Bytes sm(0x1F, 0);
    std::copy_n("_SM_", 4, sm.begin());
    sm[0x06] = 2, sm[0x07] = 8, sm[0x16] = 0x00, sm[0x17] = 0x01, sm[0x1C] = 5;
    Bytes dmi(0x0F, 0);
    std::copy_n("_DMI_", 5, dmi.begin());
    dmi[0x0E] = 0x21, dmi[0x06] = 0x40, dmi[0x0C] = 3;
    const auto e3 = parseSmbiosEntryPoint(sm3);
    ASSERT_TRUE(e3);
    EXPECT_TRUE(e3->is64Bit);
    EXPECT_EQ(e3->major, 3);
    EXPECT_EQ(e3->minor, 2);
    EXPECT_EQ(e3->tableLength, 0x1234u);
    EXPECT_EQ(e3->tableAddress, 0x20u);
    const auto e2 = parseSmbiosEntryPoint(sm);
    ASSERT_TRUE(e2);
    EXPECT_FALSE(e2->is64Bit);
    EXPECT_EQ(e2->tableLength, 0x100u);
    EXPECT_EQ(e2->structureCount, 5u);
    const auto legacy = parseSmbiosEntryPoint(dmi);
    ASSERT_TRUE(legacy);
    EXPECT_EQ(legacy->major, 2);
    EXPECT_EQ(legacy->minor, 1);
    EXPECT_EQ(legacy->structureCount, 3u);
    // Cut short or unknown: no entry point.
    EXPECT_FALSE(parseSmbiosEntryPoint(Bytes(sm3.begin(), sm3.end() - 1)));
    EXPECT_FALSE(parseSmbiosEntryPoint(Bytes(sm.begin(), sm.end() - 1)));
    EXPECT_FALSE(parseSmbiosEntryPoint(Bytes{'_', 'S', 'M', '4', '_', 0, 0, 0}));
    EXPECT_FALSE(parseSmbiosEntryPoint(Bytes{}));
}

TEST(SmbiosParser, EveryCutOfARealTableGivesAPrefixOfItsStructures) {
    const auto fixtures = vantrel::linuxhost::testing::sharedFixtures();
    if (fixtures.empty()) GTEST_SKIP() << "shared fixtures are absent";
    std::ifstream in(fixtures / "smbios" / "uroot_Lenovo-ThinkPad-T480.bin", std::ios::binary);
    const std::string dump((std::istreambuf_iterator<char>(in)), {});
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(dump.data());
    const auto entry = parseSmbiosEntryPoint({bytes, dump.size()});
    ASSERT_TRUE(entry);
    const std::span<const std::uint8_t> table(bytes + entry->tableAddress, dump.size() - entry->tableAddress);
    const SmbiosTable whole = parseSmbiosTable(*entry, table);
    ASSERT_GT(whole.structures.size(), 10u);
    for (std::size_t cut = 0; cut < table.size(); ++cut) {
        // A copy of exactly the cut, so the sanitizers see any read past it.
        const Bytes part(table.begin(), table.begin() + static_cast<std::ptrdiff_t>(cut));
        const SmbiosTable t = parseSmbiosTable(*entry, part);
        ASSERT_LE(t.structures.size(), whole.structures.size());
        for (std::size_t i = 0; i < t.structures.size(); ++i) {
            ASSERT_EQ(t.structures[i].handle(), whole.structures[i].handle()) << "cut at " << cut;
            ASSERT_EQ(t.structures[i].length(), whole.structures[i].length());
            ASSERT_EQ(t.structures[i].string(4), whole.structures[i].string(4));
        }
    }
}
