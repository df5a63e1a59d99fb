#include "collect/connection.h"

namespace vantrel {

std::string nodeTag(const NodeRecord& node) { return node.loginUser + node.address; }

std::string currentNodeTag(const ProgramState& state) {
    const int i = state.domain.nodes.currentNode;
    return state.domain.nodes.isNode(i) ? nodeTag(state.domain.nodes.node(i)) : std::string();
}

WmiQuery::WmiQuery(const ProgramState& state, HardwareSession& session) {
    const CurrentLogin& login = state.domain.currentLogin;
    try {
        wbem::Locator locator(session.provider);
        services_ = locator.ConnectServer(login.server, state.domain.settings.wmiNamespace, login.user, login.password);
    } catch (const wbem::WbemError& e) {
        throw WmiError(e.code(), e.what());
    }
}

void WmiQuery::exec(std::string_view wql) {
    try {
        rows_ = services_->ExecQuery(wql);
    } catch (const wbem::WbemError& e) {
        throw WmiError(e.code(), e.what());
    }
    if (!rows_) throw WmiError(wbem::ErrorCode::Failed, "The query gave no result: " + std::string(wql));
}

void WmiQuery::execIgnoringErrors(std::string_view wql) {
    try {
        rows_ = services_->ExecQuery(wql);
    } catch (const std::exception&) {
        rows_.reset();
    }
}

void WmiQuery::forEachRow(const std::function<bool(const wbem::Row&)>& take) {
    if (!rows_) return;
    while (true) {
        std::unique_ptr<wbem::Row> row;
        try {
            row = rows_->next();
        } catch (const std::exception&) {
            return;
        }
        if (!row || !take(*row)) return;
    }
}

std::string readText(const wbem::Row& row, std::string_view property) {
    try {
        if (auto text = row.property(property).toText()) return *text;
    } catch (const std::exception&) {
        // Unreadable: the line is written empty.
    }
    return {};
}

void TestConnection(ProgramState& state, HardwareSession& session) {
    const std::string tag = currentNodeTag(state);
    session.listener->statusChanged("Connecting to WMI " + tag);
    std::unique_ptr<WmiQuery> query;
    try {
        query = std::make_unique<WmiQuery>(state, session);
        query->exec("Select Name From Win32_ComputerSystem");
    } catch (const std::exception&) {
        query.reset();
        session.listener->statusChanged("Access denied to " + tag);
        NodeTable& nodes = state.domain.nodes;
        if (nodes.isNode(nodes.currentNode)) nodes.node(nodes.currentNode).scanStatus = ScanStatus::AccessDenied;
        state.domain.accessDeniedFlag = true;
        session.listener->connectionRefused();
        return;
    }
    query->forEachRow([&](const wbem::Row& row) {
        readText(row, "Name");
        session.listener->statusChanged("Connected to " + tag);
        return true;
    });
}

}  // namespace vantrel
