#pragma once
// Peers the LAN tests run themselves, each on a thread inside a namespace of
// the test LAN: a WS-Discovery responder with an HTTP metadata server, and a
// multicast DNS responder. What they answer is up to the test, so they can
// be hostile.

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace vantrel::network::lan {

// Runs `body(stop)` on a thread that has entered network namespace `ns`
// (a name under /run/netns); the destructor sets `stop` and joins.
class NamespaceThread {
public:
    NamespaceThread(const std::string& ns, std::function<void(const std::atomic<bool>& stop)> body);
    ~NamespaceThread();
    // What made the body fail, if it threw.
    std::string error() const;

private:
    mutable std::mutex errorMutex_;
    std::string error_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

// Answers every WS-Discovery Probe heard on 239.255.255.250:3702 with the
// datagrams `answers` gives, sent back to the prober.
using ProbeAnswers = std::function<std::vector<std::string>()>;
void runWsdResponder(const std::atomic<bool>& stop, const ProbeAnswers& answers);

// Serves HTTP POSTs on `port`, answering with `body(path)` (status 200), one
// thread per connection.
using HttpBody = std::function<std::string(const std::string& path)>;
void runHttpServer(const std::atomic<bool>& stop, unsigned short port, const HttpBody& body);

// Answers every one-shot multicast DNS query with the datagrams `answers` gives.
void runMdnsResponder(const std::atomic<bool>& stop, const ProbeAnswers& answers);

// Sends `message` to the WS-Discovery group out of eth0 (Hello, Bye).
void sendToWsdGroup(const std::string& message);

// Messages the responders send.
std::string helloMessage(const std::string& endpoint, const std::string& xaddr);
std::string byeMessage(const std::string& endpoint);
std::string probeMatches(const std::vector<std::pair<std::string, std::string>>& endpointsAndXaddrs);
std::string computerMetadata(const std::string& computerText);

struct FakeService {
    std::string instance;  // "x._ssh._tcp.local"
    std::string host;      // "x.local"
    std::string ipv4;      // "10.1.2.3"
};
std::string mdnsAnswer(const std::vector<FakeService>& services);

}  // namespace vantrel::network::lan
