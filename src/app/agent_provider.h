#pragma once
// What the agent serves: a profile when one is named, else this computer.

#include <memory>
#include <string>

#include "wbem/services.h"

namespace vantrel::agent {

// Throws when the provider cannot be made (a bad profile, or no provider of
// this computer in this build).
std::shared_ptr<wbem::Provider> servedProvider(const std::string& profilePath);

}  // namespace vantrel::agent
