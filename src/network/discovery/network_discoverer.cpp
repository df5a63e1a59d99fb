#include "network/discovery/network_discoverer.h"

#include <algorithm>
#include <exception>
#include <future>

#include "network/discovery/computer_list.h"
#include "network/discovery/discovery_error.h"
#include "network/discovery/mdns_browser.h"
#include "network/discovery/network_interfaces.h"
#include "network/discovery/wsd_browser.h"
#include "network/host_lookup.h"

namespace vantrel::network {

DiscoveredComputer thisComputer() {
    DiscoveredComputer self;
    self.name = localHostName().substr(0, localHostName().find('.'));
    self.source = DiscoverySource::Self;
    if (auto address = localIpv4Address(); !address.empty()) self.addresses.push_back(address);
    return self;
}

std::vector<DiscoveredComputer> NetworkDiscoverer::discover(const DiscoveryOptions& options) {
    const auto interfaces = multicastInterfaces();
    if (interfaces.empty()) throw DiscoveryError(kErrorNotAccessible, "no network interface is up");
    const auto deadline = std::chrono::steady_clock::now() + options.listeningWindow;

    auto wsd = std::async(std::launch::async, [&] { return browseWsd(interfaces, deadline); });
    auto mdns = std::async(std::launch::async, [&] { return browseMdns(interfaces, deadline); });
    TimedComputers heard;
    std::exception_ptr wsdError, mdnsError;
    try {
        heard = wsd.get();
    } catch (const DiscoveryError&) {
        wsdError = std::current_exception();
    }
    try {
        auto more = mdns.get();
        heard.insert(heard.end(), more.begin(), more.end());
    } catch (const DiscoveryError&) {
        mdnsError = std::current_exception();
    }
    // One way of asking the network is enough; only when both failed is
    // there nothing to go on.
    if (wsdError && mdnsError) std::rethrow_exception(wsdError);

    std::stable_sort(heard.begin(), heard.end(),
                     [](const TimedComputer& a, const TimedComputer& b) { return a.firstSeen < b.firstSeen; });
    ComputerList list;
    list.add(thisComputer());
    for (const auto& timed : heard)
        list.add(timed.computer);
    return list.computers();
}

}  // namespace vantrel::network
