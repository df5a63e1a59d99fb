#include "store/previous_scan_changes.h"

#include "core/command.h"
#include "store/answers_json.h"

namespace vantrel {

ScanChanges changesSincePrevious(StoredContentIds previous, StoredContentIds latest, const ScanContent& latestContent,
                                 const std::function<std::string(std::int64_t)>& contentBody) {
    if (previous.report == latest.report && previous.answers == latest.answers) return {};
    ScanContent older{contentBody(previous.report), {}};
    // Answers that cannot be read back cost the comparison its identities, not the scan.
    if (previous.answers != 0) attempt([&] { older.answers = answersFromJson(contentBody(previous.answers)); });
    return compareScans(older, latestContent);
}

}  // namespace vantrel
