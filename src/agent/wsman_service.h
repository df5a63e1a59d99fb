#pragma once
// The WS-Management side of the agent: Identify, and Enumerate / Pull /
// Release of WQL queries on the WMI resource URI, answered from a provider
// as WinRM answers them (w:XmlFragment items, a new context on every Pull,
// the end of the sequence in w: after Enumerate and in n: after Pull, pages
// bounded by MaxEnvelopeSize). Logins are checked before this is reached.

#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include "agent/enumeration_store.h"
#include "wbem/services.h"

namespace vantrel::agent {

struct AgentReply {
    int status = 200;
    std::string body;
};

struct ServiceLimits {
    StoreLimits store;
    std::size_t maxItemsPerQuery = 100000;
    // What one query may ask: a class has a few dozen properties.
    std::size_t maxQueryBytes = 8 * 1024;
    std::size_t maxPropertiesPerQuery = 256;
    // The items one query may hold in memory until they are pulled.
    std::size_t maxBytesPerQuery = 16 * 1024 * 1024;
};

class WsmanService {
public:
    WsmanService(std::shared_ptr<wbem::Provider> provider, std::string productVersion, ServiceLimits limits = {});

    // Never throws: every failure is a SOAP fault.
    AgentReply handle(std::string_view request, const std::string& user);

private:
    struct Request;
    AgentReply identify() const;
    AgentReply enumerate(const Request& request, const std::string& user);
    AgentReply pull(const Request& request, const std::string& user);
    AgentReply release(const Request& request, const std::string& user);
    AgentReply page(const Request& request, Enumeration enumeration, bool afterEnumerate);

    std::shared_ptr<wbem::Provider> provider_;
    // Providers read the machine with no promise of being safe to share
    // between threads; queries take turns.
    std::mutex providerMutex_;
    std::string productVersion_;
    ServiceLimits limits_;
    EnumerationStore store_;
};

}  // namespace vantrel::agent
