#pragma once
// A scan seen as pieces of hardware that can be matched across scans: each
// with the key that identifies it (a serial number where there is one,
// otherwise the model with its slot or position), a name for people, and the
// details whose change makes it "changed" rather than another part.

#include <string>
#include <utility>
#include <vector>

#include "collect/scan_answers.h"

namespace vantrel {

struct Component {
    std::string category;  // the report's keyword: "Memory", "Disk Drive", ...
    std::string key;
    std::string name;
    std::vector<std::pair<std::string, std::string>> details;

    friend bool operator==(const Component&, const Component&) = default;
};

// The components of one scan. With `useAnswers`, the
// categories that have identity answers come from them; every other
// category (and every one without answers) comes from the report's entries.
// Report text and answers are untrusted: what cannot be read is left out.
std::vector<Component> scanComponents(const std::string& reportText, const ScanAnswers& answers, bool useAnswers);

// A serial number worth matching on: not empty, not a maker's placeholder.
bool isRealSerial(std::string_view serial);

}  // namespace vantrel
