#include "network/discovery/wsd_browser.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <thread>

#include "network/discovery/discoverer.h"
#include "network/discovery/discovery_error.h"
#include "network/discovery/multicast_socket.h"
#include "network/discovery/wsd_messages.h"
#include "network/discovery/wsd_transfer_get.h"

namespace vantrel::network {

namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* kGroup4 = "239.255.255.250";
constexpr const char* kGroup6 = "ff02::c";
constexpr unsigned short kWsdPort = 3702;
constexpr std::size_t kNameFetchers = 16;

struct Endpoint {
    Clock::time_point firstSeen;
    std::vector<std::string> addresses;  // dotted IPv4
    std::vector<std::string> xaddrs;     // usable ones, as heard
    bool resolveSent = false;
    bool gone = false;                   // said Bye
    std::optional<std::string> name;
};

bool isIpv4Literal(const std::string& host) {
    in_addr a{};
    return inet_pton(AF_INET, host.c_str(), &a) == 1;
}

// Asks the endpoints for their names on a few threads, each Get bounded by
// the deadline, so a slow peer cannot hold the run.
class NameFetchers {
public:
    explicit NameFetchers(Clock::time_point deadline) : deadline_(deadline) {}
    ~NameFetchers() { finish(); }

    // An endpoint can be offered again as more of its addresses are heard (one
    // answer over IPv6, another over IPv4): the ones not tried yet are asked
    // when its turn comes, or after a failed try.
    void offer(const std::string& sender, const std::string& endpoint, const std::vector<std::string>& xaddrs) {
        std::lock_guard lock(mutex_);
        if (names_.count(endpoint)) return;
        auto& tried = tried_[endpoint];
        auto& untried = untried_[endpoint];
        for (const auto& xaddr : xaddrs)
            if (!tried.count(xaddr) && std::find(untried.begin(), untried.end(), xaddr) == untried.end())
                untried.push_back(xaddr);
        if (untried.empty() || !scheduled_.insert(endpoint).second) return;
        schedule(sender, endpoint);
    }

    std::map<std::string, std::string> finish() {
        {
            std::lock_guard lock(mutex_);
            closed_ = true;
        }
        wake_.notify_all();
        for (auto& w : workers_)
            if (w.joinable()) w.join();
        std::lock_guard lock(mutex_);
        return names_;
    }

private:
    struct Job {
        std::string sender;
        std::string endpoint;
    };

    // Jobs are taken from the senders in turn, so one host answering for
    // thousands of endpoints cannot keep the others' names from being asked.
    // Called with the lock held.
    void schedule(const std::string& sender, const std::string& endpoint) {
        auto& jobs = jobsBySender_[sender];
        if (jobs.empty()) senderTurns_.push_back(sender);
        jobs.push_back({sender, endpoint});
        if (workers_.size() < kNameFetchers && idle_ == 0) workers_.emplace_back([this] { work(); });
        wake_.notify_one();
    }

    void work() {
        std::unique_lock lock(mutex_);
        for (;;) {
            ++idle_;
            wake_.wait(lock, [&] { return closed_ || !senderTurns_.empty(); });
            --idle_;
            if (senderTurns_.empty() || Clock::now() >= deadline_) return;
            const Job job = nextJob();
            std::vector<std::string> xaddrs = std::move(untried_[job.endpoint]);
            untried_[job.endpoint].clear();
            std::stable_partition(xaddrs.begin(), xaddrs.end(),
                                  [](const std::string& x) { return isIpv4Literal(xaddrHost(x)); });
            tried_[job.endpoint].insert(xaddrs.begin(), xaddrs.end());
            lock.unlock();
            std::optional<std::string> name;
            for (const auto& xaddr : xaddrs) {
                const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline_ - Clock::now());
                if (left.count() <= 0) break;
                if ((name = fetchComputerName(xaddr, job.endpoint, left))) break;
            }
            lock.lock();
            if (name) names_[job.endpoint] = *name;
            if (!name && !untried_[job.endpoint].empty()) schedule(job.sender, job.endpoint);
            else scheduled_.erase(job.endpoint);
        }
    }

    // The first job of the sender whose turn it is; the sender goes to the
    // back of the line while it has more. Called with the lock held.
    Job nextJob() {
        const std::string sender = std::move(senderTurns_.front());
        senderTurns_.pop_front();
        auto& jobs = jobsBySender_.at(sender);
        Job job = std::move(jobs.front());
        jobs.pop_front();
        if (jobs.empty()) jobsBySender_.erase(sender);
        else senderTurns_.push_back(sender);
        return job;
    }

    Clock::time_point deadline_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::map<std::string, std::deque<Job>> jobsBySender_;
    std::deque<std::string> senderTurns_;  // senders with jobs, whose turn comes first
    std::map<std::string, std::vector<std::string>> untried_;  // by endpoint
    std::map<std::string, std::set<std::string>> tried_;       // by endpoint
    std::set<std::string> scheduled_;                          // endpoints waiting or being asked
    std::vector<std::thread> workers_;
    std::size_t idle_ = 0;
    bool closed_ = false;
    std::map<std::string, std::string> names_;
};

class WsdRun {
public:
    WsdRun(const std::vector<MulticastInterface>& interfaces, Clock::time_point deadline)
        : interfaces_(interfaces), deadline_(deadline), fetchers_(deadline) {}

