#include "store/answers_json.h"

#include "providers/profile/profile_provider.h"
#include "store/store_error.h"

namespace vantrel {

namespace {
constexpr const char* kNamespace = "root\\cimv2";
}

std::string answersToJson(const ScanAnswers& answers) {
    if (answers.empty()) return {};
    wbem::Profile profile;
    wbem::ProfileNamespace ns{kNamespace, {}};
    for (const auto& c : answers.classes()) ns.classes.push_back({c.name, c.rows});
    profile.namespaces.push_back(std::move(ns));
    return wbem::writeProfile(profile);
}

ScanAnswers answersFromJson(std::string_view json) {
    ScanAnswers answers;
    if (json.empty()) return answers;
    wbem::Profile profile;
    try {
        profile = wbem::parseProfile(json, "stored answers");
    } catch (const std::exception& e) {
        throw StoreError(std::string("the inventory store holds answers that are no profile: ") + e.what());
    }
    for (auto& ns : profile.namespaces)
        for (auto& c : ns.classes) answers.classes().push_back({std::move(c.name), std::move(c.rows)});
    return answers;
}

}  // namespace vantrel
