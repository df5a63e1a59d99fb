#include "collect/connection.h"

#include "collect/scan_failure.h"
#include "core/command.h"
#include "wbem/wql.h"

namespace vantrel {

namespace {

// A management call whose failure ends the collection: whatever a provider
// throws becomes the collection's WmiError.
template <typename Call>
auto managementCall(Call&& call) -> decltype(call()) {
    try {
        return call();
    } catch (const wbem::WbemError& e) {
        throw WmiError(e.code(), e.what());
    } catch (const std::exception& e) {
        throw WmiError(wbem::ErrorCode::Failed, e.what());
    }
}

}  // namespace

std::string nodeTag(const NodeRecord& node) { return node.loginUser + node.address; }

std::string currentNodeTag(const ProgramState& state) {
    const int i = state.domain.nodes.currentNode;
    return state.domain.nodes.isNode(i) ? nodeTag(state.domain.nodes.node(i)) : std::string();
}

WmiQuery::WmiQuery(const ProgramState& state, HardwareSession& session) : answers_(session.answers) {
    const CurrentLogin& login = state.domain.currentLogin;
    services_ = managementCall([&] {
        wbem::Locator locator(session.provider);
        return locator.ConnectServer(login.server, state.domain.settings.wmiNamespace, login.user, login.password);
    });
}

void WmiQuery::exec(std::string_view wql) {
    rows_ = managementCall([&] { return services_->ExecQuery(wql); });
    if (!rows_) throw WmiError(wbem::ErrorCode::Failed, "The query gave no result: " + std::string(wql));
    startAnswers(wql);
}

void WmiQuery::execIgnoringErrors(std::string_view wql) {
    if (!attempt([&] { rows_ = services_->ExecQuery(wql); })) rows_.reset();
    if (rows_) startAnswers(wql);
}

void WmiQuery::startAnswers(std::string_view wql) {
    if (!answers_) return;
    attempt([&] {
        wbem::WqlSelect select = wbem::parseWql(wql);
        selected_ = std::move(select.properties);
        answerCursor_.emplace(*answers_, select.className);
    });
}

void WmiQuery::keepAnswer(const wbem::Row& row) {
    if (!answerCursor_) return;
    std::vector<std::string> names = selected_;
    if (names.empty()) attempt([&] { names = row.propertyNames(); });
    std::vector<std::pair<std::string, wbem::Value>> properties;
    properties.reserve(names.size());
    for (auto& name : names) {
        wbem::Value value;
        attempt([&] { value = row.property(name); });  // unreadable: kept as absent
        properties.emplace_back(std::move(name), std::move(value));
    }
    answerCursor_->add(std::move(properties));
}

void WmiQuery::forEachRow(const std::function<bool(const wbem::Row&)>& take) {
    if (!rows_) return;
    while (true) {
        std::unique_ptr<wbem::Row> row;
        try {
            row = rows_->next();
        } catch (const wbem::WbemError& e) {
            // A node that stops answering mid-enumeration leaves the section
            // incomplete: that ends the run instead of passing for a short list.
            if (e.code() == wbem::ErrorCode::ConnectionFailed) throw WmiError(e.code(), e.what());
            return;
        } catch (const std::exception&) {
            return;  // any other failure ends the section, as a failed read does
        }
        if (!row) return;
        keepAnswer(*row);
        if (!take(*row)) return;
    }
}

std::string readText(const wbem::Row& row, std::string_view property) {
    // Unreadable: the line is written empty.
    std::string text;
    attempt([&] { text = row.property(property).toText().value_or(std::string()); });
    return text;
}

void TestConnection(ProgramState& state, HardwareSession& session) {
    const std::string tag = currentNodeTag(state);
    session.listener->statusChanged("Connecting to WMI " + tag);
    session.refusal.clear();
    session.refusedLogin = false;
    std::unique_ptr<WmiQuery> query;
    try {
        query = std::make_unique<WmiQuery>(state, session);
        query->exec("Select Name From Win32_ComputerSystem");
    } catch (const WmiError& e) {
        query.reset();
        // Every failure marks the node "Access denied"; the status text and
        // the node's last result say what it really was.
        session.refusedLogin = e.code() == wbem::ErrorCode::AccessDenied;
        session.refusal = failureText(e.code(), e.what());
        std::string status = "Connection to " + tag + " failed: " + session.refusal;
        if (session.refusedLogin) {
            // "Access denied", or "Access denied: " and what the node said about it.
            status = "Access denied to " + tag + session.refusal.substr(std::string_view(kAccessDeniedResult).size());
        }
        session.listener->statusChanged(status);
        NodeTable& nodes = state.domain.nodes;
        if (nodes.isNode(nodes.currentNode)) {
            nodes.node(nodes.currentNode).scanStatus = ScanStatus::AccessDenied;
            nodes.node(nodes.currentNode).lastResult = session.refusal;
        }
        state.domain.accessDeniedFlag = true;
        session.listener->connectionRefused();
        return;
    }
    try {
        query->forEachRow([&](const wbem::Row& row) {
            readText(row, "Name");
            session.listener->statusChanged("Connected to " + tag);
            return true;
        });
    } catch (const WmiError&) {
        // Not a failure of the test; the collection run meets it again and stops.
    }
}

}  // namespace vantrel
