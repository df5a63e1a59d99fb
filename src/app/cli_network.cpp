// vantrel-cli network [--home DIR] [--rescan] [--timeout SECONDS]: "Network
// Scan" (or "Re-Scan") on the program folder's node table, saved as the
// desktop program saves it. Prints one line per change: "added", name and
// address; "kept", name and the last known address a failed lookup left in
// place; "unresolved" and the name of a node that has no address.

#include <cmath>
#include <iostream>

#include "app/cli_command.h"
#include "app/cli_command_table.h"
#include "app/cli_home.h"
#include "app/cli_options.h"
#include "core/network_scan.h"
#include "core/network_tree.h"
#include "session/discovery_network_browser.h"

namespace vantrel::cli {
namespace {

const std::string kUsage(commandUsage("network"));

int usage() {
    std::cerr << "usage: vantrel-cli " << kUsage << "   (0 < SECONDS <= 60)\n";
    return 1;
}

std::string addressOf(const NodeTable& nodes, const std::string& name) {
    const int i = nodes.find(name);
    return i != 0 ? nodes.node(i).address : std::string();
}

int runNetwork(const std::vector<std::string>& args, const std::string& globalHome) {
    std::string home = globalHome;
    bool rescanOnly = false;
    std::optional<int> windowMs;
    OptionReader options(args);
    while (options.next()) {
        const std::string& o = options.option();
        if (o == "--rescan") {
            rescanOnly = true;
        } else if (o == "--home") {
            const auto value = options.value();
            if (!value) return usage();
            home = *value;
        } else if (o == "--timeout") {
            const auto value = options.value();
            char* end = nullptr;
            const double seconds = value ? std::strtod(value->c_str(), &end) : 0;
            if (!value || value->empty() || *end != '\0' || !(seconds > 0) || seconds > 60) return usage();
            windowMs = static_cast<int>(std::lround(seconds * 1000));
        } else {
            return usage();
        }
    }
    try {
        CliHome folder("network", home);
        folder.lock();
        folder.load();
        if (!folder.tableUsable()) {
            std::cerr << "vantrel-cli network: the file \"lg.ini\" could not be read and will not be changed\n";
            return 1;
        }
        ProgramState& state = folder.state();
        if (windowMs) state.domain.settings.discoveryWindowMs = *windowMs;
        session::DiscoveryNetworkBrowser browser(state.domain.settings);
        state.networkBrowser = &browser;
        const NetworkScanReport report = rescanOnly ? rescan(state) : networkScan(state);
        if (!report.listed) {
            // A network error was printed already; an empty listing says nothing by itself.
            std::cerr << "vantrel-cli network: no computer could be listed; the node table is unchanged\n";
            return 1;
        }
        if (!rescanOnly) buildNetworkTreeFromScan(state);  // the nodes' folders, as the scan dialog's OK makes them
        if (!folder.save()) {
            std::cerr << "vantrel-cli network: cannot write \"lg.ini\" in " << state.folder.root().string() << "\n";
            return 1;
        }
        const NodeTable& nodes = state.domain.nodes;
        for (const auto& name : report.added)
            std::cout << "added\t" << printable(name) << '\t' << printable(addressOf(nodes, name)) << '\n';
        for (const auto& name : report.keptAddress)
            std::cout << "kept\t" << printable(name) << '\t' << printable(addressOf(nodes, name)) << '\n';
        for (const auto& name : report.unresolved) std::cout << "unresolved\t" << printable(name) << '\n';
    } catch (const std::exception& e) {
        std::cerr << "vantrel-cli network: " << printable(e.what()) << "\n";
        return 1;
    }
    return 0;
}

const CliCommandRegistration kRegistration{CliCommand{"network", runNetwork}};

}  // namespace
}  // namespace vantrel::cli
