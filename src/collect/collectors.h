#pragma once
// The 33 collectors as one family: the catalogue says what each asks and
// writes; eight categories add a rule of their own (a filter, a change of
// case, a second query or a wider error guard).

#include <string>
#include <string_view>

#include "collect/catalogue.h"
#include "collect/hardware_session.h"
#include "core/program_state.h"
#include "wbem/value.h"

namespace vantrel {

// Whether a failure ends the whole collection: a node that cannot be reached
// (lost or refused connection, timeout, untrusted certificate), that refuses
// the login, or that lacks the namespace. Any other failure is one class's.
bool endsTheRun(wbem::ErrorCode code);

// Runs the category's collector on the current node and appends its section
// (keyword, count, value lines) to session.ReportText, using
// session.SectionLines for the value lines. Throws WmiError only for a
// failure that ends the run; a class's own failure at the start of its
// enumeration leaves the section empty, and during it keeps the rows taken.
void runCollector(ProgramState& state, HardwareSession& session, const HardwareCategory& category);

// The "Enclosure" chassis line for a ChassisTypes value: "Chassis: " and the
// names of the codes. The portable codes (8, 9, 10, 14) put "laptop" in the
// text, never at its start; no other code does.
std::string chassisLine(const wbem::Value& chassisTypes);

// The kind of a memory card from its upper-cased model: "USB", replaced in
// turn by "MS", "FLASH", "SD", "MMC", "SM" for each that the model contains
// after its first character.
std::string memoryCardKind(std::string_view upperModel);

// A wireless network adapter, by its name or description: "Wireless",
// "Wi-Fi", "WLAN" or "802.11" in any letter case.
bool isWirelessAdapter(std::string_view name);

// A network adapter of the operating system rather than a card: its maker is
// "Microsoft", or its name says "Virtual", "Hyper-V", "Loopback", "TAP" or "VPN".
bool isVirtualAdapter(std::string_view name, std::string_view maker);

}  // namespace vantrel
