#pragma once
// The pictures of the trees' image list. The keys are the image list's own
// names ("pc", "nd", ...); only the user interface turns them into pictures.

#include <array>
#include <string_view>

namespace vantrel {

enum class ImageKey {
    None,  // an item without a picture
    // Network tree and the Login dialog's tree.
    Network, Computer, ComputerWithLogin, ThisComputer, JumpNode,
    // Hardware tree.
    NotDetected, OperatingSystem, Tower, Processor, Memory, Keyboard, Mouse, Motherboard, Slots, Bios,
    Video, HardDisk, Dvd, Floppy, MemoryCard, Tape, Usb, FireWire, Scsi, Wireless, Serial, Parallel,
    Sound, Fan, Ups, Infrared, Pcmcia, Refrigeration, HeatPipe, Temperature, Lock,
};

inline constexpr std::array<std::string_view, 37> kImageKeyNames{
    "",   "nw",  "pc",       "pw",   "hm",  "jp",   "nd",    "os",  "tower", "cpu", "mem", "kb",  "ms",
    "mb", "slots", "bios",   "agp",  "hd",  "dvd",  "fd",    "mc",  "tape",  "usb", "fw",  "scsi",
    "wireless", "ser", "par", "snd", "fan", "ups",  "ir",    "pcmia", "refg", "pipe", "temp", "lock",
};
static_assert(static_cast<std::size_t>(ImageKey::Lock) + 1 == kImageKeyNames.size());

// The image list's name for the picture ("nw", "pc", ...); empty for None.
constexpr std::string_view imageKeyName(ImageKey key) { return kImageKeyNames[static_cast<std::size_t>(key)]; }

}  // namespace vantrel
