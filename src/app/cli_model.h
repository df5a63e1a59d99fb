#pragma once
// The virtual PC as the command line shows it (see model/headless_pc.h).

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "app/cli_quiet_ui.h"
#include "model/headless_pc.h"

namespace vantrel::cli {

// The virtual PC of the command line: what showing a report has to say
// goes to standard error after the command's name.
class HeadlessPc : public model::HeadlessPc {
public:
    HeadlessPc(const std::string& command, const std::string& home, const std::string& nodeName)
        : model::HeadlessPc(std::make_unique<QuietUi>(command), home, nodeName) {}
};

// Splits "A,B" or "AxB" into two numbers.
std::optional<std::pair<double, double>> numberPair(const std::string& text, char separator);

}  // namespace vantrel::cli
