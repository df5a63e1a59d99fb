#include "agent/login_guard.h"

#include <arpa/inet.h>
#include <sodium.h>

#include <algorithm>
#include <cstdio>
#include <thread>

namespace vantrel::agent {

namespace {
constexpr int kParallelHashes = 2;
constexpr std::size_t kMaxTracked = 4096;  // places, accounts and remembered logins
}  // namespace

std::string loginPlaceOf(const std::string& clientAddress) {
    unsigned char bytes[16];
    if (::inet_pton(AF_INET6, clientAddress.c_str(), bytes) != 1) return clientAddress;  // IPv4, or unparsable
    static const unsigned char kMapped[12] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF};
    if (std::equal(kMapped, kMapped + 12, bytes)) {
        char text[INET_ADDRSTRLEN];
        return ::inet_ntop(AF_INET, bytes + 12, text, sizeof text) ? text : clientAddress;
    }
    char text[48];
    std::snprintf(text, sizeof text, "%x:%x:%x:%x::/64", bytes[0] << 8 | bytes[1], bytes[2] << 8 | bytes[3],
                  bytes[4] << 8 | bytes[5], bytes[6] << 8 | bytes[7]);
    return text;
}

LoginGuard::LoginGuard(UserHashes users, LoginPolicy policy) : users_(std::move(users)), policy_(policy) {
    if (sodium_init() < 0) throw AgentError("The password library cannot start");
    randombytes_buf(key_, sizeof key_);
}

std::string LoginGuard::proofOf(const std::string& place, const std::string& user, const std::string& password) const {
    unsigned char out[32];
    crypto_generichash_state state;
    crypto_generichash_init(&state, key_, sizeof key_, sizeof out);
    for (const std::string* part : {&place, &user}) {
        const std::string length = std::to_string(part->size()) + ":";
        crypto_generichash_update(&state, reinterpret_cast<const unsigned char*>(length.data()), length.size());
        crypto_generichash_update(&state, reinterpret_cast<const unsigned char*>(part->data()), part->size());
    }
    crypto_generichash_update(&state, reinterpret_cast<const unsigned char*>(password.data()), password.size());
    crypto_generichash_final(&state, out, sizeof out);
    return std::string(reinterpret_cast<const char*>(out), sizeof out);
}

bool LoginGuard::lockedOut(Failures& f) {
    if (f.count > 0 && Clock::now() - f.windowStart > policy_.failureWindow) f = {};
    return f.count >= policy_.failuresBeforeLockout;
}

void LoginGuard::countFailure(Failures& f) {
    if (f.count == 0 || Clock::now() - f.windowStart > policy_.failureWindow) f = {0, Clock::now()};
    ++f.count;
}

std::chrono::milliseconds LoginGuard::accountDelay(const std::string& user) {
    auto it = accounts_.find(user);
    if (it == accounts_.end()) return {};
    if (Clock::now() - it->second.windowStart > policy_.failureWindow) {
        accounts_.erase(it);
        return {};
    }
    return std::min(policy_.accountDelayStep * it->second.count, policy_.accountDelayLimit);
}

bool LoginGuard::verifySlowly(const std::string& hash, const std::string& password) {
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return hashesRunning_ < kParallelHashes; });
        ++hashesRunning_;
    }
    const bool ok = passwordMatches(hash, password);
    {
        std::lock_guard lock(mutex_);
        --hashesRunning_;
    }
    changed_.notify_all();
    return ok;
}

bool LoginGuard::check(const std::string& clientAddress, const std::string& user, const std::string& password) {
    const std::string place = loginPlaceOf(clientAddress);
    const std::string proof = proofOf(place, user, password);
    std::chrono::milliseconds delay{};
    {
        std::unique_lock lock(mutex_);
        if (places_.size() >= kMaxTracked && !places_.count(place)) {
            // Forget the places that are neither locked out nor being checked.
            for (auto it = places_.begin(); it != places_.end();)
                it = !it->second.checking && !lockedOut(it->second.failures) ? places_.erase(it) : std::next(it);
        }
        // Looked up anew after every wait: the entry may have been forgotten meanwhile.
        changed_.wait(lock, [&] { return !places_[place].checking; });
        Place& here = places_[place];
        // The lockout first, always: nothing spares a locked-out place.
        if (lockedOut(here.failures)) {
            lock.unlock();
            std::this_thread::sleep_for(policy_.failureDelay);
            return false;
        }
        auto remembered = remembered_.find(proof);
        if (remembered != remembered_.end() && Clock::now() < remembered->second) return true;
        // Counted now, so that guesses sent together meet the threshold one by one.
        countFailure(here.failures);
        here.checking = true;
        delay = accountDelay(user);
    }
    std::this_thread::sleep_for(delay);
    auto known = users_.find(user);
    // An unknown user costs the same hash as a known one, so names cannot be probed.
    static const std::string kDummy = hashPassword("vantrel-agent dummy");
    const bool ok = verifySlowly(known != users_.end() ? known->second : kDummy, password) && known != users_.end();
    {
        std::lock_guard lock(mutex_);
        Place& here = places_[place];
        here.checking = false;
        if (ok) {
            here.failures = {};
            if (remembered_.size() >= kMaxTracked) remembered_.clear();
            remembered_[proof] = Clock::now() + policy_.rememberFor;
        } else {
            if (accounts_.size() >= kMaxTracked && !accounts_.count(user)) accounts_.clear();
            countFailure(accounts_[user]);
        }
    }
    changed_.notify_all();
    if (!ok) std::this_thread::sleep_for(policy_.failureDelay);
    return ok;
}

}  // namespace vantrel::agent
