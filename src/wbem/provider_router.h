#pragma once
// Chooses who answers a connection: this computer's provider for the empty
// server (and the loopback names), the remote provider for every other
// server. Either may be missing; a connection that has nobody to answer it
// is refused like an unreachable node.

#include <memory>

#include "wbem/services.h"

namespace vantrel::wbem {

class ProviderRouter : public Provider {
public:
    ProviderRouter(std::shared_ptr<Provider> local, std::shared_ptr<Provider> remote);
    // Throws WbemError (Failed) when no provider answers for the server.
    std::unique_ptr<Services> connect(const ConnectRequest& request) override;

private:
    std::shared_ptr<Provider> local_;
    std::shared_ptr<Provider> remote_;
};

// The empty server, "." and the loopback names stand for this computer.
bool isThisComputer(std::string_view server);

}  // namespace vantrel::wbem
