// Drives from /sys/block and /sys/class/scsi_tape. The interface type is the
// one the management interface reports: "IDE" for ATA and SATA disks, "USB"
// for disks behind USB, "1394" behind FireWire, "SCSI" for the rest (SCSI,
// SAS, NVMe, virtio). Models follow its naming too: USB and SCSI devices are
// named by vendor and product with the kind of device appended.

#include <cstdlib>

#include "providers/linux/class_families.h"
#include "providers/linux/property_mapping.h"

namespace vantrel::linuxhost {

namespace {

using C = Conversion;

constexpr PropertyMapping kMappings[] = {
    {"Win32_DiskDrive", "InterfaceType", "bus", C::Text},
    {"Win32_DiskDrive", "Model", "model", C::Text},
    {"Win32_DiskDrive", "Caption", "model", C::Text},
    {"Win32_DiskDrive", "DeviceID", "device node", C::Text},

    {"Win32_CDROMDrive", "Drive", "device node", C::Text},
    {"Win32_CDROMDrive", "Name", "model", C::Text},
    {"Win32_CDROMDrive", "Caption", "model", C::Text},

    {"Win32_FloppyDrive", "Name", "fixed Floppy disk drive", C::Text},
    {"Win32_FloppyDrive", "DeviceID", "device node", C::Text},

    {"Win32_TapeDrive", "Name", "model", C::Text},
    {"Win32_TapeDrive", "DeviceID", "device node", C::Text},
};

enum class DriveKind { Disk, Optical, Floppy };

bool isDigits(std::string_view s) {
    if (s.empty()) return false;
    for (char c : s)
        if (c < '0' || c > '9') return false;
    return true;
}

std::string busOf(std::string_view devicePath) {
    if (devicePath.find("/usb") != std::string_view::npos) return "USB";
    if (devicePath.find("/fw") != std::string_view::npos || devicePath.find("/firewire") != std::string_view::npos)
        return "1394";
    if (devicePath.find("/ata") != std::string_view::npos) return "IDE";
    return "SCSI";
}

// udev's ID_MODEL_ENC writes unsafe bytes as \xNN and keeps the blanks the
// drive pads its name with.
std::string decodedUdevText(std::string_view encoded) {
    std::string out;
    for (std::size_t i = 0; i < encoded.size(); ++i) {
        if (encoded[i] == '\\' && i + 3 < encoded.size() && encoded[i + 1] == 'x') {
            const std::string hex(encoded.substr(i + 2, 2));
            char* end = nullptr;
            const long v = std::strtol(hex.c_str(), &end, 16);
            if (end == hex.c_str() + 2) {
                out += static_cast<char>(v);
                i += 3;
                continue;
            }
        }
        out += encoded[i];
    }
    return trimmed(out);
}

// The name the management interface gives a drive: "Model" for ATA and NVMe,
// "Vendor Model USB Device", "Vendor Model SCSI Disk Device".
std::string driveModel(const MachineSources& sources, const std::string& block, const std::string& devicePath,
                       const std::string& bus, DriveKind kind) {
    std::string model;
    if (auto dev = sources.root.readValue("/sys/block/" + block + "/dev")) {
        if (auto enc = udevProperty(sources.root, "b" + *dev, "ID_MODEL_ENC")) model = decodedUdevText(*enc);
    }
    const std::string vendor = sources.root.readValue(devicePath + "/vendor").value_or("");
    if (model.empty()) model = sources.root.readValue(devicePath + "/model").value_or("");
    if (model.empty()) {
        // virtio and other disks without an inquiry: the controller's name.
        model = joinedName(deviceName(sources, devicePath, {}));
        if (model.empty()) return {};
        return kind == DriveKind::Disk ? model + " SCSI Disk Device" : model;
    }
    const bool ataVendor = vendor == "ATA";
    std::string name = vendor.empty() || ataVendor ? model : vendor + " " + model;
    if (bus == "USB") return name + " USB Device";
    if (bus == "SCSI" && !vendor.empty() && !ataVendor && devicePath.find("/nvme") == std::string::npos)
        return name + (kind == DriveKind::Optical ? " SCSI CdRom Device" : " SCSI Disk Device");
    return name;
}

DriveKind kindOf(const MachineSources& sources, const std::string& block, const std::string& devicePath) {
    if (block.rfind("sr", 0) == 0 || sources.root.readValue(devicePath + "/type") == "5") return DriveKind::Optical;
    if (block.rfind("fd", 0) == 0 && isDigits(block.substr(2))) return DriveKind::Floppy;
    return DriveKind::Disk;
}

std::vector<SourceRecord> drives(const MachineSources& sources, DriveKind wanted) {
    std::vector<SourceRecord> records;
    for (const std::string& block : sources.root.list("/sys/block")) {
        // Loop, RAM, device-mapper and RAID devices have no device behind them.
        auto devicePath = sources.root.resolve("/sys/block/" + block + "/device");
        if (!devicePath) {
            // Some containers show an optical drive's block entry without its
            // device: the drive is still there.
            if (wanted != DriveKind::Optical || block.rfind("sr", 0) != 0 || !isDigits(block.substr(2))) continue;
            devicePath = "/sys/block/" + block;
        }
        if (block.find("boot") != std::string::npos || block.find("rpmb") != std::string::npos) continue;
        const DriveKind kind = kindOf(sources, block, *devicePath);
        if (kind != wanted) continue;
        const std::string bus = busOf(*devicePath);
        SourceRecord record;
        record.set("bus", bus);
        record.set("device node", "/dev/" + block);
        if (std::string model = driveModel(sources, block, *devicePath, bus, kind); !model.empty())
            record.set("model", model);
        else if (kind == DriveKind::Optical)
            record.set("model", "CD-ROM Drive");  // what the management interface calls a drive it cannot name
        record.set("fixed Floppy disk drive", "Floppy disk drive");
        records.push_back(std::move(record));
    }
    return records;
}

std::vector<SourceRecord> tapes(const MachineSources& sources) {
    std::vector<SourceRecord> records;
    for (const std::string& name : sources.root.list("/sys/class/scsi_tape")) {
        // st0 is the drive; nst0 and the st0a/l/m modes are other doors to it.
        if (name.rfind("st", 0) != 0 || !isDigits(name.substr(2))) continue;
        SourceRecord record;
        record.set("device node", "/dev/" + name);
        if (auto path = sources.root.resolve("/sys/class/scsi_tape/" + name + "/device")) {
            const std::string vendor = sources.root.readValue(*path + "/vendor").value_or("");
            const std::string model = sources.root.readValue(*path + "/model").value_or("");
            const std::string both = vendor.empty() ? model : model.empty() ? vendor : vendor + " " + model;
            if (!both.empty()) record.set("model", both + " SCSI Sequential Device");
        }
        records.push_back(std::move(record));
    }
    return records;
}

}  // namespace

wbem::Table readStorageClass(const MachineSources& sources, std::string_view className) {
    if (className == "Win32_DiskDrive") return mapRecords(kMappings, className, drives(sources, DriveKind::Disk));
    if (className == "Win32_CDROMDrive") return mapRecords(kMappings, className, drives(sources, DriveKind::Optical));
    if (className == "Win32_FloppyDrive") return mapRecords(kMappings, className, drives(sources, DriveKind::Floppy));
    if (className == "Win32_TapeDrive") return mapRecords(kMappings, className, tapes(sources));
    return {};
}

}  // namespace vantrel::linuxhost
