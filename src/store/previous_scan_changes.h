#pragma once
// What changed since a node's previous scan, for both stores: their scans
// point at stored contents by id, so equal ids mean nothing to compare and
// the old content is read back only when something differs.

#include <cstdint>
#include <functional>
#include <string>

#include "store/scan_comparison.h"

namespace vantrel {

struct StoredContentIds {
    std::int64_t report = 0;
    std::int64_t answers = 0;  // 0: the scan has no answers
};

// contentBody reads a stored content by id.
ScanChanges changesSincePrevious(StoredContentIds previous, StoredContentIds latest, const ScanContent& latestContent,
                                 const std::function<std::string(std::int64_t)>& contentBody);

}  // namespace vantrel
