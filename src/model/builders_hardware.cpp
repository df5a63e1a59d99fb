// Builders of the boards, processors, memory, drives, video, sensors, fans,
// batteries, case and of the sections that only fill the tree.

#include <algorithm>
#include <array>
#include <map>
#include <string>

#include "collect/text_case.h"
#include "model/builder_support.h"
#include "model/builders.h"

namespace vantrel::model {
namespace {

// A tree-only section: one item for one entry, and for two entries one item
// with the given entry (Sound alone lists both).
struct TreeOnlyRule {
    const char* category;
    const char* firstKey;   // n = 1
    const char* secondKey;  // n = 2
    int secondEntry;        // entry shown by secondKey for n = 2
    bool soundLike;         // n = 2 also repeats firstKey with entry 1
    const char* fixedText;  // shown instead of the entry, when set
    ImageKey image;
};

void treeOnly(BuildTarget& t, NodeReport& r, const TreeOnlyRule& rule) {
    const int n = entryCount(r);
    auto text = [&](int k) { return rule.fixedText ? std::string(rule.fixedText) : slotLine1(r, k); };
    if (n == 0) {
        addNotDetected(t.tree, rule.category);
    } else if (n == 1) {
        addItem(t.tree, rule.category, rule.firstKey, text(1), rule.image);
    } else if (n == 2) {
        if (rule.soundLike) addItem(t.tree, rule.category, rule.firstKey, text(1), rule.image);
        addItem(t.tree, rule.category, rule.secondKey, text(rule.secondEntry), rule.image);
    }
}

// A section of up to three drives filling the bays in order.
void drives(BuildTarget& t, NodeReport& r, const char* category, FrameArray<3>& bays,
            const std::array<const char*, 3>& keys, ImageKey image) {
    const int n = entryCount(r);
    if (n == 0) addNotDetected(t.tree, category);
    for (int k = 1; k <= 3 && k <= n; ++k) {
        bays[k]->Enabled = true;
        addItem(t.tree, category, keys[k - 1], slotLine2(r, k), image);
    }
}

// One or two entries lighting one part (heat pipe, infrared).
void singlePart(BuildTarget& t, NodeReport& r, const char* category, const std::array<const char*, 3>& keys,
                const FramePtr& part, ImageKey image) {
    const int n = entryCount(r);
    if (n == 0) {
        addNotDetected(t.tree, category);
    } else if (n == 1) {
        addItem(t.tree, category, keys[0], slotLine1(r, 1), image);
        part->Enabled = true;
    } else if (n == 2) {
        addItem(t.tree, category, keys[1], slotLine1(r, 1), image);
        addItem(t.tree, category, keys[2], slotLine1(r, 2), image);
        part->Enabled = true;
    }
}

// Up to three described entries, each tested for words that light a part.
struct WordRule {
    const char* word;
    FramePtr part;  // null: a tree item only
    std::array<const char*, 3> keys;
};

void described(BuildTarget& t, NodeReport& r, const char* category, const std::vector<WordRule>& rules,
               ImageKey image) {
    const int n = entryCount(r);
    if (n == 0) addNotDetected(t.tree, category);
    for (int k = 1; k <= 3 && k <= n; ++k) {
        const std::string text = slotLine1(r, k);
        const std::string lowered = lowerCase(text);
        for (const auto& rule : rules) {
            if (!containsAt(lowered, rule.word)) continue;
            if (rule.part) rule.part->Enabled = true;
            addItem(t.tree, category, rule.keys[static_cast<std::size_t>(k - 1)], text, image);
        }
    }
}

}  // namespace

void build_baseboard(BuildTarget& t, NodeReport& r) {
    treeOnly(t, r, {"4 node", "4b node", "4c node", 1, false, nullptr, ImageKey::Motherboard});
}
void build_pcmcia(BuildTarget& t, NodeReport& r) {
    treeOnly(t, r, {"23 node", "23b node", "23c node", 2, false, nullptr, ImageKey::Pcmcia});
}
void build_floppy(BuildTarget& t, NodeReport& r) {
    treeOnly(t, r, {"29 node", "29b node", "29c node", 2, false, nullptr, ImageKey::Floppy});
}
void build_scsi(BuildTarget& t, NodeReport& r) {
    treeOnly(t, r, {"19 node", "19b node", "19c node", 2, false, nullptr, ImageKey::Scsi});
}
void build_os(BuildTarget& t, NodeReport& r) {
    treeOnly(t, r, {"32 node", "32b node", "32c node", 2, false, nullptr, ImageKey::OperatingSystem});
}
void build_tape(BuildTarget& t, NodeReport& r) {
    treeOnly(t, r, {"24 node", "24b node", "24c node", 2, false, nullptr, ImageKey::Tape});
}
void build_sound(BuildTarget& t, NodeReport& r) {
    treeOnly(t, r, {"14 node", "14b node", "14c node", 2, true, nullptr, ImageKey::Sound});
}
void build_refrigeration(BuildTarget& t, NodeReport& r) {
    treeOnly(t, r, {"25 node", "25b node", "25c node", 1, false, "Refrigeration", ImageKey::Refrigeration});
}

void build_motherboard(BuildTarget&, NodeReport&) {
    // Motherboard devices have no place in the tree and no part of their own.
}

void build_battery(BuildTarget& t, NodeReport& r) {
    const int n = entryCount(r);
    if (n == 0) addNotDetected(t.tree, "12 node", "12e node");
    if (n == 1 || n == 2) {
        addItem(t.tree, "12 node", "12b node", "Battery (UPS)", ImageKey::Ups);
        if (n == 2) addItem(t.tree, "12 node", "12c node", "Battery (UPS)", ImageKey::Ups);
        t.pc.UpsBatteryFrame->Enabled = true;
    }
}

// Comes after Battery in a report: a portable battery replaces the UPS one.
void build_pbattery(BuildTarget& t, NodeReport& r) {
    const int n = entryCount(r);
    if (n == 0) addNotDetected(t.tree, "40 node", "40e node");
    if (n == 1) {
        addItem(t.tree, "40 node", "40b node", "Portable Battery", ImageKey::Ups);
        t.pc.PortableBatteryFrame->Enabled = true;
        t.pc.UpsBatteryFrame->Enabled = false;
    }
}

void build_bios(BuildTarget& t, NodeReport& r) {
    const int n = entryCount(r);
    if (n == 0) addNotDetected(t.tree, "15 node");
    // Manufacturer, a blank, name; with two BIOS entries only the second.
    if (n == 1) addItem(t.tree, "15 node", "15b node", slotLine2(r, 1) + " " + slotLine1(r, 1), ImageKey::Bios);
    if (n == 2) addItem(t.tree, "15 node", "15c node", slotLine2(r, 2) + " " + slotLine1(r, 2), ImageKey::Bios);
}

void build_diskdrive(BuildTarget& t, NodeReport& r) {
    drives(t, r, "8 node", t.pc.HardDiskFrame, {"8b node", "8e node", "8h node"}, ImageKey::HardDisk);
    // The other bays show the first bay's drive again, label and all: the
    // label names the drive only when every drive shown has that name, so
    // that no disk carries another's.
    const int shown = std::min(entryCount(r), 3);
    bool oneName = shown >= 1;
    for (int k = 2; k <= shown; ++k) oneName = oneName && slotLine2(r, k) == slotLine2(r, 1);
    if (oneName) t.pc.nameplates.print(t.pc.HardDiskFrame[1], NameplateKind::Disk, slotLine2(r, 1));
}

void build_cd(BuildTarget& t, NodeReport& r) {
    drives(t, r, "28 node", t.pc.OpticalDriveFrame, {"28b node", "28e node", "28h node"}, ImageKey::Dvd);
}

void build_cpu(BuildTarget& t, NodeReport& r) {
    const int n = entryCount(r);
    if (n == 0) addNotDetected(t.tree, "5 node");
    if (n < 1) return;
    const std::string name = slotLine1(r, 1);
    if (!containsAt(lowerCase(name), "amd")) {
        t.pc.IntelCpuFrame->Enabled = true;
        t.pc.AmdCpuFrame->Enabled = false;
        t.pc.nameplates.print(t.pc.IntelCpuFrame, NameplateKind::Processor, name);
        t.pc.NorthBridgeFrame->Enabled = true;
        addItem(t.tree, "5 node", "5b node", name, ImageKey::Processor);
    } else {
        // The north bridge stays as it was.
        t.pc.IntelCpuFrame->Enabled = false;
        t.pc.AmdCpuFrame->Enabled = true;
        t.pc.nameplates.print(t.pc.AmdCpuFrame, NameplateKind::Processor, name);
        addItem(t.tree, "5 node", "5c node", name, ImageKey::Processor);
    }
}

void build_fan(BuildTarget& t, NodeReport& r) {
    t.pc.FansReported = false;
    const int n = entryCount(r);
    if (n == 0) addNotDetected(t.tree, "16 node");
    if (n < 1 || n > 3) return;
    const std::array<const char*, 3> keys{"16b node", "16c node", "16d node"};
    const std::array<FramePtr, 3> fans{t.pc.CpuFanFrame, t.pc.RearFanFrame, t.pc.FrontFanFrame};
    for (int k = 1; k <= n; ++k) {
        addItem(t.tree, "16 node", keys[static_cast<std::size_t>(k - 1)], slotLine1(r, k), ImageKey::Fan);
        fans[static_cast<std::size_t>(k - 1)]->Enabled = true;
    }
    t.pc.FansReported = true;
}

void build_enclosure(BuildTarget& t, NodeReport& r) {
    const int n = entryCount(r);
    if (n == 0) addNotDetected(t.tree, "37 node");
    if (n != 1) return;
    std::string& chassis = r.ReportTable[0][1];
    chassis = lowerCase(chassis);
    const auto at = chassis.find("laptop");
    if (at == std::string::npos) {
        addItem(t.tree, "37 node", "37c node", chassis, ImageKey::Tower);
        t.pc.Ps2PortsFrame->Enabled = true;
    } else if (at >= 1) {
        addItem(t.tree, "37 node", "37b node", chassis, ImageKey::Computer);
        t.pc.Ps2PortsFrame->Enabled = false;
    }
}

void build_lock(BuildTarget& t, NodeReport& r) {
    const int n = entryCount(r);
    if (n == 0) addNotDetected(t.tree, "38 node");
    if (n != 1) return;
    std::string& present = r.ReportTable[10][1];
    addItem(t.tree, "38 node", "38b node", present, ImageKey::Lock);
    present = lowerCase(present);
    if (present == "true") t.pc.LockFrame->Enabled = true;
}

void build_heatpipe(BuildTarget& t, NodeReport& r) {
    singlePart(t, r, "26 node", {"26b node", "26c node", "26d node"}, t.pc.HeatPipeFrame, ImageKey::HeatPipe);
}

void build_infrared(BuildTarget& t, NodeReport& r) {
    singlePart(t, r, "18 node", {"18b node", "18c node", "18d node"}, t.pc.InfraredFrame, ImageKey::Infrared);
}

void build_video(BuildTarget& t, NodeReport& r) {
    const std::vector<WordRule> rules{{"chip", t.pc.VideoChipFrame, {"9b node", "9e node", "9h node"}},
                                      {"card", t.pc.VideoCardFrame, {"9c node", "9f node", "9i node"}},
                                      {"case", nullptr, {"9d node", "9g node", "9j node"}}};
    described(t, r, "9 node", rules, ImageKey::Video);
    // Today's adapters name none of the words: integrated graphics are the
    // video chip, every other adapter the card.
    bool namedCard = false;
    for (int k = 1; k <= 3 && k <= entryCount(r); ++k) {
        const std::string text = slotLine1(r, k);
        const std::string lowered = lowerCase(text);
        if (lowered.empty() || std::any_of(rules.begin(), rules.end(),
                                           [&](const WordRule& rule) { return containsAt(lowered, rule.word); }))
            continue;
        const WordRule& rule = isIntegratedGraphics(lowered) ? rules[0] : rules[1];
        rule.part->Enabled = true;
        // One card is drawn: it carries the first card's name.
        if (&rule == &rules[1] && !namedCard) t.pc.nameplates.print(t.pc.VideoCardFrame, NameplateKind::Graphics, text);
        namedCard = namedCard || &rule == &rules[1];
        addItem(t.tree, "9 node", rule.keys[static_cast<std::size_t>(k - 1)], text, ImageKey::Video);
    }
}

void build_tempprobe(BuildTarget& t, NodeReport& r) {
    described(t, r, "27 node",
              {{"cpu", t.pc.CpuSensorFrame, {"27b node", "27e node", "27h node"}},
               {"motherboard", t.pc.BoardSensorFrame, {"27c node", "27f node", "27i node"}},
               {"case", t.pc.CaseSensorFrame, {"27d node", "27g node", "27j node"}}},
              ImageKey::Temperature);
}

namespace {

// The form factor codes of the modules that are drawn, as a sticker names them.
std::string moduleName(const std::string& code) {
    static const std::map<std::string, std::string> kNames{{"7", "SIMM"},  {"2", "SIP"},     {"8", "DIMM"},
                                                          {"11", "RIMM"}, {"12", "SODIMM"}, {"13", "SRIMM"}};
    const auto found = kNames.find(code);
    return found == kNames.end() ? std::string("Memory") : found->second;
}

}  // namespace

void build_systemmemory(BuildTarget& t, NodeReport& r) {
    const int n = entryCount(r);
    if (n == 0) addNotDetected(t.tree, "6 node");
    if (n < 1 || n > 4) return;
    // SIMM, SIP, DIMM, RIMM, SODIMM and SRIMM modules are drawn; other form
    // factors are only listed.
    const std::string& form = slotLine1(r, 1);
    bool modules = false;
    for (const char* code : {"7", "2", "8", "11", "12", "13"}) modules = modules || form == code;
    const std::array<const char*, 4> keys{"6c node", "6d node", "6e node", "6f node"};
    for (int k = 1; k <= n; ++k) {
        // "Other" is what a computer says that cannot tell its modules apart
        // (this computer without its SMBIOS table gives all its memory so).
        const bool unknownKind = slotLine1(r, k) == "1";
        addItem(t.tree, "6 node", keys[static_cast<std::size_t>(k - 1)],
                "Memory Bank " + std::to_string(k) + (unknownKind ? " (modules not known)" : ""), ImageKey::Memory);
        if (modules) {
            t.pc.MemoryModuleFrame[k]->Enabled = true;
            t.pc.nameplates.print(t.pc.MemoryModuleFrame[k], NameplateKind::Memory, moduleName(form) + " Bank " + std::to_string(k));
        }
    }
}

void build_pci(BuildTarget& t, NodeReport& r) {
    const int n = entryCount(r);
    if (n == 0) addNotDetected(t.tree, "7 node");
    struct SlotKeys {
        const char *x16, *x8, *x4, *x1, *pci;
    };
    static constexpr std::array<SlotKeys, 7> kKeys{{
        {"7b node", "7c node", "7d node", "7e node", "71e node"},
        {"7f node", "7g node", "7h node", "7i node", "72e node"},
        {"7j node", "7k node", "7l node", "7m node", "73e node"},
        {"7n node", "7o node", "7p node", "7q node", "74e node"},
        {"7r node", "7s node", "7t node", "7u node", "73g node"},
        {"7v node", "7w node", "7x node", "7y node", "73h node"},
        {"7z node", "7sz node", "7tz node", "7uz node", "73k node"},
    }};
    for (int k = 1; k <= 7 && k <= n; ++k) {
        std::string& designation = slotLine1(r, k);
        designation = upperCase(designation);
        const std::string d = designation;
        const SlotKeys& keys = kKeys[static_cast<std::size_t>(k - 1)];
        auto slot = [&](const FramePtr& part, const char* key) {
            part->Enabled = true;
            addItem(t.tree, "7 node", key, d, ImageKey::Slots);
        };
        bool found = false;
        if (containsAt(d, "EXPRESS", 3)) {
            found = true;
            bool wide = false;
            if (containsAt(d, "16", 3)) slot(t.pc.PcieX16SlotFrame[k], keys.x16), wide = true;
            if (containsAt(d, "8", 3)) slot(t.pc.PcieX8SlotFrame[k], keys.x8), wide = true;
            if (containsAt(d, "4", 3)) slot(t.pc.PcieX4SlotFrame[k], keys.x4), wide = true;
            if (!wide) slot(t.pc.PcieX1SlotFrame[k], keys.x1);
        } else if (containsAt(d, "PCI")) {
            found = true;
            slot(t.pc.PciSlotFrame[k], keys.pci);
        }
        // Usage 4: a card sits in the slot.
        if (found && slotLine2(r, k) == "4") t.pc.ExpansionCardFrame[k]->Enabled = true;
    }
}

}  // namespace vantrel::model
