#include "collect/node_provider.h"

#include "wbem/wbem_error.h"

namespace vantrel {

NodeProvider::NodeProvider(std::shared_ptr<wbem::Provider> thisComputer, std::shared_ptr<wbem::Provider> otherComputers)
    : thisComputer_(std::move(thisComputer)), otherComputers_(std::move(otherComputers)) {}

std::unique_ptr<wbem::Services> NodeProvider::connect(const wbem::ConnectRequest& request) {
    wbem::Provider* provider = request.server.empty() ? thisComputer_.get() : otherComputers_.get();
    if (!provider)
        throw wbem::WbemError(wbem::ErrorCode::ConnectionFailed, request.server.empty()
                                                                     ? "This computer cannot be inventoried by this build"
                                                                     : "No provider for other computers");
    return provider->connect(request);
}

}  // namespace vantrel
