#pragma once
// Connecting to the current node: the node tag, the connect-and-query step
// every collector makes, and the connection test that decides whether a node
// is "Access denied".

#include <functional>
#include <memory>
#include <optional>
#include <vector>
#include <string>
#include <string_view>

#include "collect/hardware_session.h"
#include "core/program_state.h"

namespace vantrel {

// The node's own login user followed by its address, no separator.
std::string nodeTag(const NodeRecord& node);
// The current node's tag; empty when no node is current.
std::string currentNodeTag(const ProgramState& state);

// One connection: a fresh locator, ConnectServer with CurrentLogin and the
// namespace, then the query. The rows are released before the services.
class WmiQuery {
public:
    // Throws WmiError when connecting fails.
    WmiQuery(const ProgramState& state, HardwareSession& session);
    // Throws WmiError when the query cannot be issued.
    void exec(std::string_view wql);
    // Like exec, but a failure only leaves the query without rows.
    void execIgnoringErrors(std::string_view wql);
    // Calls `take` for every row delivered until it returns false. A failure
    // while enumerating ends the enumeration quietly: rows taken stay taken.
    // Only a lost connection (ConnectionFailed) is thrown on, as WmiError.
    void forEachRow(const std::function<bool(const wbem::Row&)>& take);

private:
    // Keeping the rows for session.answers, when it is set.
    void startAnswers(std::string_view wql);
    void keepAnswer(const wbem::Row& row);

    std::unique_ptr<wbem::Services> services_;
    std::unique_ptr<wbem::RowSet> rows_;
    ScanAnswers* answers_ = nullptr;
    std::optional<ScanAnswers::Cursor> answerCursor_;
    std::vector<std::string> selected_;  // empty: every property the row has
};

// The property as report text: text as delivered, integers in decimal,
// Booleans "True"/"False". A value that cannot be read or has no text form
// (absent, an array) gives an empty text, so the line is still written.
std::string readText(const wbem::Row& row, std::string_view property);

// The connection test of a scan.
void TestConnection(ProgramState& state, HardwareSession& session);

}  // namespace vantrel
