#include "app/cli_home.h"

#include "core/connections_file.h"
#include "core/node_registry.h"
#include "core/scan_settings_file.h"
#include "core/settings_file.h"
#include "core/stale_temp_files.h"
#include "network/host_lookup.h"

namespace vantrel::cli {

CliHome::CliHome(const std::string& command, const std::string& homeOption)
    : ui_(command),
      state_(ProgramFolder(chooseProgramFolder(homeOption.empty() ? std::nullopt
                                                                  : std::optional<std::filesystem::path>(homeOption),
                                               executableFolder())),
             ui_),
      command_(command) {}

void CliHome::lock() {
    lock_.emplace(state_.folder.lockFile(), "vantrel-cli " + command_);
    removeStaleTempFiles(state_.folder);
}

void CliHome::load() {
    state_.domain.nodes.localAddress = network::localIpv4Address();
    loadSettings(state_);
    loadScanSettings(state_);
    loadNodeTable(state_);
    loadNodeConnections(state_);
}

bool CliHome::save() {
    // No table and no file: writing an empty one would tell the desktop
    // program that the network was already listed.
    std::error_code ec;
    if (state_.domain.nodes.nodeCount() == 0 && !std::filesystem::exists(state_.folder.loginsFile(), ec)) return true;
    return saveNodeTable(state_);
}

}  // namespace vantrel::cli
