#include "collect/collectors.h"

#include <array>
#include <cstdint>
#include <limits>

#include "collect/connection.h"
#include "collect/text_case.h"
#include "core/command.h"
#include "core/text_file.h"

namespace vantrel {

namespace {

std::string upper(std::string s) { return upperCase(std::move(s)); }
std::string lower(std::string s) { return lowerCase(std::move(s)); }

bool contains(std::string_view text, std::string_view part) { return text.find(part) != std::string_view::npos; }

bool containsAnyOf(std::string_view text, std::initializer_list<std::string_view> parts) {
    for (auto part : parts)
        if (contains(text, part)) return true;
    return false;
}

}  // namespace

bool isWirelessAdapter(std::string_view name) {
    const std::string lowered = lower(std::string(name));
    return containsAnyOf(lowered, {"wireless", "wi-fi", "wifi", "wlan", "802.11"});
}

bool isVirtualAdapter(std::string_view name, std::string_view maker) {
    if (maker == "Microsoft") return true;  // the operating system's own adapters
    std::string lowered = lower(std::string(name));
    // A card's SR-IOV "Virtual Function" is a piece of real hardware.
    for (auto at = lowered.find("virtual function"); at != std::string::npos; at = lowered.find("virtual function"))
        lowered.replace(at, 7, "-------");
    // "TAP" and "VPN" as written: in lower case they hide inside ordinary words.
    return containsAnyOf(lowered, {"virtual", "hyper-v", "loopback", "pseudo"}) || containsAnyOf(name, {"TAP", "VPN"});
}

namespace {

// The entries of one section. The count is 16-bit in the file's readers, so
// the section stops taking rows at 32767 instead of writing a count that
// cannot be read back.
class Section {
public:
    explicit Section(std::string& lines) : lines_(lines) {}

    bool full() const { return count_ == std::numeric_limits<std::int16_t>::max(); }
    int count() const { return count_; }

