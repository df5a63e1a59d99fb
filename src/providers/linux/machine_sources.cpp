#include "providers/linux/machine_sources.h"

#include "providers/linux/device_paths.h"

namespace vantrel::linuxhost {

std::optional<std::string> udevProperty(const SourceRoot& root, std::string_view id, std::string_view key) {
    if (id.empty() || id.find('/') != std::string_view::npos) return std::nullopt;
    const auto text = root.readFile("/run/udev/data/" + std::string(id));
    if (!text) return std::nullopt;
    std::string_view rest = *text;
    while (!rest.empty()) {
        const auto eol = rest.find('\n');
        std::string_view line = rest.substr(0, eol);
        rest = eol == std::string_view::npos ? std::string_view() : rest.substr(eol + 1);
        if (line.size() > 2 && line.substr(0, 2) == "E:" && line.substr(2, key.size()) == key &&
            line.size() > 2 + key.size() && line[2 + key.size()] == '=') {
            std::string value = trimmed(line.substr(3 + key.size()));
            if (value.empty() || !isCleanText(value)) return std::nullopt;
            return value;
        }
    }
    return std::nullopt;
}

HardwareName deviceName(const MachineSources& sources, std::string_view deviceFolder, std::string_view udevId) {
    HardwareName name;
    if (auto v = udevProperty(sources.root, udevId, "ID_VENDOR_FROM_DATABASE")) name.vendor = *v;
    if (auto m = udevProperty(sources.root, udevId, "ID_MODEL_FROM_DATABASE")) name.model = *m;
    if ((name.vendor.empty() || name.model.empty()) && sources.names) {
        if (auto alias = sources.root.readValue(std::string(deviceFolder) + "/modalias"); alias && isCleanText(*alias)) {
            HardwareName known = sources.names->lookup(*alias);
            if (name.vendor.empty()) name.vendor = isCleanText(known.vendor) ? known.vendor : std::string();
            if (name.model.empty()) name.model = isCleanText(known.model) ? known.model : std::string();
        }
    }
    if (name.vendor.empty() && name.model.empty()) {
        // A function on a virtual bus (virtio) is named by the PCI device that carries it.
        if (auto pci = pciFunctionOf(deviceFolder); pci && *pci != deviceFolder)
            return deviceName(sources, *pci, "+pci:" + lastComponent(*pci));
    }
    return name;
}

std::string joinedName(const HardwareName& name) {
    if (name.vendor.empty()) return name.model;
    if (name.model.empty()) return name.vendor;
    return name.vendor + " " + name.model;
}

}  // namespace vantrel::linuxhost
