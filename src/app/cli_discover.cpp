// vantrel-cli discover [--timeout SECONDS]: lists the computers of the local
// network and their addresses, one a line: name, address, how it was found.

#include <cstdlib>
#include <iostream>

#include "app/cli_command.h"
#include "core/network_error_text.h"
#include "network/discovery/discovery_error.h"
#include "network/discovery/network_discoverer.h"
#include "network/name_resolution.h"

namespace vantrel::cli {
namespace {

bool parseSeconds(const std::string& text, std::chrono::milliseconds& out) {
    char* end = nullptr;
    const double seconds = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || !(seconds > 0) || seconds > 600) return false;
    out = std::chrono::milliseconds(static_cast<long long>(seconds * 1000));
    return true;
}

int runDiscover(const std::vector<std::string>& args, const std::string&) {
    network::DiscoveryOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--timeout" && i + 1 < args.size() && parseSeconds(args[i + 1], options.listeningWindow)) {
            ++i;
            continue;
        }
        std::cerr << "usage: vantrel-cli discover [--timeout SECONDS]   (0 < SECONDS <= 600)\n";
        return 1;
    }
    std::vector<network::DiscoveredComputer> computers;
    try {
        computers = network::NetworkDiscoverer().discover(options);
    } catch (const network::DiscoveryError& e) {
        std::cerr << networkErrorText(e.code()) << "\n";
        return 1;
    }
    std::vector<network::NameToResolve> names;
    for (const auto& c : computers) names.push_back({c.name, c.addresses});
    const auto addresses = network::resolveNames(names, network::systemResolvers());
    for (std::size_t i = 0; i < computers.size(); ++i)
        std::cout << computers[i].name << '\t' << addresses[i] << '\t' << network::sourceText(computers[i].source)
                  << '\n';
    return 0;
}

const CliCommandRegistration registration({"discover", runDiscover});

}  // namespace
}  // namespace vantrel::cli
