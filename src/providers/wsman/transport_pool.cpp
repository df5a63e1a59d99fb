#include "providers/wsman/transport_pool.h"

namespace vantrel::wsman {

namespace {
constexpr std::size_t kIdlePerKey = 4;
}

std::string TransportPool::keyOf(const TransportSettings& s) {
    std::string key;
    for (const std::string* part : {&s.url, &s.user, &s.password, &s.trustFile}) {
        key += std::to_string(part->size()) + ":" + *part;  // length-prefixed, so no two differ only by splitting
    }
    key += std::to_string(s.connectTimeout.count()) + "/" + std::to_string(s.requestTimeout.count()) + "/" +
           std::to_string(s.maxResponseBytes);
    return key;
}

std::unique_ptr<HttpTransport> TransportPool::take(const TransportSettings& settings) {
    {
        std::lock_guard lock(mutex_);
        auto it = idle_.find(keyOf(settings));
        if (it != idle_.end() && !it->second.empty()) {
            auto transport = std::move(it->second.back());
            it->second.pop_back();
            return transport;
        }
    }
    return std::make_unique<HttpTransport>(settings);
}

void TransportPool::give(std::unique_ptr<HttpTransport> transport) {
    if (!transport) return;
    std::lock_guard lock(mutex_);
    auto& list = idle_[keyOf(transport->settings())];
    if (list.size() < kIdlePerKey) list.push_back(std::move(transport));
}

}  // namespace vantrel::wsman
