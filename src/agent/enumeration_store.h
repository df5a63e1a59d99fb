#pragma once
// Enumerations in progress: the items not yet pulled, under a context that
// changes with every Pull, owned by the user who started them, forgotten
// after a while without a Pull. Bounded in number, in all and per user.

#include <chrono>
#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <string>

namespace vantrel::agent {

struct Enumeration {
    std::string user;
    std::deque<std::string> items;  // serialized XML fragments
    std::size_t bytes() const {
        std::size_t n = 0;
        for (const auto& item : items) n += item.size();
        return n;
    }
};

struct StoreLimits {
    std::size_t maxEnumerations = 1024;
    std::size_t maxPerUser = 64;
    // The items a user's open enumerations may hold in all.
    std::size_t maxBytesPerUser = 64 * 1024 * 1024;
    std::chrono::seconds idleExpiry{60};
};

class EnumerationStore {
public:
    explicit EnumerationStore(StoreLimits limits = {}) : limits_(limits) {}

    // The new context, or nothing when the limits are reached.
    std::optional<std::string> put(Enumeration enumeration);
    // Takes the enumeration out; nothing when unknown, expired or another user's.
    std::optional<Enumeration> take(const std::string& context, const std::string& user);

private:
    using Clock = std::chrono::steady_clock;
    struct Entry {
        Enumeration enumeration;
        Clock::time_point expires;
    };
    void dropExpired();

    StoreLimits limits_;
    std::mutex mutex_;
    std::map<std::string, Entry> entries_;
};

}  // namespace vantrel::agent
