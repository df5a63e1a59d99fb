#include "collect/hardware_tree.h"

#include <optional>
#include <string>

namespace vantrel {

const std::array<HardwareTreeNode, 32> kHardwareTreeNodes{{
    {"32 node", "OS", "os", "OS"},
    {"37 node", "Enclosure", "tower", "Enclosure"},
    {"5 node", "Processor", "cpu", "CPU"},
    {"6 node", "Physical Memory", "mem", "Memory"},
    {"2 node", "Keyboard", "kb", "Keyboard"},
    {"3 node", "Pointing Device", "ms", "Pointing"},
    {"4 node", "Motherboard", "mb", "Baseboard"},
    {"7 node", "System Slot", "slots", "PCI"},
    {"15 node", "Bios", "bios", "BIOS"},
    {"9 node", "Video Controller", "agp", "Video"},
    {"8 node", "Hard Drive", "hd", "Disk Drive"},
    {"28 node", "DVD/CD Drive", "dvd", "CD"},
    {"29 node", "Floppy Disk Drive", "fd", "Floppy"},
    {"30 node", "Memory Cards", "mc", "Memory cards"},
    {"24 node", "Tape Drive", "tape", "Tape"},
    {"34 node", "USB ports", "usb", "USB"},
    {"17 node", "1394 Controller", "fw", "1394"},
    {"20 node", "Network Adapter", "nw", "Ethernet"},
    {"19 node", "SCSI Controller", "scsi", "SCSI"},
    {"44 node", "Wireless", "wireless", "Wireless"},
    {"10 node", "Serial Port", "ser", "Serial"},
    {"11 node", "Parallel Port", "par", "Parallel"},
    {"14 node", "Sound Device", "snd", "Sound"},
    {"16 node", "Fan", "fan", "Fan"},
    {"40 node", "Portable Battery", "ups", "PBattery"},
    {"18 node", "Infrared Device", "ir", "Infra red"},
    {"23 node", "PCMCIA Controller", "pcmia", "pcmcia"},
    {"25 node", "Refrigeration", "refg", "Refrigeration"},
    {"26 node", "Heat Pipe", "pipe", "Heat pipe"},
    {"27 node", "Temperature Probe", "temp", "Temperature"},
    {"38 node", "Lock", "lock", "Enclosure"},
    {"12 node", "Battery (UPS)", "ups", "Battery"},
}};

namespace {

// The root's text for the label mode; nothing for an unknown mode.
std::optional<std::string> rootText(const NodeRecord& node, const std::string& mode) {
    if (mode == "IPNAME") return node.displayName + " (" + node.address + ")";
    if (mode == "IP") return node.address;
    if (mode == "NAME") return node.displayName;
    return std::nullopt;
}

}  // namespace

void BuildHardwareTree(ProgramState& state) {
    TreeControl& tree = state.TrView1;
    try {
        tree.clear();
        state.ui->doEvents();
        const int i = state.nodes.currentNode;
        if (!state.nodes.isNode(i)) throw Error("No current node");
        // A root without key, text or image when the mode is unknown: the
        // category items then find no parent.
        const auto text = rootText(state.nodes.node(i), state.NodeLabelMode);
        if (text) {
            tree.addRoot(kHardwareRootKey, *text, "pc");
        } else {
            tree.addRoot("", "", "");
        }
        for (const auto& node : kHardwareTreeNodes)
            tree.add(kHardwareRootKey, TreeControl::kChild, std::string(node.key), std::string(node.text),
                     std::string(node.image));
    } catch (const std::exception&) {
        state.ui->doEvents();
        state.ui->messageBox("Unable to build hardware list!", kMessageTitle, MsgIcon::Question, MsgButtons::Ok);
    }
}

}  // namespace vantrel
