#pragma once
// The workstation of the history tests, as it was and after a service
// visit: one memory module taken out, the second disk swapped for another of
// the same model (another serial number), a second graphics card put in.

#include <filesystem>
#include <string>

#include <nlohmann/json.hpp>

#include "support/temp_folder.h"

namespace vantrel::test {

inline std::filesystem::path workstationProfile() { return VANTREL_STORE_TEST_DATA "/workstation.json"; }

inline std::string changedWorkstationJson() {
    auto profile = nlohmann::ordered_json::parse(readBytes(workstationProfile()));
    auto& classes = profile["namespaces"]["root\\cimv2"];
    classes["Win32_PhysicalMemory"].erase(1);
    classes["Win32_DiskDrive"][1]["SerialNumber"] = "HD-C3";
    classes["Win32_VideoController"].push_back({{"Description", "Example Graphics 500"},
                                                {"AdapterRAM", 4294967295},
                                                {"DriverVersion", "31.0.1"},
                                                {"PNPDeviceID", "PCI\\VEN_1234&DEV_0500\\0"}});
    return profile.dump(2);
}

// Writes the changed profile into `folder` and gives its path.
inline std::filesystem::path writeChangedWorkstation(const std::filesystem::path& folder) {
    const auto file = folder / "workstation-changed.json";
    writeBytes(file, changedWorkstationJson());
    return file;
}

}  // namespace vantrel::test
