#pragma once
// This computer's hardware, answering the management interface's queries
// from the machine's own files: the SMBIOS table, /proc, /sys, /etc and
// udev's records, all read below a source root ("/" unless a copy of another
// machine's files is given). Classes without a Linux source answer no rows;
// classes it does not know fail their enumeration, as the real service does.

#include <filesystem>
#include <memory>
#include <string_view>
#include <vector>

#include "providers/linux/hardware_names.h"
#include "providers/linux/source_root.h"
#include "wbem/services.h"
#include "wbem/table_services.h"

namespace vantrel::linuxhost {

class LinuxProvider : public wbem::Provider {
public:
    explicit LinuxProvider(std::filesystem::path root = "/",
                           std::shared_ptr<const HardwareNames> names = hardwareDatabaseNames());
    // This computer only (an empty server, or a name for it such as
    // "localhost"), namespace root\cimv2; any login is accepted.
    std::unique_ptr<wbem::Services> connect(const wbem::ConnectRequest& request) override;

private:
    std::filesystem::path root_;
    std::shared_ptr<const HardwareNames> names_;
};

// Every class the provider answers, in a fixed order.
const std::vector<std::string_view>& linuxClassNames();

// The rows of one class (its name compared without regard to case); nullptr
// for a class the provider does not know.
std::shared_ptr<const wbem::Table> readLinuxClass(const std::filesystem::path& root,
                                                  std::shared_ptr<const HardwareNames> names,
                                                  std::string_view className);
std::shared_ptr<const wbem::Table> readLinuxClass(const SourceRoot& root, std::shared_ptr<const HardwareNames> names,
                                                  std::string_view className);

}  // namespace vantrel::linuxhost
