#pragma once
// Reading a class the way the collectors do, through the provider's
// services, for the tests.

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "providers/linux/hardware_names.h"
#include "providers/linux/linux_provider.h"
#include "wbem/wbem_error.h"

namespace vantrel::linuxhost::testing {

// Names by modalias prefix, so tests do not depend on this machine's database.
class FixedNames : public HardwareNames {
public:
    explicit FixedNames(std::map<std::string, HardwareName> names) : names_(std::move(names)) {}
    HardwareName lookup(std::string_view modalias) const override {
        for (const auto& [prefix, name] : names_)
            if (modalias.substr(0, prefix.size()) == prefix) return name;
        return {};
    }

private:
    std::map<std::string, HardwareName> names_;
};

using PropertyTexts = std::vector<std::string>;  // one per selected property; "<absent>" for none

// The rows of "Select a, b From Class" as texts.
inline std::vector<PropertyTexts> query(const std::filesystem::path& root, std::shared_ptr<const HardwareNames> names,
                                        const std::string& className, const std::vector<std::string>& properties) {
    LinuxProvider provider(root, std::move(names));
    auto services = provider.connect({"", "root\\cimv2", "", ""});
    std::string wql = "Select ";
    for (std::size_t i = 0; i < properties.size(); ++i) wql += (i ? ", " : "") + properties[i];
    auto rows = services->ExecQuery(wql + " From " + className);
    std::vector<PropertyTexts> out;
    while (auto row = rows->next()) {
        PropertyTexts texts;
        for (const auto& p : properties) {
            const wbem::Value v = row->property(p);
            if (v.kind() == wbem::Value::Kind::Array) {
                std::string joined = "[";
                for (const auto& e : v.elements()) joined += (joined.size() > 1 ? " " : "") + e.toText().value_or("?");
                texts.push_back(joined + "]");
            } else {
                texts.push_back(v.toText().value_or("<absent>"));
            }
        }
        out.push_back(std::move(texts));
    }
    return out;
}

}  // namespace vantrel::linuxhost::testing
