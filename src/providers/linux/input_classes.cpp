// Keyboards and pointing devices from /sys/class/input, told apart by udev's
// classification when its record is there and otherwise by the same
// capability tests udev makes; infrared receivers from /sys/class/rc.
// Virtual devices (made by programs, not hardware) are left out.

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "providers/linux/class_families.h"
#include "providers/linux/property_mapping.h"

namespace vantrel::linuxhost {

namespace {

using C = Conversion;

constexpr PropertyMapping kMappings[] = {
    {"Win32_Keyboard", "Description", "description", C::Text},
    {"Win32_Keyboard", "Name", "sysfs name", C::Text},

    {"Win32_PointingDevice", "HardwareType", "description", C::Text},
    {"Win32_PointingDevice", "Description", "description", C::Text},
    {"Win32_PointingDevice", "Name", "sysfs name", C::Text},

    {"Win32_InfraredDevice", "Name", "sysfs name", C::Text},
    {"Win32_InfraredDevice", "Name", "driver", C::Text},
    {"Win32_InfraredDevice", "Name", "device", C::Text},
};

constexpr unsigned kBusI8042 = 0x11;
constexpr unsigned kEvKey = 1, kEvRel = 2, kEvAbs = 3;
constexpr unsigned kRelX = 0, kRelY = 1, kAbsX = 0, kAbsY = 1;
constexpr unsigned kBtnMouse = 0x110, kBtnToolFinger = 0x145, kBtnToolPen = 0x140;

// A capability bitmap as the kernel prints it: hexadecimal words of 64 bits,
// the highest first.
class Bitmap {
public:
    explicit Bitmap(std::string_view text) {
        std::vector<std::uint64_t> words;
        std::size_t i = 0;
        while (i < text.size()) {
            while (i < text.size() && text[i] == ' ') ++i;
            std::size_t end = i;
            while (end < text.size() && text[end] != ' ') ++end;
            if (end == i) break;
            std::uint64_t w = 0;
            for (std::size_t k = i; k < end && k < i + 16; ++k) {
                const char c = text[k];
                const int v = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10
                              : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
                if (v < 0) break;
                w = (w << 4) | static_cast<std::uint64_t>(v);
            }
            words.push_back(w);
            i = end;
        }
        words_.assign(words.rbegin(), words.rend());
    }
    bool test(unsigned bit) const {
        const std::size_t word = bit / 64;
        return word < words_.size() && ((words_[word] >> (bit % 64)) & 1u) != 0;
    }

private:
    std::vector<std::uint64_t> words_;
};

enum class InputKind { Keyboard, Mouse, Touchpad, Other };

InputKind classify(const SourceRoot& root, const std::string& input) {
    const std::string udevId = "+input:" + input;
    if (udevProperty(root, udevId, "ID_INPUT_KEYBOARD") == "1") return InputKind::Keyboard;
    if (udevProperty(root, udevId, "ID_INPUT_TOUCHPAD") == "1") return InputKind::Touchpad;
    if (udevProperty(root, udevId, "ID_INPUT_MOUSE") == "1") return InputKind::Mouse;
    if (udevProperty(root, udevId, "ID_INPUT")) return InputKind::Other;  // udev had its say
    const std::string caps = "/sys/class/input/" + input + "/capabilities/";
    const Bitmap ev(root.readValue(caps + "ev").value_or(""));
    const Bitmap key(root.readValue(caps + "key").value_or(""));
    // A keyboard has all of Esc, the digits and the first letter row.
    bool allFirstKeys = ev.test(kEvKey);
    for (unsigned k = 1; k < 32 && allFirstKeys; ++k) allFirstKeys = key.test(k);
    if (allFirstKeys) return InputKind::Keyboard;
    if (ev.test(kEvRel)) {
        const Bitmap rel(root.readValue(caps + "rel").value_or(""));
        if (rel.test(kRelX) && rel.test(kRelY) && key.test(kBtnMouse)) return InputKind::Mouse;
    }
    if (ev.test(kEvAbs)) {
        const Bitmap abs(root.readValue(caps + "abs").value_or(""));
        if (abs.test(kAbsX) && abs.test(kAbsY) && key.test(kBtnToolFinger) && !key.test(kBtnToolPen))
            return InputKind::Touchpad;
    }
    return InputKind::Other;
}

std::string description(InputKind kind, bool ps2) {
    switch (kind) {
        case InputKind::Keyboard: return ps2 ? "Standard PS/2 Keyboard" : "HID Keyboard Device";
        case InputKind::Mouse: return ps2 ? "PS/2 Compatible Mouse" : "HID-compliant mouse";
        case InputKind::Touchpad: return ps2 ? "PS/2 Compatible Mouse" : "HID-compliant touch pad";
        case InputKind::Other: break;
    }
    return {};
}

std::vector<SourceRecord> inputDevices(const SourceRoot& root, bool keyboards) {
    std::vector<SourceRecord> records;
    for (const std::string& input : root.list("/sys/class/input")) {
        if (input.rfind("input", 0) != 0) continue;  // event and mouse nodes belong to an input
        const auto path = root.resolve("/sys/class/input/" + input);
        if (!path || path->find("/virtual/") != std::string::npos) continue;
        const InputKind kind = classify(root, input);
        if (kind == InputKind::Other || (kind == InputKind::Keyboard) != keyboards) continue;
        unsigned bus = 0;
        if (auto text = root.readValue(*path + "/id/bustype")) bus = static_cast<unsigned>(std::strtoul(text->c_str(), nullptr, 16));
        SourceRecord record;
        record.set("description", description(kind, bus == kBusI8042));
        if (auto name = root.readValue(*path + "/name")) record.set("sysfs name", *name);
        records.push_back(std::move(record));
    }
    return records;
}

std::vector<SourceRecord> infraredReceivers(const SourceRoot& root) {
    std::vector<SourceRecord> records;
    for (const std::string& rc : root.list("/sys/class/rc")) {
        const auto path = root.resolve("/sys/class/rc/" + rc);
        if (!path || path->find("/virtual/") != std::string::npos) continue;
        SourceRecord record;
        record.set("device", rc);
        for (const std::string& child : root.list(*path))
            if (child.rfind("input", 0) == 0)
                if (auto name = root.readValue(*path + "/" + child + "/name")) {
                    record.set("sysfs name", *name);
                    break;
                }
        if (auto uevent = root.readFile(*path + "/uevent")) {
            const auto at = uevent->find("DRV_NAME=");
            if (at != std::string::npos) {
                const std::string driver = trimmed(uevent->substr(at + 9, uevent->find('\n', at) - at - 9));
                if (!driver.empty() && isCleanText(driver)) record.set("driver", driver);
            }
        }
        records.push_back(std::move(record));
    }
    return records;
}

}  // namespace

wbem::Table readInputClass(const MachineSources& sources, std::string_view className) {
    if (className == "Win32_Keyboard") return mapRecords(kMappings, className, inputDevices(sources.root, true));
    if (className == "Win32_PointingDevice") return mapRecords(kMappings, className, inputDevices(sources.root, false));
    if (className == "Win32_InfraredDevice") return mapRecords(kMappings, className, infraredReceivers(sources.root));
    return {};
}

}  // namespace vantrel::linuxhost
