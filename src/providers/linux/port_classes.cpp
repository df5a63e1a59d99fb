// Serial and parallel ports that exist in hardware. The kernel keeps a ttyS
// node for every possible 8250 port; only those whose UART type is known
// (not 0) are real. USB serial adapters are real by being there.

#include <algorithm>

#include "providers/linux/class_families.h"
#include "providers/linux/property_mapping.h"

namespace vantrel::linuxhost {

namespace {

using C = Conversion;

constexpr PropertyMapping kMappings[] = {
    {"Win32_SerialPort", "Name", "name", C::Text},
    {"Win32_SerialPort", "Status", "fixed OK", C::Text},
    {"Win32_SerialPort", "DeviceID", "device id", C::Text},

    {"Win32_ParallelPort", "Name", "name", C::Text},
    {"Win32_ParallelPort", "Status", "fixed OK", C::Text},
    {"Win32_ParallelPort", "DeviceID", "device id", C::Text},
};

constexpr std::string_view kUnknownUart = "0";

bool numberAfter(std::string_view name, std::string_view prefix, unsigned& number) {
    if (name.substr(0, prefix.size()) != prefix || name.size() == prefix.size() || name.size() > prefix.size() + 4)
        return false;
    number = 0;
    for (char c : name.substr(prefix.size())) {
        if (c < '0' || c > '9') return false;
        number = number * 10 + static_cast<unsigned>(c - '0');
    }
    return true;
}

SourceRecord port(std::string name, std::string deviceId) {
    SourceRecord record;
    record.set("name", std::move(name));
    record.set("device id", std::move(deviceId));
    record.set("fixed OK", "OK");
    return record;
}

std::vector<SourceRecord> serialPorts(const SourceRoot& root) {
    std::vector<SourceRecord> records;
    for (const std::string& tty : root.list("/sys/class/tty")) {
        unsigned n = 0;
        if (numberAfter(tty, "ttyS", n)) {
            const auto type = root.readValue("/sys/class/tty/" + tty + "/type");
            if (!type || *type == kUnknownUart) continue;
            const std::string com = "COM" + std::to_string(n + 1);
            records.push_back(port("Communications Port (" + com + ")", com));
        } else if (numberAfter(tty, "ttyUSB", n)) {
            records.push_back(port("USB Serial Port (" + tty + ")", tty));
        } else if (numberAfter(tty, "ttyACM", n)) {
            records.push_back(port("USB Serial Device (" + tty + ")", tty));
        }
    }
    return records;
}

std::vector<SourceRecord> parallelPorts(const SourceRoot& root) {
    // The parport bus lists the ports on newer kernels, /proc on all.
    std::vector<unsigned> numbers;
    for (const char* folder : {"/sys/bus/parport/devices", "/proc/sys/dev/parport"})
        for (const std::string& name : root.list(folder)) {
            unsigned n = 0;
            if (!numberAfter(name, "parport", n)) continue;
            bool known = false;
            for (unsigned m : numbers) known = known || m == n;
            if (!known) numbers.push_back(n);
        }
    std::sort(numbers.begin(), numbers.end());
    std::vector<SourceRecord> records;
    for (unsigned n : numbers) {
        const std::string lpt = "LPT" + std::to_string(n + 1);
        records.push_back(port("Printer Port (" + lpt + ")", lpt));
    }
    return records;
}

}  // namespace

wbem::Table readPortClass(const MachineSources& sources, std::string_view className) {
    if (className == "Win32_SerialPort") return mapRecords(kMappings, className, serialPorts(sources.root));
    if (className == "Win32_ParallelPort") return mapRecords(kMappings, className, parallelPorts(sources.root));
    return {};
}

}  // namespace vantrel::linuxhost
