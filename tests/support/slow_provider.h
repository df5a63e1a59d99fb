#pragma once
// A provider that takes its time: it answers like the provider it wraps, but
// sleeps before every query, or only before the queries that contain a given
// text (the connection test's query once per node, for instance). Thread-safe
// when the wrapped provider is.

#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <string_view>
#include <thread>

#include "wbem/services.h"

namespace vantrel::test {

class SlowProvider : public wbem::Provider {
public:
    SlowProvider(std::shared_ptr<wbem::Provider> inner, std::chrono::milliseconds delay, std::string onlyQueriesWith = {})
        : inner_(std::move(inner)), delay_(delay), filter_(std::move(onlyQueriesWith)) {}

    std::unique_ptr<wbem::Services> connect(const wbem::ConnectRequest& request) override {
        return std::make_unique<SlowServices>(*this, inner_->connect(request));
    }

    std::atomic<int> queries{0};

private:
    struct SlowServices : wbem::Services {
        SlowServices(SlowProvider& owner, std::unique_ptr<wbem::Services> inner) : owner(owner), inner(std::move(inner)) {}
        std::unique_ptr<wbem::RowSet> ExecQuery(std::string_view wql) override {
            ++owner.queries;
            if (owner.filter_.empty() || wql.find(owner.filter_) != std::string_view::npos)
                std::this_thread::sleep_for(owner.delay_);
            return inner->ExecQuery(wql);
        }
        SlowProvider& owner;
        std::unique_ptr<wbem::Services> inner;
    };

    std::shared_ptr<wbem::Provider> inner_;
    std::chrono::milliseconds delay_;
    std::string filter_;
};

}  // namespace vantrel::test
