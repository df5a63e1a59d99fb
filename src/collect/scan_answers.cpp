#include "collect/scan_answers.h"

#include "wbem/ascii.h"

namespace vantrel {

ScanAnswers::Cursor::Cursor(ScanAnswers& answers, std::string_view className)
    : answers_(answers), class_(answers.classNamed(className)) {}

void ScanAnswers::Cursor::add(std::vector<std::pair<std::string, wbem::Value>> properties) {
    wbem::Table& rows = answers_.classes_[class_].rows;
    if (next_ == rows.size()) rows.emplace_back();
    auto& row = rows[next_++].properties;
    for (auto& [name, value] : properties) {
        bool known = false;
        for (auto& [had, old] : row) {
            if (!wbem::equalsIgnoreCase(had, name)) continue;
            // A value beats an absent one; otherwise the first answer stays.
            if (old.isAbsent()) old = value;
            known = true;
            break;
        }
        if (!known) row.emplace_back(std::move(name), std::move(value));
    }
}

const AnsweredClass* ScanAnswers::find(std::string_view className) const {
    for (const auto& c : classes_)
        if (wbem::equalsIgnoreCase(c.name, className)) return &c;
    return nullptr;
}

std::size_t ScanAnswers::classNamed(std::string_view className) {
    for (std::size_t i = 0; i < classes_.size(); ++i)
        if (wbem::equalsIgnoreCase(classes_[i].name, className)) return i;
    classes_.push_back({std::string(className), {}});
    return classes_.size() - 1;
}

}  // namespace vantrel
