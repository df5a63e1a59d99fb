// The firmware classes read from real machines' SMBIOS dumps, checked
// against dmidecode's decoding of the same dumps.

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

#include "providers/linux/linux_provider.h"
#include "providers/linux/smbios_parser.h"
#include "source_tree.h"

using namespace vantrel;
using namespace vantrel::linuxhost;
using vantrel::linuxhost::testing::SourceTree;
using vantrel::linuxhost::testing::sharedFixtures;

namespace {

std::string readAll(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// dmidecode's records: the top-level "Key: Value" lines of every structure,
// by DMI type.
using DmiRecord = std::map<std::string, std::string>;
std::map<int, std::vector<DmiRecord>> parseDmidecode(const std::string& text) {
    std::map<int, std::vector<DmiRecord>> out;
    std::istringstream in(text);
    std::string line;
    DmiRecord* current = nullptr;
    while (std::getline(in, line)) {
        if (line.rfind("Handle 0x", 0) == 0) {
            const auto at = line.find("DMI type ");
            current = &out[std::stoi(line.substr(at + 9))].emplace_back();
        } else if (current && line.size() > 1 && line[0] == '\t' && line[1] != '\t') {
            const auto colon = line.find(": ");
            if (colon != std::string::npos) (*current)[line.substr(1, colon - 1)] = line.substr(colon + 2);
        }
    }
    return out;
}

// The interface's codes for the names dmidecode prints in these dumps.
const std::map<std::string, std::int64_t> kPortTypes = {
    {"None", 0}, {"Parallel Port ECP/EPP", 5}, {"Serial Port 16450 Compatible", 7},
    {"Serial Port 16550A Compatible", 9}, {"Keyboard Port", 13}, {"Mouse Port", 14}, {"USB", 16},
    {"Video Port", 28}, {"Audio Port", 29}, {"Modem Port", 30}, {"Network Port", 31}, {"SATA", 32},
    {"8251 FIFO Compatible", 161}, {"Other", 255}};
const std::map<std::string, std::int64_t> kUsages = {{"Other", 1}, {"Unknown", 2}, {"Available", 3}, {"In Use", 4}};
const std::map<std::string, std::int64_t> kFormFactors = {{"DIMM", 8}, {"SODIMM", 12}};
const std::map<std::string, std::int64_t> kChassisTypes = {
    {"Other", 1}, {"Desktop", 3}, {"Notebook", 10}, {"Main Server Chassis", 17}, {"Rack Mount Chassis", 23}};

// A string field as the provider gives it: dmidecode's "Not Specified" is absent.
wbem::Value textOf(const DmiRecord& r, const std::string& key) {
    const auto it = r.find(key);
    if (it == r.end() || it->second == "Not Specified") return {};
    return wbem::Value::text(it->second);
}

wbem::Value codeOf(const DmiRecord& r, const std::string& key, const std::map<std::string, std::int64_t>& codes) {
    const auto it = r.find(key);
    if (it == r.end()) return {};
    const auto code = codes.find(it->second);
    EXPECT_NE(code, codes.end()) << key << ": " << it->second;
    return code == codes.end() ? wbem::Value() : wbem::Value::integer(code->second);
}

wbem::Value propertyOf(const wbem::TableRow& row, std::string_view name) {
    for (const auto& [key, value] : row.properties)
        if (key == name) return value;
    return {};
}

// The dump as the kernel presents it: entry point and table apart.
void installDump(const SourceTree& tree, const std::string& dump) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(dump.data());
    const auto entry = parseSmbiosEntryPoint({bytes, dump.size()});
    ASSERT_TRUE(entry);
    const std::size_t entryLength = entry->is64Bit ? bytes[0x06] : bytes[0x05];
    ASSERT_LT(entry->tableAddress, dump.size());
    tree.file("/sys/firmware/dmi/tables/smbios_entry_point", dump.substr(0, entryLength));
    tree.file("/sys/firmware/dmi/tables/DMI", dump.substr(entry->tableAddress));
}

struct Machine {
    const char* dump;
    const char* boardMaker;  // read off the dump by hand, so the decoding above cannot hide a fault
    std::int64_t chassis;
    std::size_t modules;
};

const Machine kMachines[] = {
    {"uroot_Asus-UX307LA", "ASUSTeK COMPUTER INC.", 10, 2},
    {"uroot_GigaByte-X399", "Gigabyte Technology Co., Ltd.", 3, 8},
    {"uroot_Gigabyte-GA-MA74GMT-S2", "Gigabyte Technology Co., Ltd.", 3, 2},
    {"uroot_Lenovo-ThinkPad-T480", "LENOVO", 10, 2},
    {"uroot_Lenovo-ThinkPad-W510", "LENOVO", 10, 2},
    {"uroot_MSI-MS-7816", "MSI", 3, 4},
    {"uroot_SuperMicro-X9DBL", "Supermicro", 17, 6},
    {"uroot_Synology-RS3614xsp", "Synology", 23, 4},
    {"uroot_VMWare", "Intel Corporation", 1, 1},
};

}  // namespace