    TimedComputers run() {
        openSockets();
        const std::string probe = wsdProbeMessage(newMessageId());
        // Sent twice, as SOAP-over-UDP repeats: receivers drop the copy by its message id.
        const bool sent = sendEverywhere(probe) | sendEverywhere(probe);
        if (!sent) throw DiscoveryError(kErrorNotAccessible, "no probe could be sent on any interface");
        listen();
        return collect();
    }

private:
    void openSockets() {
        std::optional<DiscoveryError> firstError;
        for (int family : {AF_INET, AF_INET6}) {
            try {
                queries_.push_back(std::make_unique<MulticastSocket>(family));
            } catch (const DiscoveryError& e) {
                if (!firstError) firstError = e;
            }
            // Hellos and Byes go to the group port; hearing them is a bonus, so a
            // port another program holds exclusively is no failure.
            try {
                announcements_.push_back(std::make_unique<MulticastSocket>(
                    family, kWsdPort, family == AF_INET ? kGroup4 : kGroup6, interfaces_));
            } catch (const DiscoveryError&) {
            }
        }
        if (queries_.empty()) throw *firstError;
    }

    bool sendEverywhere(const std::string& message) {
        bool any = false;
        for (auto& socket : queries_)
            for (const auto& interface : interfaces_)
                any |= socket->sendToGroup(message, socket->family() == AF_INET ? kGroup4 : kGroup6, kWsdPort,
                                           interface);
        return any;
    }

    void listen() {
        std::vector<MulticastSocket*> sockets;
        for (auto& s : queries_) sockets.push_back(s.get());
        for (auto& s : announcements_) sockets.push_back(s.get());
        while (Clock::now() < deadline_) {
            for (auto* socket : waitReadable(sockets, deadline_))
                while (auto datagram = socket->receive(kMaxWsdDatagram)) handle(*datagram);
        }
    }

    void handle(const Datagram& datagram) {
        for (const auto& heard : parseWsdDatagram(datagram.bytes)) {
            using Kind = WsdAnnouncement::Kind;
            auto known = endpoints_.find(heard.endpoint);
            if (heard.kind == Kind::Bye) {
                if (known != endpoints_.end()) known->second.gone = true;
                continue;
            }
            if (known == endpoints_.end()) {
                if (!heard.isComputer || endpoints_.size() >= kMaxComputers) continue;
                known = endpoints_.emplace(heard.endpoint, Endpoint{Clock::now(), {}, {}, false, false, {}}).first;
                order_.push_back(heard.endpoint);
            }
            Endpoint& endpoint = known->second;
            if (heard.kind == Kind::Hello) endpoint.gone = false;
            remember(endpoint.addresses, datagram.sourceIpv4);
            const std::size_t knownXaddrs = endpoint.xaddrs.size();
            for (const auto& xaddr : heard.xaddrs) {
                // Only addresses of the sender itself: an announcement must not
                // make us post to some other host.
                const std::string reachable = reachableXaddr(xaddr, datagram.sourceText, datagram.sourceScope);
                if (reachable.empty()) continue;
                remember(endpoint.xaddrs, reachable);
                if (isIpv4Literal(xaddrHost(xaddr))) remember(endpoint.addresses, xaddrHost(xaddr));
            }
            if (endpoint.xaddrs.size() > knownXaddrs) {
                fetchers_.offer(datagram.sourceText, heard.endpoint, endpoint.xaddrs);
            } else if (endpoint.xaddrs.empty() && !endpoint.resolveSent) {
                endpoint.resolveSent = true;
                sendEverywhere(wsdResolveMessage(newMessageId(), heard.endpoint));
            }
        }
    }

    static void remember(std::vector<std::string>& list, const std::string& value) {
        if (!value.empty() && std::find(list.begin(), list.end(), value) == list.end()) list.push_back(value);
    }

    TimedComputers collect() {
        const auto names = fetchers_.finish();
        TimedComputers out;
        for (const auto& key : order_) {
            const Endpoint& endpoint = endpoints_.at(key);
            const auto name = names.find(key);
            if (endpoint.gone || name == names.end()) continue;
            out.push_back({endpoint.firstSeen, {name->second, endpoint.addresses, DiscoverySource::Wsd}});
        }
        return out;
    }

    const std::vector<MulticastInterface>& interfaces_;
    Clock::time_point deadline_;
    std::vector<std::unique_ptr<MulticastSocket>> queries_;
    std::vector<std::unique_ptr<MulticastSocket>> announcements_;
    std::map<std::string, Endpoint> endpoints_;
    std::vector<std::string> order_;
    NameFetchers fetchers_;
};

}  // namespace

std::string xaddrHost(const std::string& xaddr) {
    const std::string scheme = "http://";
    if (xaddr.rfind(scheme, 0) != 0) return {};
    const std::string rest = xaddr.substr(scheme.size());
    if (!rest.empty() && rest.front() == '[') {
        const auto close = rest.find(']');
        if (close == std::string::npos) return {};
        std::string host = rest.substr(1, close - 1);
        if (host.find('%') != std::string::npos) return {};  // link-local with a zone: not followed
        return host;
    }
    const auto end = rest.find_first_of(":/");
    return rest.substr(0, end);
}

std::string reachableXaddr(const std::string& xaddr, const std::string& sender, unsigned scope) {
    const std::string host = xaddrHost(xaddr);
    if (host.empty() || host != sender) return {};
    in6_addr v6{};
    if (inet_pton(AF_INET6, host.c_str(), &v6) != 1 || !IN6_IS_ADDR_LINKLOCAL(&v6)) return xaddr;
    if (scope == 0) return {};
    const auto close = xaddr.find(']');  // "%25" is the zone's separator written in a URL
    return xaddr.substr(0, close) + "%25" + std::to_string(scope) + xaddr.substr(close);
}

TimedComputers browseWsd(const std::vector<MulticastInterface>& interfaces, Clock::time_point deadline) {
    return WsdRun(interfaces, deadline).run();
}

}  // namespace vantrel::network
