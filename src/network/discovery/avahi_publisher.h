#pragma once
// Announces a service of this computer through the Avahi daemon, for as long
// as the returned object lives (the agent announces _vantrel._tcp this way).

#include <memory>
#include <string>

namespace vantrel::network {

class AvahiPublication {
public:
    virtual ~AvahiPublication() = default;
};

// Registers `type` (e.g. "_vantrel._tcp") on `port` under `name` (the host
// name when empty), on a thread of its own, taking another name after a
// conflict. Nothing when no Avahi daemon runs; the caller goes on
// unannounced.
std::unique_ptr<AvahiPublication> publishAvahiService(const std::string& type, unsigned short port,
                                                      const std::string& name = {});

}  // namespace vantrel::network
