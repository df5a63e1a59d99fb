#include "app/agent_provider.h"

#include "providers/linux/linux_provider.h"
#include "providers/profile/profile_provider.h"

namespace vantrel::agent {

std::shared_ptr<wbem::Provider> servedProvider(const std::string& profilePath) {
    if (!profilePath.empty())
        return std::make_shared<wbem::ProfileProvider>(
            std::make_shared<const wbem::Profile>(wbem::loadProfile(profilePath)));
    return std::make_shared<linuxhost::LinuxProvider>();
}

}  // namespace vantrel::agent
