#pragma once
// What the agent serves: a profile when one is named, else this computer.

#include <memory>
#include <string>

#include "wbem/services.h"

namespace vantrel::agent {

// Throws when the named profile cannot be read.
std::shared_ptr<wbem::Provider> servedProvider(const std::string& profilePath);

}  // namespace vantrel::agent
