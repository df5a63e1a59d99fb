#include "network/name_resolution.h"

#include <algorithm>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "network/discovery/mdns_query.h"
#include "network/host_lookup.h"

namespace vantrel::network {

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::size_t kParallelLookups = 32;
constexpr std::chrono::milliseconds kMdnsLookupTime{1000};

bool isLoopback(const std::string& address) { return address.rfind("127.", 0) == 0; }

bool endsWithLocal(const std::string& name) {
    const std::string suffix = ".local";
    return name.size() > suffix.size() && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// Shared by the coordinator and the lookup threads; a thread whose lookup
// was abandoned still holds it, so it outlives resolveNames.
struct LookupBoard {
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<NameToResolve> names;
    NameResolvers resolvers;
    std::size_t next = 0;                            // next name no thread has taken
    std::vector<std::optional<Clock::time_point>> started;
    std::vector<bool> settled;                       // answered, or given up on
    std::vector<std::string> answers;
    std::size_t settledCount = 0;
};

void lookupWorker(std::shared_ptr<LookupBoard> board) {
    std::unique_lock lock(board->mutex);
    while (board->next < board->names.size()) {
        const std::size_t i = board->next++;
        board->started[i] = Clock::now();
        const NameToResolve name = board->names[i];
        lock.unlock();
        std::string answer = resolveName(name, board->resolvers);
        lock.lock();
        if (!board->settled[i]) {
            board->settled[i] = true;
            board->answers[i] = std::move(answer);
            ++board->settledCount;
        } else {
            // Given up on while it ran: the coordinator started a thread in
            // its place, so this one steps aside.
            return;
        }
        board->changed.notify_all();
    }
}

}  // namespace

NameResolvers systemResolvers() {
    return {ipv4Addresses, [](const std::string& host) { return queryMdnsAddresses(host, kMdnsLookupTime); }};
}

std::string chooseAddress(const std::vector<std::string>& addresses) {
    auto reachable = std::find_if(addresses.begin(), addresses.end(), [](const std::string& a) { return !isLoopback(a); });
    if (reachable != addresses.end()) return *reachable;
    return addresses.empty() ? std::string() : addresses.front();
}

std::string resolveName(const NameToResolve& name, const NameResolvers& resolvers) {
    if (name.name.empty()) return {};
    // Each source in turn, until one gives an address other computers can
    // reach; a loopback answer is kept only when no source has anything else.
    std::string loopback;
    auto reachable = [&loopback](const std::vector<std::string>& answer) {
        const std::string chosen = chooseAddress(answer);
        if (!chosen.empty() && isLoopback(chosen)) {
            if (loopback.empty()) loopback = chosen;
            return std::string();
        }
        return chosen;
    };
    if (resolvers.system)
        if (auto address = reachable(resolvers.system(name.name)); !address.empty()) return address;
    if (auto address = reachable(name.discoveredAddresses); !address.empty()) return address;
    if (resolvers.mdns)
        if (auto address = reachable(resolvers.mdns(endsWithLocal(name.name) ? name.name : name.name + ".local"));
            !address.empty())
            return address;
    return loopback;
}

std::vector<std::string> resolveNames(const std::vector<NameToResolve>& names, const NameResolvers& resolvers,
                                      std::chrono::milliseconds limit) {
    if (names.empty()) return {};
    auto board = std::make_shared<LookupBoard>();
    board->names = names;
    board->resolvers = resolvers;
    board->started.resize(names.size());
    board->settled.assign(names.size(), false);
    board->answers.resize(names.size());
    const std::size_t threads = std::min(kParallelLookups, names.size());
    for (std::size_t t = 0; t < threads; ++t) std::thread(lookupWorker, board).detach();

    std::unique_lock lock(board->mutex);
    while (board->settledCount < names.size()) {
        // Wake at the earliest moment a running lookup overruns.
        auto wakeAt = Clock::now() + limit;
        for (std::size_t i = 0; i < names.size(); ++i)
            if (board->started[i] && !board->settled[i]) wakeAt = std::min(wakeAt, *board->started[i] + limit);
        board->changed.wait_until(lock, wakeAt);
        const auto now = Clock::now();
        for (std::size_t i = 0; i < names.size(); ++i) {
            if (board->started[i] && !board->settled[i] && now >= *board->started[i] + limit) {
                board->settled[i] = true;  // answer stays empty
                ++board->settledCount;
                std::thread(lookupWorker, board).detach();
            }
        }
    }
    return board->answers;
}

}  // namespace vantrel::network
