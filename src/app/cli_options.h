#pragma once
// Reading the options of the command line's table commands: each takes
// --home DIR after its name too, as the global option before it.

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace vantrel::cli {

// Walks the arguments; `value()` takes the current option's value.
class OptionReader {
public:
    explicit OptionReader(const std::vector<std::string>& args) : args_(args) {}
    bool next() { return ++i_ < args_.size(); }
    const std::string& option() const { return args_[i_]; }
    // The value after the current option, or nothing when it is the last.
    std::optional<std::string> value() {
        if (i_ + 1 >= args_.size()) return std::nullopt;
        return args_[++i_];
    }

private:
    const std::vector<std::string>& args_;
    std::size_t i_ = static_cast<std::size_t>(-1);
};

// A whole number in [low, high], or nothing.
inline std::optional<int> parseNumber(const std::string& text, int low, int high) {
    char* end = nullptr;
    const long n = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || n < low || n > high) return std::nullopt;
    return static_cast<int>(n);
}

}  // namespace vantrel::cli
