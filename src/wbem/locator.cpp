#include "wbem/services.h"

#include "wbem/ascii.h"
#include "wbem/wbem_error.h"

namespace vantrel::wbem {

Locator::Locator(std::shared_ptr<Provider> provider) : provider_(std::move(provider)) {}

std::unique_ptr<Services> Locator::ConnectServer(const std::string& server, const std::string& nameSpace,
                                                 const std::string& user, const std::string& password) {
    if (!provider_) throw WbemError(ErrorCode::Failed, "No management provider is available");
    auto services = provider_->connect(ConnectRequest{server, nameSpace, user, password});
    if (!services) throw WbemError(ErrorCode::Failed, "The management provider gave no connection");
    return services;
}

bool sameNamespace(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    auto fold = [](char c) { return c == '/' ? '\\' : lowerAscii(c); };
    for (std::size_t i = 0; i < a.size(); ++i)
        if (fold(a[i]) != fold(b[i])) return false;
    return true;
}

}  // namespace vantrel::wbem
