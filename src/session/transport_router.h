#pragma once
// Who answers another computer: WS-Management, or SSH for the nodes whose
// connection settings say so. The choice is made per server before the
// node is contacted, as its settings are handed over.

#include <memory>
#include <mutex>
#include <set>
#include <string>

#include "wbem/services.h"

namespace vantrel::session {

class TransportRouter : public wbem::Provider {
public:
    TransportRouter(std::shared_ptr<wbem::Provider> wsman, std::shared_ptr<wbem::Provider> ssh);
    void useSsh(const std::string& server, bool ssh);
    std::unique_ptr<wbem::Services> connect(const wbem::ConnectRequest& request) override;

private:
    std::shared_ptr<wbem::Provider> wsman_, ssh_;
    std::mutex mutex_;
    std::set<std::string> sshServers_;
};

}  // namespace vantrel::session
