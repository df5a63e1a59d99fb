// vantrel-cli nodes [--home DIR]: the node table, one node a line: name,
// display name, address, enabled mark, scan status and last result,
// separated by tabs. Reads only: it needs no lock.

#include <iostream>

#include "app/cli_command.h"
#include "app/cli_command_table.h"
#include "app/cli_home.h"
#include "app/cli_options.h"

namespace vantrel::cli {
namespace {

const std::string kUsage(commandUsage("nodes"));

int runNodes(const std::vector<std::string>& args, const std::string& globalHome) {
    std::string home = globalHome;
    OptionReader options(args);
    while (options.next()) {
        const auto value = options.option() == "--home" ? options.value() : std::nullopt;
        if (!value) {
            std::cerr << "usage: vantrel-cli " << kUsage << "\n";
            return 1;
        }
        home = *value;
    }
    try {
        CliHome folder("nodes", home);
        folder.load();
        if (!folder.tableUsable()) {
            std::cerr << "vantrel-cli nodes: the file \"lg.ini\" could not be read\n";
            return 1;
        }
        const NodeTable& nodes = folder.state().domain.nodes;
        for (int i = 1; i <= nodes.nodeCount(); ++i) {
            const NodeRecord& n = nodes.node(i);
            std::cout << printable(n.name) << '\t' << printable(n.displayName) << '\t' << printable(n.address) << '\t'
                      << printable(std::string(n.enabled.text())) << '\t'
                      << printable(std::string(n.scanStatus.text())) << '\t' << printable(n.lastResult) << '\n';
        }
    } catch (const std::exception& e) {
        std::cerr << "vantrel-cli nodes: " << printable(e.what()) << "\n";
        return 1;
    }
    return 0;
}

const CliCommandRegistration kRegistration{CliCommand{"nodes", runNodes}};

}  // namespace
}  // namespace vantrel::cli
