#include <gtest/gtest.h>

#include "collect/collectors.h"
#include "collect/connection.h"
#include "support/collect_fixture.h"

using namespace vantrel;
using vantrel::test::NodeFixture;

namespace {

// The section one collector writes for a computer whose namespace holds `classes`.
std::string section(const std::string& keyword, const std::string& classes) {
    NodeFixture f(std::filesystem::temp_directory_path());
    f.session.provider = test::profileProvider(R"({ "namespaces": { "root\\cimv2": {)" + classes + "} } }");
    runCollector(f.state, f.session, *findCategory(keyword));
    return f.session.ReportText;
}

std::string lines(std::initializer_list<const char*> l) {
    std::string out;
    for (const char* s : l) out += std::string(s) + "\r\n";
    return out;
}

}  // namespace

TEST(Collectors, EachRuleTakesAndWritesTheRowsItShould) {
    struct Case {
        const char* name;
        const char* keyword;
        const char* classes;
        std::string expected;
    };
    const Case cases[] = {
        {"no tape drive", "Tape", R"("Win32_TapeDrive": [])", lines({"Tape", "0"})},
        {"unknown class", "Tape", R"("Win32_Other": [])", lines({"Tape", "0"})},
        {"two serial ports", "Serial",
         R"("Win32_SerialPort": [ { "Name": "COM1", "Status": "OK" }, { "Name": "COM2", "Status": "Error" } ])",
         lines({"Serial", "2", "COM1", "OK", "COM2", "Error"})},
        {"absent values still write their lines", "Serial",
         R"("Win32_SerialPort": [ { "Name": null }, { "Status": [ "a" ] } ])", lines({"Serial", "2", "", "", "", ""})},
        {"padded text as delivered, integers in decimal", "PCI",
         R"("Win32_SystemSlot": [ { "SlotDesignation": " PCI1 ", "CurrentUsage": -3 } ])",
         lines({"PCI", "1", " PCI1 ", "-3"})},
        {"memory form factor 0 is left out", "Memory",
         R"("Win32_PhysicalMemory": [ { "FormFactor": 0 }, { "FormFactor": 8 }, { "FormFactor": "0" } ])",
         lines({"Memory", "1", "8"})},
        {"disk drives: the internal ones, IDE, SATA and SCSI (NVMe, SAS, virtual); no USB", "Disk Drive",
         R"("Win32_DiskDrive": [ { "InterfaceType": "IDE", "Model": "A" }, { "InterfaceType": "SCSI", "Model": "B" },
             { "InterfaceType": "sata", "Model": "C" }, { "InterfaceType": "SATA", "Model": "D" },
             { "InterfaceType": "USB", "Model": "Multi Flash Reader" } ])",
         lines({"Disk Drive", "3", "IDE", "A", "SCSI", "B", "SATA", "D"})},
        {"memory cards: USB disks with their kind", "Memory cards",
         R"("Win32_DiskDrive": [ { "InterfaceType": "IDE", "Model": "A" },
             { "InterfaceType": "usb", "Model": "Multi Flash Reader" },
             { "InterfaceType": "USB", "Model": "SD Card" } ])",
         lines({"Memory cards", "2", "FLASH", "MULTI FLASH READER", "USB", "SD CARD"})},
        {"cpu: one package lists the processors", "CPU",
         R"("Win32_ComputerSystem": [ { "NumberOfProcessors": 1 } ],
             "Win32_Processor": [ { "Name": "P0", "Manufacturer": "M" }, { "Name": "P1" } ])",
         lines({"CPU", "2", "P0", "P1"})},
        {"cpu: two packages list nothing", "CPU",
         R"("Win32_ComputerSystem": [ { "NumberOfProcessors": 2 } ], "Win32_Processor": [ { "Name": "P0" } ])",
         lines({"CPU", "0"})},
        {"cpu: two computer rows list nothing", "CPU",
         R"("Win32_ComputerSystem": [ { "NumberOfProcessors": 1 }, { "NumberOfProcessors": 1 } ],
             "Win32_Processor": [ { "Name": "P0" } ])",
         lines({"CPU", "0"})},
        {"ethernet: every physical wired adapter once, whatever its maker", "Ethernet",
         R"("Win32_NetworkAdapter": [
             { "AdapterType": "Ethernet 802.3", "Name": "Intel(R) PRO/1000 MT", "Manufacturer": "Intel" },
             { "AdapterType": "Ethernet 802.3", "Name": "Intel(R) PRO/1000 MT", "Manufacturer": "Microsoft" },
             { "AdapterType": "Ethernet 802.3", "Name": "Other NIC", "Manufacturer": "Other" },
             { "AdapterType": "Token Ring", "Name": "Intel Token", "Manufacturer": "Intel" },
             { "AdapterType": "Ethernet 802.3", "Name": "AMD PCNET", "Manufacturer": "Microsoft" },
             { "AdapterType": "Ethernet 802.3", "Name": "Intel AMD Combo", "Manufacturer": "X" },
             { "AdapterType": "Ethernet 802.3", "Name": "Realtek PCIe GbE Family Controller", "Manufacturer": "Realtek" },
             { "AdapterType": "Ethernet 802.3", "Name": "Hyper-V Virtual Ethernet Adapter", "Manufacturer": "X" },
             { "AdapterType": "Ethernet 802.3", "Name": "TAP-Windows Adapter V9", "Manufacturer": "TAP-Windows" },
             { "AdapterType": "Ethernet 802.3", "Name": "Example VPN Client", "Manufacturer": "Example" },
             { "AdapterType": "Ethernet 802.3", "Name": "Intel(R) Wi-Fi 6 AX201 160MHz", "Manufacturer": "Intel" },
             { "AdapterType": "Ethernet 802.3", "Name": "Killer Wireless-AC 1550", "Manufacturer": "Rivet" },
             { "AdapterType": "Ethernet 802.3", "Name": "Realtek USB GbE Family Controller", "Manufacturer": "Realtek" },
             { "AdapterType": "Ethernet 802.3", "Name": "Example 25GbE Virtual Function", "Manufacturer": "Example" } ])",
         lines({"Ethernet", "6", "Intel(R) PRO/1000 MT", "Other NIC", "Intel AMD Combo",
                "Realtek PCIe GbE Family Controller", "Realtek USB GbE Family Controller",
                "Example 25GbE Virtual Function"})},
        {"enclosure: chassis line and lock", "Enclosure",
         R"("Win32_SystemEnclosure": [ { "ChassisTypes": [ 3 ], "LockPresent": true },
             { "ChassisTypes": [ 9 ], "LockPresent": false }, { } ])",
         lines({"Enclosure", "3", "Chassis: Desktop", "True", "Chassis: Laptop", "False", "Chassis: Unknown", ""})},
        {"wireless: lower-cased, only wireless ones, by every name they go by", "Wireless",
         R"("Win32_NetworkAdapterConfiguration": [ { "Description": "Intel(R) Wireless WiFi Link" },
             { "Description": "Intel(R) PRO/1000 MT" }, { "Description": "WIRELESS" },
             { "Description": "Intel(R) Wi-Fi 6 AX201 160MHz" }, { "Description": "Realtek 8821CE 802.11ac PCIe Adapter" },
             { "Description": "Example WLAN Stick" }, { "Description": "Microsoft Kernel Debug Network Adapter" } ])",
         lines({"Wireless", "5", "intel(r) wireless wifi link", "wireless", "intel(r) wi-fi 6 ax201 160mhz",
                "realtek 8821ce 802.11ac pcie adapter", "example wlan stick"})},
        {"wireless: accented capitals of the Western code page are lower-cased too", "Wireless",
         R"("Win32_NetworkAdapterConfiguration": [ { "Description": "ÉTÉ WIRELESS ÀÞ ŠŒŽŸ × ß Ω" } ])",
         lines({"Wireless", "1", "été wireless àþ šœžÿ × ß Ω"})},
        {"memory cards: accented small letters are upper-cased too", "Memory cards",
         R"("Win32_DiskDrive": [ { "InterfaceType": "usb", "Model": "lecteur sd éàþÿ šœž ÷ ß µ" } ])",
         lines({"Memory cards", "1", "SD", "LECTEUR SD ÉÀÞŸ ŠŒŽ ÷ ß µ"})},
        {"line breaks inside a value cannot split it", "Baseboard",
         R"("Win32_BaseBoard": [ { "Manufacturer": "Evil\r\nBattery\r\n0\nX\rY" } ])",
         lines({"Baseboard", "1", "Evil  Battery  0 X Y"})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(section(c.keyword, c.classes), c.expected);
    }
}

