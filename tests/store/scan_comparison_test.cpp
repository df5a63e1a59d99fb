// Matching components across two scans: by serial number where there is a
// real one, otherwise by model and slot; a change of details on the same
// part is "changed", another part is removed plus added. Scans known only by
// their report compare entry by entry.

#include <gtest/gtest.h>

#include "store/placed_changes.h"
#include "store/scan_comparison.h"

using namespace vantrel;

namespace {

using Properties = std::vector<std::pair<std::string, wbem::Value>>;

wbem::Value text(const char* s) { return wbem::Value::text(s); }

Properties module(const char* locator, const char* part, const char* serial, const char* capacity = "8589934592") {
    return {{"FormFactor", wbem::Value::integer(8)}, {"DeviceLocator", text(locator)}, {"BankLabel", text("")},
            {"PartNumber", text(part)},              {"SerialNumber", text(serial)},   {"Capacity", text(capacity)}};
}

ScanContent withAnswers(const std::string& wmiClass, const std::vector<Properties>& rows) {
    ScanContent scan;
    ScanAnswers::Cursor cursor(scan.answers, wmiClass);
    for (const auto& row : rows) cursor.add(row);
    return scan;
}

struct Counts {
    std::size_t added, removed, changed;
    friend bool operator==(const Counts&, const Counts&) = default;
};

Counts countsOf(const ScanChanges& changes) {
    Counts c{0, 0, 0};
    for (const auto& category : changes.categories) {
        c.added += category.added.size();
        c.removed += category.removed.size();
        c.changed += category.changed.size();
    }
    return c;
}

TEST(CompareScans, MatchesMemoryByIdentity) {
    const auto before = {module("DIMM 1", "EXM-8G", "M-1"), module("DIMM 2", "EXM-8G", "M-2")};
    const struct {
        const char* what;
        std::vector<Properties> after;
        Counts expected;
    } cases[] = {
        {"the same modules", before, {0, 0, 0}},
        {"one taken out", {module("DIMM 1", "EXM-8G", "M-1")}, {0, 1, 0}},
        {"one replaced by another of the same model", {module("DIMM 1", "EXM-8G", "M-1"), module("DIMM 2", "EXM-8G", "M-9")}, {1, 1, 0}},
        {"one moved to another slot", {module("DIMM 1", "EXM-8G", "M-1"), module("DIMM 4", "EXM-8G", "M-2")}, {0, 0, 1}},
        {"the order changed", {module("DIMM 2", "EXM-8G", "M-2"), module("DIMM 1", "EXM-8G", "M-1")}, {0, 0, 0}},
        {"a module that is not installed", {module("DIMM 1", "EXM-8G", "M-1"), module("DIMM 2", "EXM-8G", "M-2"),
                                            {{"FormFactor", wbem::Value::integer(0)}}}, {0, 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(countsOf(compareScans(withAnswers("Win32_PhysicalMemory", before),
                                        withAnswers("Win32_PhysicalMemory", c.after))),
                  c.expected);
    }
}

TEST(CompareScans, PlaceholderSerialsFallBackToModelAndSlot) {
    const auto before = withAnswers("Win32_PhysicalMemory", {module("DIMM 1", "EXM-8G", "To be filled by O.E.M.")});
    // Same slot and model, other placeholder: the same module.
    EXPECT_TRUE(compareScans(before, withAnswers("Win32_PhysicalMemory", {module("DIMM 1", "EXM-8G", "00000000")})).empty());
    // Same slot, another model: another module.
    EXPECT_EQ(countsOf(compareScans(before, withAnswers("Win32_PhysicalMemory", {module("DIMM 1", "EXM-16G", "")}))),
              (Counts{1, 1, 0}));
}

TEST(CompareScans, AFirmwareUpdateIsAChangeWithItsDetails) {
    auto bios = [](const char* version) {
        return withAnswers("Win32_BIOS", {{{"Manufacturer", text("Example Firmware")}, {"SMBIOSBIOSVersion", text(version)}}});
    };
    const ScanChanges changes = compareScans(bios("2.4"), bios("2.6"));
    ASSERT_EQ(changes.categories.size(), 1u);
    EXPECT_EQ(changes.categories[0].category, "BIOS");
    ASSERT_EQ(changes.categories[0].changed.size(), 1u);
    EXPECT_EQ(changeSummary(changes), "BIOS: 1 changed");
}

TEST(CompareScans, ReportsAloneCompareEntryByEntry) {
    const std::string before = "Baseboard\r\n1\r\nBoard\r\nSerial\r\n2\r\nCOM1\r\nOK\r\nCOM1\r\nOK\r\nUSB\r\n1\r\nHub";
    const struct {
        const char* what;
        std::string after;
        Counts expected;
    } cases[] = {
        {"the same", before, {0, 0, 0}},
        {"one of two equal entries gone", "Baseboard\r\n1\r\nBoard\r\nSerial\r\n1\r\nCOM1\r\nOK\r\nUSB\r\n1\r\nHub", {0, 1, 0}},
        {"a section missing", "Baseboard\r\n1\r\nBoard\r\nUSB\r\n1\r\nHub", {0, 2, 0}},
        {"a count beyond the lines", "Baseboard\r\n9\r\nBoard", {0, 4, 0}},
        {"a count that is no number", "Baseboard\r\n-1\r\nBoard", {0, 4, 0}},
        {"not a report", std::string("\0\xff\r\n\n", 5), {0, 4, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(countsOf(compareScans({before, {}}, {c.after, {}})), c.expected);
    }
}

TEST(CompareScans, AScanWithoutAnswersComparesByTheReportOnly) {
    ScanContent withIdentity = withAnswers("Win32_PhysicalMemory", {module("DIMM 1", "EXM-8G", "M-1")});
    withIdentity.reportText = "Memory\r\n1\r\n8";
    const ScanContent reportOnly{"Memory\r\n1\r\n8", {}};
    EXPECT_TRUE(compareScans(reportOnly, withIdentity).empty());
}

// Added and changed parts are placed by their entry in the newer scan,
// removed ones by theirs in the older; the order is the modules' own.
TEST(PlaceChanges, EachChangeNamesItsEntry) {
    const auto before = withAnswers("Win32_PhysicalMemory", {module("DIMM 1", "EXM-8G", "M-1"), module("DIMM 2", "EXM-8G", "M-2"),
                                                             module("DIMM 3", "EXM-8G", "M-3")});
    const auto after = withAnswers("Win32_PhysicalMemory", {module("DIMM 1", "EXM-8G", "M-1", "17179869184"),
                                                            module("DIMM 3", "EXM-8G", "M-3"), module("DIMM 4", "EXM-8G", "M-4")});
    const std::vector<PlacedChange> expected{
        {"Memory", ChangeKind::Added, 3, "DIMM 4: 8 GiB EXM-8G (serial M-4)"},
        {"Memory", ChangeKind::Changed, 1, "DIMM 1: 16 GiB EXM-8G (serial M-1)"},
        {"Memory", ChangeKind::Removed, 2, "DIMM 2: 8 GiB EXM-8G (serial M-2)"},
    };
    EXPECT_EQ(placeChanges(before, after), expected);
    // Reports alone: equal entries are told apart by their order.
    EXPECT_EQ(placeChanges({"Memory\r\n3\r\n8\r\n8\r\n8", {}}, {"Memory\r\n2\r\n8\r\n8", {}}),
              (std::vector<PlacedChange>{{"Memory", ChangeKind::Removed, 3, "8"}}));
    EXPECT_TRUE(placeChanges(after, after).empty());
}

TEST(IsRealSerial, PlaceholdersAreNoSerials) {
    for (const char* none : {"", "   ", "0", "0000", "To be filled by O.E.M.", "Default string", "NOT SPECIFIED", "N/A"})
        EXPECT_FALSE(isRealSerial(none)) << none;
    for (const char* real : {"M-0001", "S3Z9NB0K123456", "0x1A2B"}) EXPECT_TRUE(isRealSerial(real)) << real;
}

}  // namespace
