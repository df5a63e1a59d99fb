#include "wbem/provider_router.h"

#include "wbem/wbem_error.h"
#include "wbem/wql.h"

namespace vantrel::wbem {

ProviderRouter::ProviderRouter(std::shared_ptr<Provider> local, std::shared_ptr<Provider> remote)
    : local_(std::move(local)), remote_(std::move(remote)) {}

std::unique_ptr<Services> ProviderRouter::connect(const ConnectRequest& request) {
    const bool local = isThisComputer(request.server);
    Provider* provider = local ? local_.get() : remote_.get();
    if (!provider)
        throw WbemError(ErrorCode::Failed, local ? "No provider answers for this computer"
                                                 : "No provider answers for " + request.server);
    return provider->connect(request);
}

bool isThisComputer(std::string_view server) {
    return server.empty() || server == "." || equalsIgnoreCase(server, "localhost") || server == "127.0.0.1" ||
           server == "::1";
}

}  // namespace vantrel::wbem
