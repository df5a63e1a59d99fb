#include "lan_peers.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <net/if.h>
#include <netinet/in.h>
#include <poll.h>
#include <sched.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <mutex>
#include <stdexcept>

namespace vantrel::network::lan {

namespace {

int boundUdp(unsigned short port, const char* group) {
    const int fd = socket(AF_INET, SOCK_DGRAM, 0);
    const int on = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_port = htons(port);
    if (bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0) throw std::runtime_error("bind");
    ip_mreqn join{};
    inet_pton(AF_INET, group, &join.imr_multiaddr);
    join.imr_ifindex = static_cast<int>(if_nametoindex("eth0"));
    if (setsockopt(fd, IPPROTO_IP, IP_ADD_MEMBERSHIP, &join, sizeof join) != 0) throw std::runtime_error("join");
    return fd;
}

bool readable(int fd, const std::atomic<bool>& stop) {
    pollfd p{fd, POLLIN, 0};
    return !stop && poll(&p, 1, 50) > 0;
}

// Answers queries that `isQuery` accepts with the given datagrams.
void respond(const std::atomic<bool>& stop, unsigned short port, const char* group,
             const std::function<bool(const std::string&, unsigned short)>& isQuery, const ProbeAnswers& answers) {
    const int fd = boundUdp(port, group);
    std::string buffer(65536, '\0');
    while (!stop) {
        if (!readable(fd, stop)) continue;
        sockaddr_in from{};
        socklen_t length = sizeof from;
        const ssize_t n = recvfrom(fd, buffer.data(), buffer.size(), 0, reinterpret_cast<sockaddr*>(&from), &length);
        if (n <= 0 || !isQuery(buffer.substr(0, static_cast<std::size_t>(n)), ntohs(from.sin_port))) continue;
        for (const auto& answer : answers()) {
            sendto(fd, answer.data(), answer.size(), 0, reinterpret_cast<sockaddr*>(&from), length);
            std::this_thread::sleep_for(std::chrono::microseconds(200));  // keep the receiver's queue from overflowing
        }
    }
    close(fd);
}

void put16(std::string& out, unsigned value) {
    out += static_cast<char>((value >> 8) & 0xFF);
    out += static_cast<char>(value & 0xFF);
}

void putName(std::string& out, const std::string& name) {
    std::size_t start = 0;
    while (start < name.size()) {
        auto dot = name.find('.', start);
        if (dot == std::string::npos) dot = name.size();
        out += static_cast<char>(dot - start);
        out.append(name, start, dot - start);
        start = dot + 1;
    }
    out += '\0';
}

void putRecord(std::string& out, const std::string& name, unsigned type, const std::string& data) {
    putName(out, name);
    put16(out, type);
    put16(out, 1);
    put16(out, 0);
    put16(out, 10);  // ttl
    put16(out, static_cast<unsigned>(data.size()));
    out += data;
}

void serveConnection(int client, const HttpBody& body) {
    std::string request;
    char chunk[4096];
    std::size_t need = std::string::npos;
    timeval timeout{2, 0};
    setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    while (need == std::string::npos || request.size() < need) {
        const ssize_t n = recv(client, chunk, sizeof chunk, 0);
        if (n <= 0) break;
        request.append(chunk, static_cast<std::size_t>(n));
        const auto end = request.find("\r\n\r\n");
        if (end != std::string::npos && need == std::string::npos) {
            std::size_t contentLength = 0;
            const auto header = request.find("Content-Length: ");
            if (header != std::string::npos && header < end) contentLength = std::stoul(request.substr(header + 16));
            need = end + 4 + contentLength;
        }
    }
    // A client that gave up before sending its request line (the browser's window closed) gets
    // nothing back, as from a real server.
    const auto pathStart = request.find(' ');
    const auto pathEnd = pathStart == std::string::npos ? std::string::npos : request.find(' ', pathStart + 1);
    if (pathEnd == std::string::npos || pathEnd == pathStart + 1) {
        close(client);
        return;
    }
    const std::string path = request.substr(pathStart + 1, pathEnd - pathStart - 1);
    const std::string content = body(path);
    std::string response = "HTTP/1.1 200 OK\r\nContent-Type: application/soap+xml\r\nContent-Length: " +
                           std::to_string(content.size()) + "\r\nConnection: close\r\n\r\n" + content;
    for (std::size_t sent = 0; sent < response.size();) {
        const ssize_t n = send(client, response.data() + sent, response.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) break;
        sent += static_cast<std::size_t>(n);
    }
    close(client);
}

}  // namespace

NamespaceThread::NamespaceThread(const std::string& ns, std::function<void(const std::atomic<bool>& stop)> body) {
    std::atomic<int> entered{0};
    thread_ = std::thread([this, ns, body = std::move(body), &entered] {
        const int fd = open(("/run/netns/" + ns).c_str(), O_RDONLY | O_CLOEXEC);
        const bool ok = fd >= 0 && setns(fd, CLONE_NEWNET) == 0;
        if (fd >= 0) close(fd);
        entered = ok ? 1 : -1;
        entered.notify_one();
        if (!ok) return;
        try {
            body(stop_);
        } catch (const std::exception& e) {
            std::lock_guard lock(errorMutex_);
            error_ = e.what();
        }
    });
    entered.wait(0);
    if (entered < 0) {
        thread_.join();
        throw std::runtime_error("cannot enter network namespace " + ns);
    }
}

std::string NamespaceThread::error() const {
    std::lock_guard lock(errorMutex_);
    return error_;
}

NamespaceThread::~NamespaceThread() {
    stop_ = true;
    thread_.join();
}

void runWsdResponder(const std::atomic<bool>& stop, const ProbeAnswers& answers) {
    respond(stop, 3702, "239.255.255.250",
            [](const std::string& message, unsigned short) {
                return message.find("/discovery/Probe<") != std::string::npos;
            },
            answers);
}

void runMdnsResponder(const std::atomic<bool>& stop, const ProbeAnswers& answers) {
    respond(stop, 5353, "224.0.0.251",
            [](const std::string& message, unsigned short port) {
                // One-shot queries only (from another port than 5353), and
                // only the browse for the service types (several questions,
                // one of them _workstation), not the follow-ups that ask for
                // one instance or host each.
                return port != 5353 && message.size() > 12 && !(message[2] & 0x80) && message[4] == 0 &&
                       message[5] > 1 && message.find("\x0c_workstation") != std::string::npos;
            },
            answers);
}

void runHttpServer(const std::atomic<bool>& stop, unsigned short port, const HttpBody& body) {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    const int on = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_port = htons(port);
    if (bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0 || listen(fd, 256) != 0)
        throw std::runtime_error("http listen");
    std::vector<std::thread> connections;
    while (!stop) {
        if (!readable(fd, stop)) continue;
        const int client = accept(fd, nullptr, nullptr);
        if (client >= 0) connections.emplace_back(serveConnection, client, body);
    }
    for (auto& c : connections) c.join();
    close(fd);
}

void sendToWsdGroup(const std::string& message) {
    const int fd = socket(AF_INET, SOCK_DGRAM, 0);
    ip_mreqn via{};
    via.imr_ifindex = static_cast<int>(if_nametoindex("eth0"));
    setsockopt(fd, IPPROTO_IP, IP_MULTICAST_IF, &via, sizeof via);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(3702);
    inet_pton(AF_INET, "239.255.255.250", &to.sin_addr);
    sendto(fd, message.data(), message.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
    close(fd);
}

namespace {

std::string announcement(const std::string& element, const std::string& endpoint, const std::string& inside) {
    return "<soap:Envelope xmlns:soap=\"http://www.w3.org/2003/05/soap-envelope\" "
           "xmlns:wsa=\"http://schemas.xmlsoap.org/ws/2004/08/addressing\" "
           "xmlns:wsd=\"http://schemas.xmlsoap.org/ws/2005/04/discovery\" "
           "xmlns:wsdp=\"http://schemas.xmlsoap.org/ws/2006/02/devprof\" "
           "xmlns:pub=\"http://schemas.microsoft.com/windows/pub/2005/07\"><soap:Header><wsa:Action>"
           "http://schemas.xmlsoap.org/ws/2005/04/discovery/" + element + "</wsa:Action></soap:Header><soap:Body><wsd:" +
           element + "><wsa:EndpointReference><wsa:Address>" + endpoint + "</wsa:Address></wsa:EndpointReference>" +
           inside + "</wsd:" + element + "></soap:Body></soap:Envelope>";
}

}  // namespace

std::string helloMessage(const std::string& endpoint, const std::string& xaddr) {
    return announcement("Hello", endpoint,
                        "<wsd:Types>wsdp:Device pub:Computer</wsd:Types><wsd:XAddrs>" + xaddr +
                            "</wsd:XAddrs><wsd:MetadataVersion>1</wsd:MetadataVersion>");
}

std::string byeMessage(const std::string& endpoint) { return announcement("Bye", endpoint, ""); }

std::string probeMatches(const std::vector<std::pair<std::string, std::string>>& endpointsAndXaddrs) {
    std::string out =
        "<?xml version=\"1.0\" encoding=\"utf-8\"?><soap:Envelope "
        "xmlns:soap=\"http://www.w3.org/2003/05/soap-envelope\" "
        "xmlns:wsa=\"http://schemas.xmlsoap.org/ws/2004/08/addressing\" "
        "xmlns:wsd=\"http://schemas.xmlsoap.org/ws/2005/04/discovery\" "
        "xmlns:wsdp=\"http://schemas.xmlsoap.org/ws/2006/02/devprof\" "
        "xmlns:pub=\"http://schemas.microsoft.com/windows/pub/2005/07\"><soap:Header><wsa:Action>"
        "http://schemas.xmlsoap.org/ws/2005/04/discovery/ProbeMatches</wsa:Action></soap:Header><soap:Body>"
        "<wsd:ProbeMatches>";
    for (const auto& [endpoint, xaddr] : endpointsAndXaddrs)
        out += "<wsd:ProbeMatch><wsa:EndpointReference><wsa:Address>" + endpoint +
               "</wsa:Address></wsa:EndpointReference><wsd:Types>wsdp:Device pub:Computer</wsd:Types><wsd:XAddrs>" +
               xaddr + "</wsd:XAddrs><wsd:MetadataVersion>1</wsd:MetadataVersion></wsd:ProbeMatch>";
    return out + "</wsd:ProbeMatches></soap:Body></soap:Envelope>";
}

std::string computerMetadata(const std::string& computerText) {
    return "<soap:Envelope xmlns:soap=\"http://www.w3.org/2003/05/soap-envelope\" "
           "xmlns:pub=\"http://schemas.microsoft.com/windows/pub/2005/07\"><soap:Body><pub:Computer>" +
           computerText + "</pub:Computer></soap:Body></soap:Envelope>";
}

std::string mdnsAnswer(const std::vector<FakeService>& services) {
    std::string out;
    put16(out, 0);
    put16(out, 0x8400);
    put16(out, 0);
    put16(out, static_cast<unsigned>(services.size() * 3));
    put16(out, 0);
    put16(out, 0);
    for (const auto& s : services) {
        std::string instance;
        putName(instance, s.instance);
        putRecord(out, "_workstation._tcp.local", 12, instance);
        std::string srv;
        put16(srv, 0);
        put16(srv, 0);
        put16(srv, 9);
        putName(srv, s.host);
        putRecord(out, s.instance, 33, srv);
        in_addr a{};
        inet_pton(AF_INET, s.ipv4.c_str(), &a);
        putRecord(out, s.host, 1, std::string(reinterpret_cast<const char*>(&a), 4));
    }
    return out;
}

}  // namespace vantrel::network::lan
