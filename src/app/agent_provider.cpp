#include "app/agent_provider.h"

#include "agent/users_file.h"
#include "providers/profile/profile_provider.h"

namespace vantrel::agent {

std::shared_ptr<wbem::Provider> servedProvider(const std::string& profilePath) {
    if (!profilePath.empty())
        return std::make_shared<wbem::ProfileProvider>(
            std::make_shared<const wbem::Profile>(wbem::loadProfile(profilePath)));
    // The provider of this computer takes this place once it is part of the build.
    throw AgentError("This build cannot inventory this computer yet; serve a profile with --profile FILE");
}

}  // namespace vantrel::agent
