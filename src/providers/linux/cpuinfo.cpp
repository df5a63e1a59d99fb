#include "providers/linux/cpuinfo.h"

namespace vantrel::linuxhost {

std::vector<CpuinfoBlock> parseCpuinfo(std::string_view text) {
    std::vector<CpuinfoBlock> blocks;
    CpuinfoBlock current;
    auto flush = [&] {
        if (!current.empty()) blocks.push_back(std::move(current));
        current.clear();
    };
    while (!text.empty()) {
        const auto eol = text.find('\n');
        const std::string_view line = text.substr(0, eol);
        text = eol == std::string_view::npos ? std::string_view() : text.substr(eol + 1);
        const std::string key = trimmed(line.substr(0, line.find(':')));
        if (key.empty()) {
            flush();
            continue;
        }
        const auto colon = line.find(':');
        if (colon == std::string_view::npos) continue;
        std::string value = trimmed(line.substr(colon + 1));
        // A new "processor" line starts a block even without a blank line.
        if (key == "processor" && current.count("processor")) flush();
        if (isCleanText(value) && isCleanText(key)) current.emplace(key, std::move(value));
    }
    flush();
    return blocks;
}

std::vector<ProcessorPackage> processorPackages(const SourceRoot& root) {
    std::vector<ProcessorPackage> packages;
    const auto text = root.readFile("/proc/cpuinfo");
    if (!text) return packages;
    for (auto& block : parseCpuinfo(*text)) {
        // Blocks without a processor number are the machine-wide lines some
        // architectures append (ARM's "Hardware", "Revision").
        const auto number = block.find("processor");
        if (number == block.end()) continue;
        std::string id;
        if (auto physical = block.find("physical id"); physical != block.end()) {
            id = physical->second;
        } else if (number->second.find('/') == std::string::npos) {
            id = root.readValue("/sys/devices/system/cpu/cpu" + number->second + "/topology/physical_package_id")
                     .value_or("0");
        } else {
            id = "0";
        }
        ProcessorPackage* package = nullptr;
        for (auto& p : packages)
            if (p.id == id) package = &p;
        if (!package) package = &packages.emplace_back(ProcessorPackage{id, {}});
        package->logical.push_back(std::move(block));
    }
    return packages;
}

}  // namespace vantrel::linuxhost
