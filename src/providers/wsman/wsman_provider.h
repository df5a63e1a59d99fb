#pragma once
// The management interface of another computer over WS-Management: Windows
// nodes through WinRM, Linux nodes through vantrel-agent.
//
// ConnectServer sends an authenticated Identify, so a refused login is
// "access denied" at once and an unreachable node a clear failure. ExecQuery
// sends the Enumerate with the WQL filter; the rows then stream in as the
// enumeration is pulled to its end.

#include <chrono>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "wbem/services.h"

namespace vantrel::wsman {

struct NodeConnectionSettings {
    // Plain HTTP (port 5985) with Basic: the password crosses the network
    // readable by anyone, so only when the user asks for it.
    bool plainHttp = false;
    // HTTP (port 5985) with a Negotiate login (Kerberos with the user's
    // ticket, or NTLM through gss-ntlmssp) and every message sealed with it:
    // WinRM's listener out of the box.
    bool sealedHttp = false;
    // HTTPS with a Negotiate login instead of Basic.
    bool negotiateHttps = false;
    std::string trustFile;  // PEM certificate or CA file trusted for this node
    std::chrono::milliseconds connectTimeout{5000};
    std::chrono::milliseconds requestTimeout{30000};
    std::size_t maxEnvelopeSize = 512000;
    std::size_t maxResponseBytes = 8u << 20;
    // No enumeration of one query may take longer than this in all.
    std::chrono::milliseconds enumerationDeadline{300000};
};

class TransportPool;

class WsmanProvider : public wbem::Provider {
public:
    explicit WsmanProvider(NodeConnectionSettings defaults = {});
    ~WsmanProvider() override;

    // Settings for one server (as written in the node table); others get the defaults.
    void setNodeSettings(const std::string& server, NodeConnectionSettings settings);

    std::unique_ptr<wbem::Services> connect(const wbem::ConnectRequest& request) override;

private:
    NodeConnectionSettings settingsFor(const std::string& server) const;

    NodeConnectionSettings defaults_;
    mutable std::mutex mutex_;
    std::map<std::string, NodeConnectionSettings> perNode_;
    std::shared_ptr<TransportPool> pool_;
};

}  // namespace vantrel::wsman
