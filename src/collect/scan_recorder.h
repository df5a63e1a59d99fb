#pragma once
// Where a completed collection goes besides its report file: the report text
// and the answers behind it, for whoever keeps the history of the nodes.

#include <chrono>
#include <optional>
#include <string>

#include "collect/scan_answers.h"

namespace vantrel {

// How a scan reached the node's answers.
enum class ScanSource { Local, Remote, Profile, ImportedReport, Ssh };

std::string_view scanSourceText(ScanSource source);
// The source a text of scanSourceText names; nothing for any other text.
std::optional<ScanSource> scanSourceFromText(std::string_view text);

struct CollectedScan {
    std::string node;
    std::string address;
    ScanSource source = ScanSource::Local;
    std::chrono::system_clock::time_point time;
    std::string reportText;  // as written to the report file, without its final empty line
    ScanAnswers answers;
};

class ScanRecorder {
public:
    virtual ~ScanRecorder() = default;
    // Called on the collecting thread after the report file was written;
    // several collections may call it at once. Never throws: a recorder
    // that cannot keep the scan says so itself and the scan goes on.
    virtual void record(const CollectedScan& scan) noexcept = 0;
};

}  // namespace vantrel
