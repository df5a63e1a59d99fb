#include "providers/wsman/wsman_provider.h"

#include <algorithm>

#include "providers/wsman/fault_errors.h"
#include "providers/wsman/server_address.h"
#include "providers/wsman/transport_pool.h"
#include "providers/wsman/wsman_rows.h"
#include "providers/wsman/wsman_session.h"
#include "wbem/wbem_error.h"
#include "wbem/wql.h"

namespace vantrel::wsman {

namespace {

// Windows sizes pages by MaxEnvelopeSize whatever this says; it only keeps
// a server from sending more than we want in one answer.
constexpr unsigned kMaxElements = 32000;
constexpr std::chrono::seconds kLoginFreshFor{10};

class WsmanServices : public wbem::Services {
public:
    WsmanServices(std::shared_ptr<WsmanSession> session, std::shared_ptr<TransportPool> pool,
                  std::chrono::milliseconds deadline)
        : session_(std::move(session)), pool_(std::move(pool)), deadline_(deadline) {}

    ~WsmanServices() override {
        // Hand the connection back only when no enumeration still uses it and it is sound.
        if (session_.use_count() == 1 && session_->healthy()) pool_->give(session_->takeTransport());
    }

    std::unique_ptr<wbem::RowSet> ExecQuery(std::string_view wql) override {
        std::shared_ptr<const std::vector<std::string>> selected;
        try {
            selected = std::make_shared<const std::vector<std::string>>(wbem::parseWql(wql).properties);
        } catch (const wbem::WbemError&) {
            // "Select *" and statements the server may know better than we do.
        }
        Response first = session_->enumerate(wql, kMaxElements);
        return std::make_unique<WsmanRowSet>(session_, std::move(first), std::move(selected), kMaxElements, deadline_);
    }

private:
    std::shared_ptr<WsmanSession> session_;
    std::shared_ptr<TransportPool> pool_;
    std::chrono::milliseconds deadline_;
};

}  // namespace

WsmanProvider::WsmanProvider(NodeConnectionSettings defaults)
    : defaults_(std::move(defaults)), pool_(std::make_shared<TransportPool>()) {}

WsmanProvider::~WsmanProvider() = default;

void WsmanProvider::setNodeSettings(const std::string& server, NodeConnectionSettings settings) {
    std::lock_guard lock(mutex_);
    perNode_[server] = std::move(settings);
}

NodeConnectionSettings WsmanProvider::settingsFor(const std::string& server) const {
    std::lock_guard lock(mutex_);
    auto it = perNode_.find(server);
    return it != perNode_.end() ? it->second : defaults_;
}

std::unique_ptr<wbem::Services> WsmanProvider::connect(const wbem::ConnectRequest& request) {
    if (request.server.empty())
        throw wbem::WbemError(wbem::ErrorCode::ConnectionFailed, "WS-Management needs the address of a server");
    const NodeConnectionSettings node = settingsFor(request.server);
    const ServerAddress address = parseServerAddress(request.server);

    TransportSettings transport;
    transport.url = endpointUrl(address, !node.plainHttp && !node.sealedHttp);
    transport.sealedNegotiate = node.sealedHttp && !node.plainHttp;
    transport.negotiate = node.negotiateHttps && !node.sealedHttp && !node.plainHttp;
    transport.host = address.host;
    transport.user = request.user;
    transport.password = request.password;
    transport.trustFile = node.trustFile;
    transport.connectTimeout = node.connectTimeout;
    transport.requestTimeout = node.requestTimeout;
    transport.maxResponseBytes = node.maxResponseBytes;

    RequestHeader header;
    header.to = transport.url;
    header.resourceUri = wmiResourceUri(request.nameSpace);
    header.maxEnvelopeSize = node.maxEnvelopeSize;
    // The node's own time limit ends well before ours, so its TimedOut answer
    // arrives instead of our transport giving up just before it.
    header.operationTimeout = std::max(std::chrono::milliseconds(500), node.requestTimeout * 2 / 3);

    auto session = std::make_shared<WsmanSession>(pool_->take(transport), std::move(header));
    // A kept connection on which this very login passed moments ago needs no
    // second Identify: a login refused since then fails the next request.
    if (std::chrono::steady_clock::now() - session->transport().loginAcceptedAt() > kLoginFreshFor) {
        const Response id = session->identify();
        if (id.kind == ResponseKind::Fault) throw faultError(id.fault);
        session->transport().noteLoginAccepted();
    }
    return std::make_unique<WsmanServices>(session, pool_, node.enumerationDeadline);
}

}  // namespace vantrel::wsman
