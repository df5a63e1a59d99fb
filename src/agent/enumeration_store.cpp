#include "agent/enumeration_store.h"

#include "providers/wsman/xml_text.h"

namespace vantrel::agent {

void EnumerationStore::dropExpired() {
    const auto now = Clock::now();
    for (auto it = entries_.begin(); it != entries_.end();)
        it = it->second.expires < now ? entries_.erase(it) : std::next(it);
}

std::optional<std::string> EnumerationStore::put(Enumeration enumeration) {
    std::lock_guard lock(mutex_);
    dropExpired();
    if (entries_.size() >= limits_.maxEnumerations) return std::nullopt;
    std::size_t mine = 0;
    std::size_t bytes = enumeration.bytes();
    for (const auto& [context, entry] : entries_) {
        if (entry.enumeration.user != enumeration.user) continue;
        ++mine;
        bytes += entry.enumeration.bytes();
    }
    if (mine >= limits_.maxPerUser || bytes > limits_.maxBytesPerUser) return std::nullopt;
    std::string context = wsman::newUuid();
    entries_[context] = Entry{std::move(enumeration), Clock::now() + limits_.idleExpiry};
    return context;
}

std::optional<Enumeration> EnumerationStore::take(const std::string& context, const std::string& user) {
    std::lock_guard lock(mutex_);
    dropExpired();
    auto it = entries_.find(context);
    if (it == entries_.end() || it->second.enumeration.user != user) return std::nullopt;
    Enumeration out = std::move(it->second.enumeration);
    entries_.erase(it);
    return out;
}

}  // namespace vantrel::agent
