#pragma once
// The rows of one enumeration: the items of the Enumerate answer first, then
// Pull after Pull with the latest context until the end of the sequence.

#include <chrono>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "providers/wsman/cim_values.h"
#include "providers/wsman/wsman_session.h"
#include "wbem/services.h"
#include "wbem/wbem_error.h"

namespace vantrel::wsman {

class WsmanRowSet : public wbem::RowSet {
public:
    // `first` is the answer to the Enumerate; a fault in it is the error of
    // the first next(), as the management interface reports query errors
    // while enumerating.
    WsmanRowSet(std::shared_ptr<WsmanSession> session, Response first,
                std::shared_ptr<const std::vector<std::string>> selected, unsigned maxElements,
                std::chrono::milliseconds deadline);
    ~WsmanRowSet() override;

    std::unique_ptr<wbem::Row> next() override;

private:
    void take(Response& response);
    void pullMore();

    std::shared_ptr<WsmanSession> session_;
    std::shared_ptr<const std::vector<std::string>> selected_;  // null for "*" or a statement we do not read
    unsigned maxElements_;
    std::chrono::steady_clock::time_point deadline_;
    std::deque<PropertyList> pending_;
    std::string context_;
    bool ended_ = false;     // no further Pull is made
    bool finished_ = false;  // the node said the sequence ended: nothing to release
    int emptyPulls_ = 0;
    std::optional<wbem::WbemError> failure_;  // repeated on every later call
};

}  // namespace vantrel::wsman