TEST(SmbiosFixtures, FirmwareClassesMatchDmidecode) {
    const auto fixtures = sharedFixtures();
    if (fixtures.empty()) GTEST_SKIP() << "shared fixtures are absent";
    for (const Machine& m : kMachines) {
        SCOPED_TRACE(m.dump);
        const std::string dump = readAll(fixtures / "smbios" / (std::string(m.dump) + ".bin"));
        auto expected = parseDmidecode(readAll(fixtures / "smbios" / (std::string(m.dump) + ".dmidecode.txt")));
        ASSERT_FALSE(dump.empty());
        SourceTree tree;
        installDump(tree, dump);
        auto rows = [&](std::string_view cls) { return *readLinuxClass(tree.root(), nullptr, cls); };

        const auto boards = rows("Win32_BaseBoard");
        ASSERT_EQ(boards.size(), expected[2].size());
        ASSERT_FALSE(boards.empty());
        EXPECT_EQ(propertyOf(boards[0], "Manufacturer"), wbem::Value::text(m.boardMaker));
        for (std::size_t i = 0; i < boards.size(); ++i) {
            EXPECT_EQ(propertyOf(boards[i], "Manufacturer"), textOf(expected[2][i], "Manufacturer"));
            EXPECT_EQ(propertyOf(boards[i], "Product"), textOf(expected[2][i], "Product Name"));
        }
        EXPECT_EQ(rows("Win32_MotherboardDevice").size(), 1u);

        const auto bios = rows("Win32_Bios");
        ASSERT_EQ(bios.size(), expected[0].size());
        for (std::size_t i = 0; i < bios.size(); ++i) {
            EXPECT_EQ(propertyOf(bios[i], "Name"), textOf(expected[0][i], "Version"));
            EXPECT_EQ(propertyOf(bios[i], "Manufacturer"), textOf(expected[0][i], "Vendor"));
        }

        std::vector<DmiRecord> installed;
        for (const auto& r : expected[17])
            if (r.at("Size") != "No Module Installed") installed.push_back(r);
        const auto memory = rows("Win32_PhysicalMemory");
        ASSERT_EQ(memory.size(), installed.size());
        EXPECT_EQ(memory.size(), m.modules);
        for (std::size_t i = 0; i < memory.size(); ++i) {
            EXPECT_EQ(propertyOf(memory[i], "FormFactor"), codeOf(installed[i], "Form Factor", kFormFactors));
            EXPECT_EQ(propertyOf(memory[i], "DeviceLocator"), textOf(installed[i], "Locator"));
        }

        const auto slots = rows("Win32_SystemSlot");
        ASSERT_EQ(slots.size(), expected[9].size());
        for (std::size_t i = 0; i < slots.size(); ++i) {
            EXPECT_EQ(propertyOf(slots[i], "SlotDesignation"), textOf(expected[9][i], "Designation"));
            EXPECT_EQ(propertyOf(slots[i], "CurrentUsage"), codeOf(expected[9][i], "Current Usage", kUsages));
        }

        const auto ports = rows("Win32_PortConnector");
        ASSERT_EQ(ports.size(), expected[8].size());
        for (std::size_t i = 0; i < ports.size(); ++i) {
            const DmiRecord& r = expected[8][i];
            EXPECT_EQ(propertyOf(ports[i], "InternalReferenceDesignator"), textOf(r, "Internal Reference Designator"));
            EXPECT_EQ(propertyOf(ports[i], "ExternalReferenceDesignator"), textOf(r, "External Reference Designator"));
            EXPECT_EQ(propertyOf(ports[i], "PortType"), codeOf(r, "Port Type", kPortTypes));
        }

        const auto enclosures = rows("Win32_SystemEnclosure");
        ASSERT_EQ(enclosures.size(), expected[3].size());
        ASSERT_FALSE(enclosures.empty());
        EXPECT_EQ(propertyOf(enclosures[0], "ChassisTypes"), wbem::Value::array({wbem::Value::integer(m.chassis)}));
        for (std::size_t i = 0; i < enclosures.size(); ++i) {
            const DmiRecord& r = expected[3][i];
            EXPECT_EQ(propertyOf(enclosures[i], "ChassisTypes"),
                      wbem::Value::array({codeOf(r, "Type", kChassisTypes)}));
            EXPECT_EQ(propertyOf(enclosures[i], "LockPresent"), wbem::Value::boolean(r.at("Lock") == "Present"));
        }
    }
}

TEST(SmbiosFixtures, VersionsAndEntryPointsOfEveryDump) {
    const auto fixtures = sharedFixtures();
    if (fixtures.empty()) GTEST_SKIP() << "shared fixtures are absent";
    const struct {
        const char* dump;
        bool is64Bit;
        int major, minor;
        std::size_t structures;
    } cases[] = {
        {"uroot_Asus-UX307LA.bin", false, 2, 8, 27},
        {"uroot_VMWare.bin", false, 2, 7, 620},
        {"uroot_pkg_satellite_pro_l70_testdata.bin", false, 2, 7, 0},
        {"uroot_pkg_smbios_table.bin", true, 3, 1, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dump);
        const std::string dump = readAll(fixtures / "smbios" / c.dump);
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(dump.data());
        const auto entry = parseSmbiosEntryPoint({bytes, dump.size()});
        ASSERT_TRUE(entry);
        EXPECT_EQ(entry->is64Bit, c.is64Bit);
        EXPECT_EQ(entry->major, c.major);
        EXPECT_EQ(entry->minor, c.minor);
        const auto table = parseSmbiosTable(*entry, std::span(bytes, dump.size()).subspan(entry->tableAddress));
        if (c.structures) {
            EXPECT_EQ(table.structures.size(), c.structures);
        }
        ASSERT_FALSE(table.structures.empty());
        EXPECT_EQ(table.structures.back().type(), 127) << "the walk stops at the end-of-table structure";
    }
}