TEST(Collectors, MemoryCardKind) {
    const std::pair<const char*, const char*> cases[] = {
        {"GENERIC USB SD READER", "SD"}, {"USB2.0 FLASH DISK", "FLASH"}, {"SD CARD", "USB"},
        {"CF MS SD MMC SM", "SM"},       {"MULTI FLASH READER", "FLASH"}, {"MS", "USB"},
        {"XMSX", "MS"},                  {"", "USB"},                     {"SD SD", "USB"},
    };
    for (const auto& [model, kind] : cases) EXPECT_EQ(memoryCardKind(model), kind) << model;
}

TEST(Collectors, OnlyPortableChassisCodesReadAsLaptops) {
    auto laptopAfterFirst = [](std::string text) {
        for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        const auto at = text.find("laptop");
        return at != std::string::npos && at > 0;
    };
    for (int code = -1; code <= 40; ++code) {
        const bool portable = code == 8 || code == 9 || code == 10 || code == 14;
        const std::string line = chassisLine(wbem::Value::array({wbem::Value::integer(code)}));
        EXPECT_EQ(laptopAfterFirst(line), portable) << code << ": " << line;
        // A portable code anywhere in the list makes the computer portable.
        const std::string mixed =
            chassisLine(wbem::Value::array({wbem::Value::integer(3), wbem::Value::integer(code)}));
        EXPECT_EQ(laptopAfterFirst(mixed), portable) << mixed;
    }
    for (const auto& v : {wbem::Value(), wbem::Value::integer(10), wbem::Value::text("laptop"),
                          wbem::Value::array({wbem::Value::text("laptop")}), wbem::Value::array({})})
        EXPECT_FALSE(laptopAfterFirst(chassisLine(v))) << chassisLine(v);
}

