#pragma once
// The provider of a scan: this computer's own for the empty server, the
// remote one (WS-Management) for every other node.

#include <memory>

#include "wbem/services.h"

namespace vantrel {

class NodeProvider : public wbem::Provider {
public:
    NodeProvider(std::shared_ptr<wbem::Provider> thisComputer, std::shared_ptr<wbem::Provider> otherComputers);
    std::unique_ptr<wbem::Services> connect(const wbem::ConnectRequest& request) override;

private:
    std::shared_ptr<wbem::Provider> thisComputer_;
    std::shared_ptr<wbem::Provider> otherComputers_;
};

}  // namespace vantrel
