#pragma once
// The settings file "vantrel.ini": nine lines (default user, default password,
// camera Z, Y, X, background colour, node label mode, show passwords switch,
// management namespace), read once at start-up and written once at exit.

#include <cstdint>
#include <string>
#include <string_view>

#include "core/program_state.h"

namespace vantrel {

// Numeric value of a settings line: spaces removed, then the longest leading
// number (sign, digits, decimal point, exponent); 0 when there is none.
double numericValue(std::string_view text);

// A number the way the settings file has always written it: one space before a
// non-negative value, the shortest decimal digits (no leading zero before the
// point), one space after; -10 is "-10 ", 0 is " 0 ", 0.5 is " .5 ".
std::string formatPrintNumber(float value);
std::string formatPrintNumber(std::int32_t value);

// Reads the settings file into the state, line by line, stopping silently at
// the first missing line; what was read so far stays. A file that exists but
// cannot be read is marked unreadable, so that it is never written.
void loadSettings(ProgramState& state);

std::string formatSettingsFile(const Settings& settings);

// Writes the settings file atomically with owner-only permissions (it holds
// the default password); an unreadable one is left alone. Failures are
// swallowed; returns whether the file was written.
bool saveSettings(const ProgramState& state);

}  // namespace vantrel
