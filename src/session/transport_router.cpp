#include "session/transport_router.h"

namespace vantrel::session {

TransportRouter::TransportRouter(std::shared_ptr<wbem::Provider> wsman, std::shared_ptr<wbem::Provider> ssh)
    : wsman_(std::move(wsman)), ssh_(std::move(ssh)) {}

void TransportRouter::useSsh(const std::string& server, bool ssh) {
    std::lock_guard lock(mutex_);
    if (ssh)
        sshServers_.insert(server);
    else
        sshServers_.erase(server);
}

std::unique_ptr<wbem::Services> TransportRouter::connect(const wbem::ConnectRequest& request) {
    bool ssh;
    {
        std::lock_guard lock(mutex_);
        ssh = sshServers_.count(request.server) > 0;
    }
    return (ssh ? ssh_ : wsman_)->connect(request);
}

}  // namespace vantrel::session
