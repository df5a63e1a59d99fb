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

}  // namespace vantrel