    // Takes one entry; false when the section is full.
    bool take(std::initializer_list<std::string_view> entryLines) {
        if (full()) return false;
        ++count_;
        for (auto line : entryLines) appendFileLine(lines_, line);
        return true;
    }

private:
    std::string& lines_;
    int count_ = 0;
};

// Turns one row into entries by the category's rule; false ends the enumeration.
bool takeRow(const HardwareCategory& category, const wbem::Row& row, Section& section) {
    switch (category.rule) {
        case CollectorRule::DiskDrive: {
            const std::string type = readText(row, "InterfaceType");
            const std::string model = readText(row, "Model");
            // NVMe, SAS and virtual disks report "SCSI"; USB and 1394 disks are not internal.
            if (type == "IDE" || type == "SATA" || type == "SCSI") return section.take({type, model});
            return true;
        }
        case CollectorRule::Memory: {
            const std::string formFactor = readText(row, "FormFactor");
            if (formFactor == "0") return true;
            return section.take({formFactor});
        }
        case CollectorRule::MemoryCards: {
            const std::string type = upper(readText(row, "InterfaceType"));
            const std::string model = upper(readText(row, "Model"));
            if (type != "USB") return true;
            return section.take({memoryCardKind(model), model});
        }
        case CollectorRule::Ethernet: {
            const std::string type = readText(row, "AdapterType");
            const std::string name = readText(row, "Name");
            const std::string maker = readText(row, "Manufacturer");
            // Every physical wired adapter once, whatever its maker.
            if (!contains(type, "Ethernet") || isVirtualAdapter(name, maker) || isWirelessAdapter(name)) return true;
            return section.take({name});
        }
        case CollectorRule::Enclosure: {
            wbem::Value chassis;  // unreadable: the chassis line says so
            attempt([&] { chassis = row.property("ChassisTypes"); });
            return section.take({chassisLine(chassis), readText(row, "LockPresent")});
        }
        case CollectorRule::Wireless: {
            const std::string description = lower(readText(row, "Description"));
            if (!isWirelessAdapter(description)) return true;
            return section.take({description});
        }
        case CollectorRule::Plain:
        case CollectorRule::Motherboard:
        case CollectorRule::Cpu:
            break;
    }
    std::array<std::string, 3> lines;
    for (int i = 0; i < category.linesPerEntry; ++i)
        lines[static_cast<std::size_t>(i)] = readText(row, category.lines[static_cast<std::size_t>(i)]);
    switch (category.linesPerEntry) {
        case 1: return section.take({lines[0]});
        case 2: return section.take({lines[0], lines[1]});
        default: return section.take({lines[0], lines[1], lines[2]});
    }
}

// "CPU": processor names are listed only for a computer that reports exactly
// one processor package.
void collectCpu(ProgramState& state, HardwareSession& session, const HardwareCategory& category, Section& section) {
    int rows = 0;
    std::string processors;
    {
        WmiQuery query(state, session);
        query.exec(category.query);
        query.forEachRow([&](const wbem::Row& row) {
            if (rows == 0) processors = readText(row, "NumberOfProcessors");
            ++rows;
            return true;
        });
    }
    if (rows != 1 || processors != "1") return;
    WmiQuery query(state, session);
    query.exec(category.secondQuery);
    query.forEachRow([&](const wbem::Row& row) { return section.take({readText(row, "Name")}); });
}

constexpr std::array<std::string_view, 37> kChassisNames{
    "Unknown",  // 0 is no code; shown like an unknown one
    "Other", "Unknown", "Desktop", "Low Profile Desktop", "Pizza Box", "Mini Tower", "Tower",
    "Portable (laptop)", "Laptop", "Notebook (laptop)", "Hand Held", "Docking Station", "All in One",
    "Sub Notebook (laptop)", "Space-Saving", "Lunch Box", "Main System Chassis", "Expansion Chassis",
    "SubChassis", "Bus Expansion Chassis", "Peripheral Chassis", "Storage Chassis", "Rack Mount Chassis",
    "Sealed-Case PC", "Multi-system Chassis", "Compact PCI", "Advanced TCA", "Blade", "Blade Enclosure",
    "Tablet", "Convertible", "Detachable", "IoT Gateway", "Embedded PC", "Mini PC", "Stick PC",
};

}  // namespace

std::string chassisLine(const wbem::Value& chassisTypes) {
    std::string line = "Chassis:";
    if (chassisTypes.kind() != wbem::Value::Kind::Array || chassisTypes.elements().empty())
        return line + " Unknown";
    bool first = true;
    for (const auto& code : chassisTypes.elements()) {
        line += first ? " " : ", ";
        first = false;
        if (code.kind() == wbem::Value::Kind::Integer && code.asInteger() >= 0 &&
            code.asInteger() < static_cast<std::int64_t>(kChassisNames.size())) {
            line += kChassisNames[static_cast<std::size_t>(code.asInteger())];
        } else if (code.kind() == wbem::Value::Kind::Integer) {
            line += "Type " + std::to_string(code.asInteger());  // a code we have no name for
        } else {
            line += "Type ?";  // not a code at all
        }
    }
    return line;
}

std::string memoryCardKind(std::string_view upperModel) {
    std::string kind = "USB";
    for (std::string_view candidate : {"MS", "FLASH", "SD", "MMC", "SM"}) {
        const auto at = upperModel.find(candidate);
        if (at != std::string_view::npos && at > 0) kind = candidate;
    }
    return kind;
}

bool endsTheRun(wbem::ErrorCode code) {
    // A namespace the node lacks fails every class alike.
    return code == wbem::ErrorCode::AccessDenied || code == wbem::ErrorCode::ConnectionFailed ||
           code == wbem::ErrorCode::InvalidNamespace;
}

void runCollector(ProgramState& state, HardwareSession& session, const HardwareCategory& category) {
    Section section(session.SectionLines);
    session.listener->statusChanged(std::string(category.statusPhrase) + currentNodeTag(state));
    try {
        if (category.rule == CollectorRule::Cpu) {
            collectCpu(state, session, category, section);
        } else {
            WmiQuery query(state, session);
            if (category.rule == CollectorRule::Motherboard) {
                query.execIgnoringErrors(category.query);
            } else {
                query.exec(category.query);
            }
            query.forEachRow([&](const wbem::Row& row) { return takeRow(category, row, section); });
        }
    } catch (const WmiError& e) {
        // A node that cannot be reached or refuses the login ends the run;
        // a fault of this class leaves its section with what was taken.
        if (endsTheRun(e.code())) throw;
    }
    appendFileLine(session.ReportText, category.keyword);
    appendFileLine(session.ReportText, std::to_string(section.count()));
    session.ReportText += session.SectionLines;
}

}  // namespace vantrel
