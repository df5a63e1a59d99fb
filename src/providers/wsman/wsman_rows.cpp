#include "providers/wsman/wsman_rows.h"

#include "providers/wsman/fault_errors.h"
#include "wbem/wql.h"

namespace vantrel::wsman {

namespace {

// A server that keeps answering without items and without an end is not
// going to finish.
constexpr int kMaxEmptyPulls = 64;

class WsmanRow : public wbem::Row {
public:
    WsmanRow(PropertyList properties, std::shared_ptr<const std::vector<std::string>> selected)
        : properties_(std::move(properties)), selected_(std::move(selected)) {}

    wbem::Value property(std::string_view name) const override {
        for (const auto& [key, value] : properties_)
            if (wbem::equalsIgnoreCase(key, name)) return value;
        if (selected_)
            for (const auto& s : *selected_)
                if (wbem::equalsIgnoreCase(s, name)) return wbem::Value();
        throw wbem::WbemError(wbem::ErrorCode::NotFound, "Property not found: " + std::string(name));
    }

    // The selected properties; for "Select *" (no select list) those the node sent.
    std::vector<std::string> propertyNames() const override {
        if (selected_ && !selected_->empty()) return *selected_;
        std::vector<std::string> names;
        for (const auto& [key, value] : properties_) names.push_back(key);
        return names;
    }

private:
    PropertyList properties_;
    std::shared_ptr<const std::vector<std::string>> selected_;
};

wbem::WbemError tookTooLong() {
    return wbem::WbemError(wbem::ErrorCode::ConnectionFailed, "The enumeration took too long and was given up");
}

}  // namespace

WsmanRowSet::WsmanRowSet(std::shared_ptr<WsmanSession> session, Response first,
                         std::shared_ptr<const std::vector<std::string>> selected, unsigned maxElements,
                         std::chrono::milliseconds deadline)
    : session_(std::move(session)),
      selected_(std::move(selected)),
      maxElements_(maxElements),
      deadline_(std::chrono::steady_clock::now() + deadline) {
    if (first.kind == ResponseKind::Fault) {
        failure_ = faultError(first.fault);
        ended_ = true;
    } else if (first.kind != ResponseKind::Enumerate) {
        failure_ = wbem::WbemError(wbem::ErrorCode::ConnectionFailed, "The server did not answer the Enumerate");
        ended_ = true;
    } else {
        try {
            take(first);
        } catch (const wbem::WbemError& e) {
            failure_ = e;
            ended_ = true;
        }
    }
}

WsmanRowSet::~WsmanRowSet() {
    // An enumeration left early (a fault, a limit, the deadline, a caller that
    // stopped reading) still holds one of the user's few contexts on the node.
    if (!finished_ && !context_.empty() && session_->healthy()) {
        try {
            session_->release(context_);
        } catch (const std::exception&) {
            // The node forgets it by itself in time.
        }
    }
}

void WsmanRowSet::take(Response& response) {
    for (const RawItem& item : response.items) {
        // The deadline covers reading the answers too, not only waiting for them.
        if (std::chrono::steady_clock::now() > deadline_) throw tookTooLong();
        pending_.push_back(convertItem(item));
    }
    // Every answer brings a new context; only the latest is valid.
    context_ = std::move(response.context);
    ended_ = finished_ = response.endOfSequence;
    if (!ended_ && context_.empty())
        throw wbem::WbemError(wbem::ErrorCode::ConnectionFailed,
                              "The server ended the enumeration without saying so (no context, no end of sequence)");
}

void WsmanRowSet::pullMore() {
    if (std::chrono::steady_clock::now() > deadline_) throw tookTooLong();
    Response response;
    try {
        response = session_->pull(context_, maxElements_);
    } catch (const wbem::WbemError& e) {
        if (e.code() == wbem::ErrorCode::AccessDenied) throw;
        throw wbem::WbemError(wbem::ErrorCode::ConnectionFailed, std::string("The enumeration broke off: ") + e.what());
    }
    if (response.kind == ResponseKind::Fault) {
        // The node's own time limit passed: the context stays valid, ask again.
        if (response.fault.subcode == "TimedOut") {
            if (++emptyPulls_ > kMaxEmptyPulls)
                throw wbem::WbemError(wbem::ErrorCode::Failed, "The node keeps timing out on this enumeration");
            return;
        }
        // Only this class's enumeration ends, with the rows taken so far.
        const wbem::WbemError e = faultError(response.fault);
        throw wbem::WbemError(e.code(), "The enumeration broke off: " + std::string(e.what()));
    }
    if (response.kind != ResponseKind::Pull)
        throw wbem::WbemError(wbem::ErrorCode::ConnectionFailed, "The server did not answer the Pull");
    emptyPulls_ = response.items.empty() ? emptyPulls_ + 1 : 0;
    if (emptyPulls_ > kMaxEmptyPulls)
        throw wbem::WbemError(wbem::ErrorCode::ConnectionFailed, "The server keeps answering without items");
    take(response);
}

std::unique_ptr<wbem::Row> WsmanRowSet::next() {
    if (failure_) throw *failure_;
    try {
        while (pending_.empty() && !ended_) pullMore();
    } catch (const wbem::WbemError& e) {
        failure_ = e;
        ended_ = true;
        throw;
    }
    if (pending_.empty()) return nullptr;
    auto row = std::make_unique<WsmanRow>(std::move(pending_.front()), selected_);
    pending_.pop_front();
    return row;
}

}  // namespace vantrel::wsman
