#include "network/discovery/mdns_browser.h"

#include "network/discovery/avahi_browser.h"
#include "network/discovery/mdns_query.h"

namespace vantrel::network {

TimedComputers browseMdns(const std::vector<MulticastInterface>& interfaces,
                          std::chrono::steady_clock::time_point deadline) {
    if (auto viaDaemon = browseAvahi(deadline)) return *viaDaemon;
    return queryMdnsComputers(interfaces, deadline);
}

}  // namespace vantrel::network
