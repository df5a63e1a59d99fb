#pragma once
// This computer's SMBIOS table under a source root. Reading it needs root;
// without it the table is simply absent and callers fall back to
// /sys/class/dmi/id.

#include <optional>

#include "providers/linux/smbios_parser.h"
#include "providers/linux/source_root.h"

namespace vantrel::linuxhost {

std::optional<SmbiosTable> readSmbios(const SourceRoot& root);

}  // namespace vantrel::linuxhost