TEST(Collectors, StatusPhraseNamesTheNodeTag) {
    NodeFixture f(std::filesystem::temp_directory_path(), "10.0.0.7", "admin");
    f.session.provider = test::profileProvider(R"({ "namespaces": { "root\\cimv2": {} } })");
    f.state.domain.currentLogin = CurrentLogin{};
    runCollector(f.state, f.session, *findCategory("Battery"));
    ASSERT_EQ(f.statuses.size(), 1u);
    EXPECT_EQ(f.statuses[0], "Collecting battery (UPS) information for admin10.0.0.7");
    EXPECT_EQ(f.state.windows.scanDialog.statusText, f.statuses[0]);
}

TEST(Collectors, ASectionStopsAtTheLargestCountItsReadersAccept) {
    wbem::ProfileClass tapes{"Win32_TapeDrive", {}};
    tapes.rows.assign(32768, wbem::ProfileRow{{{"Name", wbem::Value::text("T")}}});
    auto profile = std::make_shared<wbem::Profile>();
    profile->namespaces.push_back({"root\\cimv2", {std::move(tapes)}});
    NodeFixture f(std::filesystem::temp_directory_path());
    f.session.provider = std::make_shared<wbem::ProfileProvider>(profile);
    runCollector(f.state, f.session, *findCategory("Tape"));
    std::string expected = "Tape\r\n32767\r\n";
    for (int i = 0; i < 32767; ++i) expected += "T\r\n";
    EXPECT_EQ(f.session.ReportText, expected);
}
