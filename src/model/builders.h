#pragma once
// The builders: one per report section, called by the report loader right
// after the section is placed in NodeReport. Each adds the section's items
// under its category in the hardware tree and switches on the parts of the
// virtual PC the section shows to be there. Nothing is loaded here.

#include "collect/node_report.h"
#include "core/tree_control.h"
#include "model/virtual_pc.h"

namespace vantrel::model {

// What a builder writes to.
struct BuildTarget {
    VirtualPc& pc;
    TreeControl& tree;
};

// Boards, processors, memory, drives, video, sensors, fans, batteries, case
// and the sections that only fill the tree.
void build_baseboard(BuildTarget& t, NodeReport& r);
void build_battery(BuildTarget& t, NodeReport& r);
void build_pbattery(BuildTarget& t, NodeReport& r);
void build_bios(BuildTarget& t, NodeReport& r);
void build_diskdrive(BuildTarget& t, NodeReport& r);
void build_cd(BuildTarget& t, NodeReport& r);
void build_cpu(BuildTarget& t, NodeReport& r);
void build_fan(BuildTarget& t, NodeReport& r);
void build_enclosure(BuildTarget& t, NodeReport& r);
void build_lock(BuildTarget& t, NodeReport& r);
void build_heatpipe(BuildTarget& t, NodeReport& r);
void build_infrared(BuildTarget& t, NodeReport& r);
void build_motherboard(BuildTarget& t, NodeReport& r);
void build_pcmcia(BuildTarget& t, NodeReport& r);
void build_floppy(BuildTarget& t, NodeReport& r);
void build_refrigeration(BuildTarget& t, NodeReport& r);
void build_scsi(BuildTarget& t, NodeReport& r);
void build_os(BuildTarget& t, NodeReport& r);
void build_sound(BuildTarget& t, NodeReport& r);
void build_tape(BuildTarget& t, NodeReport& r);
void build_video(BuildTarget& t, NodeReport& r);
void build_tempprobe(BuildTarget& t, NodeReport& r);
void build_systemmemory(BuildTarget& t, NodeReport& r);
void build_pci(BuildTarget& t, NodeReport& r);

// Ports and the devices plugged into them.
void build_usb(BuildTarget& t, NodeReport& r);
void build_keyboard(BuildTarget& t, NodeReport& r);
void build_pointing(BuildTarget& t, NodeReport& r);
void build_memcard(BuildTarget& t, NodeReport& r);
void build_connectors(BuildTarget& t, NodeReport& r);
void build_serial(BuildTarget& t, NodeReport& r);
void build_parallel(BuildTarget& t, NodeReport& r);
void build_ethernet(BuildTarget& t, NodeReport& r);
void build_1394(BuildTarget& t, NodeReport& r);
void build_wireless(BuildTarget& t, NodeReport& r);

// Fills every entry of the loader's dispatch table. target must outlive it.
void installBuilders(BuilderTable& table, BuildTarget& target);

}  // namespace vantrel::model
