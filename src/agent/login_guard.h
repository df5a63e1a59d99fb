#pragma once
// Checks Basic logins against the users file without letting the slow hash
// become a weapon. Failures lock out the place they come from (an IPv4
// address, or an IPv6 /64, which one attacker holds whole); the lockout is
// checked before anything else; an attempt counts from the moment it starts,
// and a place has one check under way at a time, so guesses sent at once
// cannot race past the threshold. A login that passed is remembered for a
// few minutes for the same place and the same credentials only (as a keyed
// hash, never the password). An account under attack from many places gets
// a growing delay, short enough never to lock its owner out for long. At
// most two hashes are computed at once.

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
    // Per failure of an account within the window, whatever the place; at most accountDelayLimit.
    std::chrono::milliseconds accountDelayStep{100};
    std::chrono::milliseconds accountDelayLimit{3000};
};

// The place failures are counted for: the address itself for IPv4, the /64
// for IPv6 ("2001:db8:1:2::/64"); IPv4-mapped IPv6 addresses count as IPv4.
std::string loginPlaceOf(const std::string& clientAddress);

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
    struct Place {
        Failures failures;
        bool checking = false;  // a check from here is under way
    };
    std::string proofOf(const std::string& place, const std::string& user, const std::string& password) const;
    // With the mutex held: counts a failure in the window that `f` holds.
    void countFailure(Failures& f);
    bool lockedOut(Failures& f);
    std::chrono::milliseconds accountDelay(const std::string& user);
    bool verifySlowly(const std::string& hash, const std::string& password);

    UserHashes users_;
    LoginPolicy policy_;
    unsigned char key_[32];
    std::mutex mutex_;
    std::condition_variable changed_;
    int hashesRunning_ = 0;
    std::map<std::string, Clock::time_point> remembered_;  // proof -> valid until
    std::map<std::string, Place> places_;
    std::map<std::string, Failures> accounts_;             // failures per user name
};

}  // namespace vantrel::agent
