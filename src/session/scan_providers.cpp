#include "session/scan_providers.h"

#include "providers/linux/linux_provider.h"
#include "wbem/provider_router.h"

namespace vantrel::session {

wsman::NodeConnectionSettings wsmanSettings(const NodeConnection& connection) {
    wsman::NodeConnectionSettings settings;
    settings.trustFile = connection.trustFile;
    settings.plainHttp = connection.effectiveTransport() == NodeTransport::PlainHttp;
    settings.sealedHttp = connection.effectiveTransport() == NodeTransport::NegotiateHttp;
    settings.negotiateHttps = connection.effectiveTransport() == NodeTransport::NegotiateHttps;
    return settings;
}

void attachScanProviders(HardwareSession& session) {
    auto wsmanProvider = std::make_shared<wsman::WsmanProvider>();
    session.provider =
        std::make_shared<wbem::ProviderRouter>(std::make_shared<linuxhost::LinuxProvider>(), wsmanProvider);
    session.prepareConnection = [wsmanProvider](const std::string& server, const NodeConnection& connection) {
        wsmanProvider->setNodeSettings(server, wsmanSettings(connection));
    };
}

}  // namespace vantrel::session
