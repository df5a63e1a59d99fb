#include "agent/login_guard.h"

#include <sodium.h>

#include <thread>

namespace vantrel::agent {

namespace {
constexpr int kParallelHashes = 2;
constexpr std::size_t kMaxTracked = 4096;  // addresses and remembered logins
}  // namespace

LoginGuard::LoginGuard(UserHashes users, LoginPolicy policy) : users_(std::move(users)), policy_(policy) {
    if (sodium_init() < 0) throw AgentError("The password library cannot start");
    randombytes_buf(key_, sizeof key_);
}

std::string LoginGuard::proofOf(const std::string& user, const std::string& password) const {
    unsigned char out[32];
    crypto_generichash_state state;
    crypto_generichash_init(&state, key_, sizeof key_, sizeof out);
    const std::string len = std::to_string(user.size()) + ":";
    crypto_generichash_update(&state, reinterpret_cast<const unsigned char*>(len.data()), len.size());
    crypto_generichash_update(&state, reinterpret_cast<const unsigned char*>(user.data()), user.size());
    crypto_generichash_update(&state, reinterpret_cast<const unsigned char*>(password.data()), password.size());
    crypto_generichash_final(&state, out, sizeof out);
    return std::string(reinterpret_cast<const char*>(out), sizeof out);
}

bool LoginGuard::lockedOut(const std::string& clientAddress) {
    auto it = failures_.find(clientAddress);
    if (it == failures_.end()) return false;
    if (Clock::now() - it->second.windowStart > policy_.failureWindow) {
        failures_.erase(it);
        return false;
    }
    return it->second.count >= policy_.failuresBeforeLockout;
}

void LoginGuard::noteFailure(const std::string& clientAddress) {
    if (failures_.size() >= kMaxTracked) failures_.clear();
    Failures& f = failures_[clientAddress];
    if (f.count == 0 || Clock::now() - f.windowStart > policy_.failureWindow) f = {0, Clock::now()};
    ++f.count;
}

bool LoginGuard::verifySlowly(const std::string& hash, const std::string& password) {
    {
        std::unique_lock lock(mutex_);
        hashSlotFree_.wait(lock, [this] { return hashesRunning_ < kParallelHashes; });
        ++hashesRunning_;
    }
    const bool ok = passwordMatches(hash, password);
    {
        std::lock_guard lock(mutex_);
        --hashesRunning_;
    }
    hashSlotFree_.notify_one();
    return ok;
}

bool LoginGuard::check(const std::string& clientAddress, const std::string& user, const std::string& password) {
    const std::string proof = proofOf(user, password);
    bool locked = false;
    {
        std::lock_guard lock(mutex_);
        auto it = remembered_.find(proof);
        if (it != remembered_.end() && Clock::now() < it->second) return true;
        locked = lockedOut(clientAddress);
    }
    bool ok = false;
    if (!locked) {
        auto user_it = users_.find(user);
        // An unknown user costs the same hash as a known one, so names cannot be probed.
        static const std::string kDummy = hashPassword("vantrel-agent dummy");
        ok = verifySlowly(user_it != users_.end() ? user_it->second : kDummy, password) && user_it != users_.end();
    }
    {
        std::lock_guard lock(mutex_);
        if (ok) {
            if (remembered_.size() >= kMaxTracked) remembered_.clear();
            remembered_[proof] = Clock::now() + policy_.rememberFor;
            failures_.erase(clientAddress);
            return true;
        }
        if (!locked) noteFailure(clientAddress);
    }
    std::this_thread::sleep_for(policy_.failureDelay);
    return false;
}

}  // namespace vantrel::agent
