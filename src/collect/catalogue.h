#pragma once
// The 33 hardware categories. The order of the table is the order in which
// the collectors run, the order of the sections in a report file and the
// order in which the loader expects them.

#include <array>
#include <cstddef>
#include <string_view>

namespace vantrel {

// Where the loader puts a section's entries in NodeReport.
enum class Placement {
    Slot,       // entry k (from 0, below the limit) in tables k and 10 + k, element 1
    Row,        // entry i (from 1) in tables 0, 10 and 20, element i
    LastEntry,  // every entry in tables 0 and 10, element 1: the last one stays
};

// How a collector turns rows into entries. Plain: every row is taken and
// writes its properties as the lines say; the others have a rule of their own.
enum class CollectorRule { Plain, DiskDrive, Motherboard, Memory, MemoryCards, Cpu, Ethernet, Enclosure, Wireless };

// The builders that show a section, called by the loader through one table.
enum class BuilderId {
    build_baseboard, build_battery, build_bios, build_diskdrive, build_fan, build_heatpipe,
    build_infrared, build_motherboard, build_parallel, build_pci, build_pcmcia, build_pointing,
    build_refrigeration, build_scsi, build_serial, build_sound, build_systemmemory, build_tape,
    build_tempprobe, build_video, build_memcard, build_cd, build_cpu, build_floppy, build_os,
    build_keyboard, build_usb, build_ethernet, build_1394, build_connectors, build_enclosure,
    build_lock, build_pbattery, build_wireless,
};
inline constexpr std::size_t kBuilderCount = static_cast<std::size_t>(BuilderId::build_wireless) + 1;

// The builder's name as the rest of the program knows it ("build_pci").
std::string_view builderName(BuilderId id);

struct HardwareCategory {
    int number;                       // 1..33, catalogue order
    std::string_view keyword;         // the section's first line
    std::string_view wmiClass;
    std::string_view statusPhrase;    // followed by the node tag
    std::string_view query;
    std::string_view secondQuery;     // "CPU" only
    int linesPerEntry;
    // What each line of an entry holds; for plain collectors the property read.
    std::array<std::string_view, 3> lines;
    Placement placement;
    int slotLimit;                    // slot placement only
    std::array<BuilderId, 2> builders;
    int builderCount;
    CollectorRule rule;
};

inline constexpr std::size_t kCategoryCount = 33;
extern const std::array<HardwareCategory, kCategoryCount> kCatalogue;

// The category with this keyword (exact), or nullptr.
const HardwareCategory* findCategory(std::string_view keyword);

}  // namespace vantrel
