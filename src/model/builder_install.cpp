#include "model/builders.h"

namespace vantrel::model {

void installBuilders(BuilderTable& table, BuildTarget& target) {
    using Builder = void (*)(BuildTarget&, NodeReport&);
    struct Entry {
        BuilderId id;
        Builder builder;
    };
    static constexpr Entry kEntries[] = {
        {BuilderId::build_baseboard, build_baseboard},         {BuilderId::build_battery, build_battery},
        {BuilderId::build_bios, build_bios},                   {BuilderId::build_diskdrive, build_diskdrive},
        {BuilderId::build_fan, build_fan},                     {BuilderId::build_heatpipe, build_heatpipe},
        {BuilderId::build_infrared, build_infrared},           {BuilderId::build_motherboard, build_motherboard},
        {BuilderId::build_parallel, build_parallel},           {BuilderId::build_pci, build_pci},
        {BuilderId::build_pcmcia, build_pcmcia},               {BuilderId::build_pointing, build_pointing},
        {BuilderId::build_refrigeration, build_refrigeration}, {BuilderId::build_scsi, build_scsi},
        {BuilderId::build_serial, build_serial},               {BuilderId::build_sound, build_sound},
        {BuilderId::build_systemmemory, build_systemmemory},   {BuilderId::build_tape, build_tape},
        {BuilderId::build_tempprobe, build_tempprobe},         {BuilderId::build_video, build_video},
        {BuilderId::build_memcard, build_memcard},             {BuilderId::build_cd, build_cd},
        {BuilderId::build_cpu, build_cpu},                     {BuilderId::build_floppy, build_floppy},
        {BuilderId::build_os, build_os},                       {BuilderId::build_keyboard, build_keyboard},
        {BuilderId::build_usb, build_usb},                     {BuilderId::build_ethernet, build_ethernet},
        {BuilderId::build_1394, build_1394},                   {BuilderId::build_connectors, build_connectors},
        {BuilderId::build_enclosure, build_enclosure},         {BuilderId::build_lock, build_lock},
        {BuilderId::build_pbattery, build_pbattery},           {BuilderId::build_wireless, build_wireless},
    };
    static_assert(std::size(kEntries) == kBuilderCount);
    for (const auto& e : kEntries) {
        Builder builder = e.builder;
        table.set(e.id, [&target, builder](NodeReport& report) { builder(target, report); });
    }
}

}  // namespace vantrel::model
