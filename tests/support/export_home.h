#pragma once
// A program folder with three nodes scanned from profiles, as the export
// tests need it: a workstation scanned before and after a service visit (so
// it has a last change), a desktop, and a laptop whose name is HTML markup.

#include <filesystem>
#include <string>
#include <vector>

#include "support/run_program.h"
#include "support/workstation_profiles.h"

namespace vantrel::test {

inline const std::string kMarkupNode = "<img src=x onerror=alert(1)> & \"Q's\"";

struct ExportHomeNode {
    std::string name, address, displayName;
    std::filesystem::path profile;
};

inline std::vector<ExportHomeNode> exportHomeNodes() {
    return {{"WS-7", "10.213.9.7", "Workstation", workstationProfile()},
            {"LAB-2", "10.213.9.2", "LAB-2", VANTREL_COLLECT_TEST_DATA "/desktop_2025.json"},
            {kMarkupNode, "10.213.9.3", kMarkupNode, VANTREL_COLLECT_TEST_DATA "/laptop_2025.json"}};
}

// Writes the settings and node table into `home` and scans every node;
// `io` takes the programs' output. Gives the last failed run, if any.
inline ProgramRun makeExportHome(const std::filesystem::path& home, const std::filesystem::path& io) {
    writeBytes(home / "vantrel.ini", "admin\r\nsecret\r\n0\r\n0\r\n0\r\n0\r\nNAME\r\n0\r\nroot\\cimv2\r\n");
    std::string table;
    for (const auto& n : exportHomeNodes())
        table += n.name + "\r\n" + n.address + "\r\n" + n.displayName + "\r\nTrue\r\n\r\n\r\nFalse\r\n";
    writeBytes(home / "lg.ini", table);
    auto scan = [&](const std::string& node, const std::filesystem::path& profile) {
        return runProgram(VANTREL_CLI_PATH, {"--home", home.string(), "scan", "--node", node, "--profile", profile.string()}, io);
    };
    for (const auto& n : exportHomeNodes()) {
        const auto run = scan(n.name, n.profile);
        if (run.status != 0) return run;
    }
    return scan("WS-7", writeChangedWorkstation(io));
}

}  // namespace vantrel::test
