#include "collect/hardware_tree.h"

#include <optional>
#include <string>

#include "collect/collect_error.h"
#include "core/command.h"
#include "core/node_label.h"

namespace vantrel {

const std::array<HardwareTreeNode, 32> kHardwareTreeNodes{{
    {"32 node", "OS", ImageKey::OperatingSystem, "OS"},
    {"37 node", "Enclosure", ImageKey::Tower, "Enclosure"},
    {"5 node", "Processor", ImageKey::Processor, "CPU"},
    {"6 node", "Physical Memory", ImageKey::Memory, "Memory"},
    {"2 node", "Keyboard", ImageKey::Keyboard, "Keyboard"},
    {"3 node", "Pointing Device", ImageKey::Mouse, "Pointing"},
    {"4 node", "Motherboard", ImageKey::Motherboard, "Baseboard"},
    {"7 node", "System Slot", ImageKey::Slots, "PCI"},
    {"15 node", "Bios", ImageKey::Bios, "BIOS"},
    {"9 node", "Video Controller", ImageKey::Video, "Video"},
    {"8 node", "Hard Drive", ImageKey::HardDisk, "Disk Drive"},
    {"28 node", "DVD/CD Drive", ImageKey::Dvd, "CD"},
    {"29 node", "Floppy Disk Drive", ImageKey::Floppy, "Floppy"},
    {"30 node", "Memory Cards", ImageKey::MemoryCard, "Memory cards"},
    {"24 node", "Tape Drive", ImageKey::Tape, "Tape"},
    {"34 node", "USB ports", ImageKey::Usb, "USB"},
    {"17 node", "1394 Controller", ImageKey::FireWire, "1394"},
    {"20 node", "Network Adapter", ImageKey::Network, "Ethernet"},
    {"19 node", "SCSI Controller", ImageKey::Scsi, "SCSI"},
    {"44 node", "Wireless", ImageKey::Wireless, "Wireless"},
    {"10 node", "Serial Port", ImageKey::Serial, "Serial"},
    {"11 node", "Parallel Port", ImageKey::Parallel, "Parallel"},
    {"14 node", "Sound Device", ImageKey::Sound, "Sound"},
    {"16 node", "Fan", ImageKey::Fan, "Fan"},
    {"40 node", "Portable Battery", ImageKey::Ups, "PBattery"},
    {"18 node", "Infrared Device", ImageKey::Infrared, "Infra red"},
    {"23 node", "PCMCIA Controller", ImageKey::Pcmcia, "pcmcia"},
    {"25 node", "Refrigeration", ImageKey::Refrigeration, "Refrigeration"},
    {"26 node", "Heat Pipe", ImageKey::HeatPipe, "Heat pipe"},
    {"27 node", "Temperature Probe", ImageKey::Temperature, "Temperature"},
    {"38 node", "Lock", ImageKey::Lock, "Enclosure"},
    {"12 node", "Battery (UPS)", ImageKey::Ups, "Battery"},
}};

std::vector<std::string_view> hardwareTreeKeys(std::string_view keyword) {
    std::vector<std::string_view> keys;
    for (const auto& node : kHardwareTreeNodes)
        if (node.keyword == keyword) keys.push_back(node.key);
    return keys;
}

namespace {

void buildTreeFor(ProgramState& state, const NodeRecord* node) {
    TreeControl& tree = state.windows.main.hardwareTree;
    runCommand(state, {"Unable to build hardware list!", MsgIcon::Question}, [&state, &tree, node] {
        tree.clear();
        state.ui->doEvents();
        if (!node) throw CollectError("No current node");
        // A root without key, text or image when the mode is unknown: the
        // category items then find no parent.
        const auto text = nodeLabel(*node, state.domain.settings.nodeLabelMode.value(), AddressGap::Space);
        if (text) {
            tree.addRoot(kHardwareRootKey, *text, ImageKey::Computer);
        } else {
            tree.addRoot("", "", ImageKey::None);
        }
        for (const auto& category : kHardwareTreeNodes)
            tree.add(kHardwareRootKey, TreeRelationship::Child, std::string(category.key), std::string(category.text),
                     category.image);
    });
}

}  // namespace

void buildHardwareTree(ProgramState& state) {
    const NodeTable& nodes = state.domain.nodes;
    buildTreeFor(state, nodes.isNode(nodes.currentNode) ? &nodes.node(nodes.currentNode) : nullptr);
}

void buildHardwareTree(ProgramState& state, const NodeRecord& node) { buildTreeFor(state, &node); }

}  // namespace vantrel
