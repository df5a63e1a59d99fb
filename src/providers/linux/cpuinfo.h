#pragma once
// /proc/cpuinfo as blocks of "key : value" lines, one block per logical
// processor, grouped into physical packages.

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "providers/linux/source_root.h"

namespace vantrel::linuxhost {

using CpuinfoBlock = std::map<std::string, std::string>;

std::vector<CpuinfoBlock> parseCpuinfo(std::string_view text);

struct ProcessorPackage {
    std::string id;                   // "physical id", or the topology's package id
    std::vector<CpuinfoBlock> logical; // in the order the file lists them
};

// Packages in order of first appearance. A logical processor without a
// "physical id" takes its package from
// /sys/devices/system/cpu/cpuN/topology/physical_package_id, else package 0.
std::vector<ProcessorPackage> processorPackages(const SourceRoot& root);

}  // namespace vantrel::linuxhost
