// libFuzzer target: comparing two scans as the history holds them, where
// the database's contents are untrusted. The input is the older report, a
// NUL, the newer report, a NUL, then the newer scan's answers (JSON).

#include <cstdint>
#include <string>

#include "store/change_format.h"
#include "store/answers_json.h"
#include "store/scan_comparison.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vantrel;
    const std::string input(reinterpret_cast<const char*>(data), size);
    const auto first = input.find('\0');
    const auto second = first == std::string::npos ? std::string::npos : input.find('\0', first + 1);
    ScanContent older{input.substr(0, first), {}};
    ScanContent newer{first == std::string::npos ? std::string() : input.substr(first + 1, second - first - 1), {}};
    if (second != std::string::npos) {
        try {
            newer.answers = answersFromJson(input.substr(second + 1));
            older.answers = newer.answers;
        } catch (const std::exception&) {
            // Not a profile: the load refuses it, the comparison never sees it.
        }
    }
    const ScanChanges changes = compareScans(older, newer);
    changesToText(changes);
    changesToJson({"node", "", {}, {}}, changes);
    changeSummary(changes);
    return 0;
}
