#pragma once
// Shared pieces of the collection tests: a program state with one node, and a
// provider that fails on command around a profile.

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "collect/hardware_session.h"
#include "support/fake_ui.h"
#include "support/temp_folder.h"
#include "core/program_state.h"
#include "providers/profile/profile_provider.h"
#include "wbem/wbem_error.h"

namespace vantrel::test {

// Wraps a provider and fails the connection or the query numbered `failAt`
// (1-based, counted over all connections).
class FailingProvider : public wbem::Provider {
public:
    enum class Step { Connect, Query, Enumerate };
    FailingProvider(std::shared_ptr<wbem::Provider> inner, int failAt, Step step)
        : inner_(std::move(inner)), failAt_(failAt), step_(step) {}

    int connections = 0;
    std::vector<std::string> queries;

    std::unique_ptr<wbem::Services> connect(const wbem::ConnectRequest& request) override {
        ++connections;
        if (connections == failAt_ && step_ == Step::Connect)
            throw wbem::WbemError(wbem::ErrorCode::ConnectionFailed, "The RPC server is unavailable");
        return std::make_unique<Services>(*this, inner_->connect(request), connections == failAt_);
    }

private:
    struct FailingRows : wbem::RowSet {
        std::unique_ptr<wbem::RowSet> inner;
        int rowsBeforeFailure;
        std::unique_ptr<wbem::Row> next() override {
            if (rowsBeforeFailure-- == 0) throw wbem::WbemError(wbem::ErrorCode::Failed, "Generic failure");
            return inner->next();
        }
    };
    struct Services : wbem::Services {
        Services(FailingProvider& owner, std::unique_ptr<wbem::Services> inner, bool fail)
            : owner(owner), inner(std::move(inner)), fail(fail) {}
        FailingProvider& owner;
        std::unique_ptr<wbem::Services> inner;
        bool fail;
        std::unique_ptr<wbem::RowSet> ExecQuery(std::string_view wql) override {
            owner.queries.emplace_back(wql);
            if (fail && owner.step_ == Step::Query)
                throw wbem::WbemError(wbem::ErrorCode::Failed, "Quota violation");
            auto rows = inner->ExecQuery(wql);
            if (!fail || owner.step_ != Step::Enumerate) return rows;
            auto failing = std::make_unique<FailingRows>();
            failing->inner = std::move(rows);
            failing->rowsBeforeFailure = owner.rowsBeforeFailure;
            return failing;
        }
    };

    std::shared_ptr<wbem::Provider> inner_;
    int failAt_;
    Step step_;

public:
    int rowsBeforeFailure = 0;  // Step::Enumerate: rows delivered before the failure
};

inline std::shared_ptr<wbem::Provider> profileProvider(const std::string& json) {
    return std::make_shared<wbem::ProfileProvider>(
        std::make_shared<wbem::Profile>(wbem::parseProfile(json, "test profile")));
}

inline std::shared_ptr<wbem::Provider> profileProviderFromFile(const std::filesystem::path& file) {
    return std::make_shared<wbem::ProfileProvider>(std::make_shared<wbem::Profile>(wbem::loadProfile(file)));
}

// A program state with one node, current, and the login for it.
struct NodeFixture {
    explicit NodeFixture(std::filesystem::path home, std::string address = "10.0.0.7", std::string user = "")
        : state(ProgramFolder(std::move(home)), ui) {
        NodeRecord node;
        node.name = "LAB-07";
        node.displayName = "LAB-07";
        node.address = std::move(address);
        node.enabled = NodeEnabled::Shown;
        node.loginUser = std::move(user);
        node.scanStatus = ScanStatus::NotScanned;
        state.domain.nodes.currentNode = state.domain.nodes.append(node);
        state.domain.currentLogin =
            CurrentLogin{state.domain.nodes.node(1).address, state.domain.nodes.node(1).loginUser, ""};
        state.domain.settings.nodeLabelMode = NodeLabelMode::IpName;
        session.listener = &recorder;
    }
    NodeRecord& node() { return state.domain.nodes.node(1); }

    // Shows the scan in the scan dialog, as the desktop program does, and
    // records every status text with the progress width it was set at.
    struct Recorder : ScanListener {
        explicit Recorder(NodeFixture& f) : f(f) {}
        void categoryStarted(int step, int steps) override { f.state.scanPresenter.categoryStarted(step, steps); }
        void statusChanged(const std::string& text) override {
            f.state.scanPresenter.statusChanged(text);
            f.statuses.push_back(text);
            f.widths.push_back(f.state.windows.scanDialog.progressWidth);
        }
        void connectionRefused() override { f.state.scanPresenter.connectionRefused(); }
        NodeFixture& f;
    };

    FakeUi ui;
    ProgramState state;
    HardwareSession session;
    std::vector<std::string> statuses;
    std::vector<int> widths;  // the progress width when each status was set
    Recorder recorder{*this};
};

}  // namespace vantrel::test
