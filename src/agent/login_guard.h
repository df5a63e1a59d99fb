#pragma once
// Checks Basic logins against the users file without letting the slow hash
// become a weapon: a login that passed is remembered for a few minutes (as a
// keyed hash, never the password), at most two hashes are computed at once,
// and an address with many recent failures is refused without a check until
// it has waited.

#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <string>

#include "agent/users_file.h"

namespace vantrel::agent {

struct LoginPolicy {
    std::chrono::seconds rememberFor{300};
    int failuresBeforeLockout = 5;
    std::chrono::seconds failureWindow{60};
    // Added to every failed login before it is answered.
    std::chrono::milliseconds failureDelay{400};
};

class LoginGuard {
public:
    LoginGuard(UserHashes users, LoginPolicy policy = {});
    // True when the login is right. Blocks for the failure delay when not.
    bool check(const std::string& clientAddress, const std::string& user, const std::string& password);

private:
    using Clock = std::chrono::steady_clock;
    struct Failures {
        int count = 0;
        Clock::time_point windowStart;
    };
    std::string proofOf(const std::string& user, const std::string& password) const;
    bool lockedOut(const std::string& clientAddress);
    void noteFailure(const std::string& clientAddress);
    bool verifySlowly(const std::string& hash, const std::string& password);

    UserHashes users_;
    LoginPolicy policy_;
    unsigned char key_[32];
    std::mutex mutex_;
    std::condition_variable hashSlotFree_;
    int hashesRunning_ = 0;
    std::map<std::string, Clock::time_point> remembered_;  // proof -> valid until
    std::map<std::string, Failures> failures_;              // per client address
};

}  // namespace vantrel::agent
