#include "collect/scan_recorder.h"

namespace vantrel {

std::string_view scanSourceText(ScanSource source) {
    switch (source) {
        case ScanSource::Local: return "local";
        case ScanSource::Remote: return "WS-Management";
        case ScanSource::Profile: return "profile";
        case ScanSource::ImportedReport: return "imported report";
        case ScanSource::Ssh: return "SSH";
    }
    return "unknown";
}

std::optional<ScanSource> scanSourceFromText(std::string_view text) {
    for (ScanSource s : {ScanSource::Local, ScanSource::Remote, ScanSource::Profile, ScanSource::ImportedReport,
                         ScanSource::Ssh})
        if (scanSourceText(s) == text) return s;
    return std::nullopt;
}

}  // namespace vantrel
