// Builders of the ports and the devices plugged into them. Several entries
// take numbered places on the model (socket 1 to 16, device position 1 to 8,
// card 1 to 8), counted in report order: a counter goes up before it is used,
// and a place past the last frame of its kind shows no part.

#include <array>

#include "collect/text_case.h"
#include "model/builder_support.h"
#include "model/builders.h"

namespace vantrel::model {
namespace {

std::string trimmed(const std::string& s) {
    const auto b = s.find_first_not_of(' ');
    if (b == std::string::npos) return {};
    return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

// Keyboards and pointing devices: USB ones take the next device position,
// PS/2 ones light the PS/2 device.
struct InputRule {
    const char* category;
    std::array<const char*, 3> usbKeys, ps2Keys;
    const char* ps2Text;
    FrameArray<8> VirtualPc::*usbDevice;
    FramePtr VirtualPc::*ps2Device;
    ImageKey image;
};

// The media stack the USB devices of one kind this far apart: the device of
// position c is drawn as high as c - 1 devices under it.
constexpr float kUsbStackStep = 0.3f;

// A device rests on the devices of its kind that are shown under it, or on
// the desk: it comes down past every empty place.
void restOnThoseBelow(FrameArray<8>& devices, int c) {
    int below = 0;
    for (int j = 1; j < c; ++j) below += devices[j]->Enabled ? 1 : 0;
    devices[c]->SetPosition({0, kUsbStackStep * static_cast<float>(below - (c - 1)), 0});
}

void inputDevices(BuildTarget& t, NodeReport& r, const InputRule& rule) {
    const int n = entryCount(r);
    if (n == 0) addNotDetected(t.tree, rule.category);
    if (n < 1 || n > 3) return;
    for (int k = 1; k <= n; ++k) {
        const std::string line = slotLine1(r, k);
        const auto i = static_cast<std::size_t>(k - 1);
        // Most keyboards and mice of today call themselves HID ("HID Keyboard
        // Device", "HID-compliant mouse") or Bluetooth: devices on the USB
        // side, each listed once.
        if (containsAt(line, "USB") || containsAt(line, "HID") || containsAt(line, "Bluetooth")) {
            addItem(t.tree, rule.category, rule.usbKeys[i], line, rule.image);
            const int c = ++t.pc.UsbDeviceCount;
            if (c >= 1 && c <= 8) {
                t.pc.UsbDeviceCommonFrame[c]->Enabled = true;
                (t.pc.*rule.usbDevice)[c]->Enabled = true;
                restOnThoseBelow(t.pc.*rule.usbDevice, c);
            }
        }
        if (containsAt(line, "PS")) {
            addItem(t.tree, rule.category, rule.ps2Keys[i], rule.ps2Text, rule.image);
            (t.pc.*rule.ps2Device)->Enabled = true;
        }
    }
}

}  // namespace

void build_usb(BuildTarget& t, NodeReport& r) {
    const int n = entryCount(r);
    if (n == 0) addNotDetected(t.tree, "34 node");
    // A single hub is named; more are only counted.
    if (n == 1) addItem(t.tree, "34 node", "34b node", slotLine1(r, 1), ImageKey::Usb);
    for (int i = 1; i <= n; ++i) {
        const std::string number = std::to_string(i);
        t.tree.setTag(t.tree.add("34 node", TreeRelationship::Child, "Node34 " + number, "USB " + number,
                                 ImageKey::Usb),
                      number);
        if (i <= 16) t.pc.UsbPortFrame[i]->Enabled = true;
    }
}

void build_keyboard(BuildTarget& t, NodeReport& r) {
    inputDevices(t, r,
                 {"2 node", {"2b node", "2d node", "2f node"}, {"2c node", "2e node", "2g node"}, "PS/2 Keyboard",
                  &VirtualPc::UsbKeyboardFrame, &VirtualPc::Ps2KeyboardFrame, ImageKey::Keyboard});
}

void build_pointing(BuildTarget& t, NodeReport& r) {
    inputDevices(t, r,
                 {"3 node", {"3b node", "3d node", "3f node"}, {"3c node", "3e node", "3g node"}, "PS/2 Mouse",
                  &VirtualPc::UsbMouseFrame, &VirtualPc::Ps2MouseFrame, ImageKey::Mouse});
}

void build_memcard(BuildTarget& t, NodeReport& r) {
    const int n = entryCount(r);
    if (n == 0) addNotDetected(t.tree, "30 node");
    int flash = 0, ms = 0, sm = 0, mmc = 0;
    for (int i = 1; i <= n; ++i) {
        std::string& kind = rowLine(r, i, 1);
        kind = upperCase(trimmed(kind));
        auto show = [](int& count, FrameArray<8>& cards) {
            const int m = ++count;
            if (m >= 1 && m <= 8) cards[m]->Enabled = true;
        };
        // SD and USB card readers are listed without a card.
        if (kind == "FLASH") show(flash, t.pc.FlashCardFrame);
        if (kind == "MS") show(ms, t.pc.MsCardFrame);
        if (kind == "SM") show(sm, t.pc.SmCardFrame);
        if (kind == "MMC") show(mmc, t.pc.MmcCardFrame);
        addItem(t.tree, "30 node", "Node30 " + std::to_string(i), rowLine(r, i, 2), ImageKey::MemoryCard);
    }
}

// The motherboard's connectors: the only source of the IDE, SATA, HDMI and
// audio parts, and of Ethernet sockets and fans the dedicated sections missed.
void build_connectors(BuildTarget& t, NodeReport& r) {
    const int n = entryCount(r);
    int rj45 = 0, ide = 0, fireWire = 0, sata = 0;
    for (int i = 1; i <= n; ++i) {
        const std::string external = lowerCase(rowLine(r, i, 1));
        const std::string internal = lowerCase(rowLine(r, i, 2));
        const std::string type = lowerCase(rowLine(r, i, 3));
        if (containsAt(external, "rj45") && ++rj45 <= 4) t.pc.EthernetPortFrame[rj45]->Enabled = true;
        if (!t.pc.FansReported && containsAt(external, "fan")) {
            if (containsAt(external, "processor")) t.pc.CpuFanFrame->Enabled = true;
            if (containsAt(external, "front")) t.pc.FrontFanFrame->Enabled = true;
            if (containsAt(external, "rear") || containsAt(external, "power")) t.pc.RearFanFrame->Enabled = true;
        }
        if (containsAt(internal, "ide") && ++ide <= 3) t.pc.IdeConnectorFrame[ide]->Enabled = true;
        if (containsAt(internal, "hdmi")) t.pc.HdmiFrame->Enabled = true;
        // The m-th FireWire connector shows the m-th FireWire port.
        if (containsAt(internal, "fire") && ++fireWire <= 4) t.pc.FireWirePortFrame[fireWire]->Enabled = true;
        // SATA connectors 5 and 6 stay for the all-parts view.
        if (containsAt(internal, "sata") && ++sata <= 4) t.pc.SataConnectorFrame[sata]->Enabled = true;
        if (containsAt(type, "29")) {  // an audio port
            if (containsAt(external, "fr")) {
                t.pc.FrontAudioFrame[1]->Enabled = true;
                t.pc.FrontAudioFrame[2]->Enabled = true;
            }
            if (containsAt(external, "rear")) {
                t.pc.RearAudioFrame[1]->Enabled = true;
                t.pc.RearAudioFrame[2]->Enabled = true;
            }
        }
    }
    t.pc.FansReported = false;
}

void build_serial(BuildTarget& t, NodeReport& r) {
    const int n = entryCount(r);
    if (n == 0) addNotDetected(t.tree, "10 node");
    if (n < 1 || n > 4) return;
    auto working = [&](int k) { return slotLine2(r, k) == "OK"; };
    for (int k = 1; k <= n; ++k)
        if (working(k)) t.pc.SerialPortFrame[k]->Enabled = true;
    // One port is listed only when it works; two or more are always listed.
    static constexpr std::array<std::array<const char*, 4>, 4> kKeys{{
        {"10b node"},
        {"10b node", "10c node"},
        {"10d node", "10e node", "10f node"},
        {"10d node", "10e node", "10f node", "10g node"},
    }};
    if (n == 1 && !working(1)) return;
    for (int k = 1; k <= n; ++k)
        addItem(t.tree, "10 node", kKeys[static_cast<std::size_t>(n - 1)][static_cast<std::size_t>(k - 1)],
                slotLine1(r, k), ImageKey::Serial);
}

void build_parallel(BuildTarget& t, NodeReport& r) {
    const int n = entryCount(r);
    if (n == 0) addNotDetected(t.tree, "11 node");
    if (n < 1 || n > 4) return;
    const std::array<const char*, 4> keys{"11b node", "11c node", "11d node", "11e node"};
    for (int k = 1; k <= n; ++k) {
        if (slotLine2(r, k) != "OK") continue;
        t.pc.ParallelPortFrame[k]->Enabled = true;
        addItem(t.tree, "11 node", keys[static_cast<std::size_t>(k - 1)], slotLine1(r, k), ImageKey::Parallel);
    }
}

void build_ethernet(BuildTarget& t, NodeReport& r) {
    const int n = entryCount(r);
    if (n == 0) addNotDetected(t.tree, "20 node");
    if (n < 1 || n > 4) return;
    const std::array<const char*, 4> keys{"20b node", "20c node", "20d node", "20e node"};
    for (int k = 1; k <= n; ++k) {
        t.pc.EthernetPortFrame[k]->Enabled = true;
        addItem(t.tree, "20 node", keys[static_cast<std::size_t>(k - 1)], slotLine1(r, k), ImageKey::Network);
    }
}

void build_1394(BuildTarget& t, NodeReport& r) {
    const int n = entryCount(r);
    if (n == 0) addNotDetected(t.tree, "17 node");
    if (n < 1 || n > 7) return;
    const std::array<const char*, 7> keys{"17b node", "17c node", "17d node", "17e node",
                                          "17f node", "17g node", "17h node"};
    for (int k = 1; k <= n; ++k)
        addItem(t.tree, "17 node", keys[static_cast<std::size_t>(k - 1)], slotLine1(r, k), ImageKey::FireWire);
}

void build_wireless(BuildTarget& t, NodeReport& r) {
    const int n = entryCount(r);
    if (n == 0) addNotDetected(t.tree, "44 node");
    if (n < 1 || n > 4) return;
    const std::array<const char*, 4> keys{"44b node", "44c node", "44d node", "44e node"};
    for (int k = 1; k <= n; ++k)
        addItem(t.tree, "44 node", keys[static_cast<std::size_t>(k - 1)], rowLine(r, k, 1), ImageKey::Wireless);
}

}  // namespace vantrel::model
