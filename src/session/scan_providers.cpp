#include "session/scan_providers.h"

#include "providers/linux/linux_provider.h"
#include "providers/ssh/ssh_provider.h"
#include "session/transport_router.h"
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

std::shared_ptr<ssh::SshProvider> attachScanProviders(HardwareSession& session) {
    auto wsmanProvider = std::make_shared<wsman::WsmanProvider>();
    auto sshProvider = std::make_shared<ssh::SshProvider>();
    auto remote = std::make_shared<TransportRouter>(wsmanProvider, sshProvider);
    session.provider = std::make_shared<wbem::ProviderRouter>(std::make_shared<linuxhost::LinuxProvider>(), remote);
    HardwareSession* hardware = &session;
    session.prepareConnection = [wsmanProvider, remote, hardware](const std::string& server,
                                                                  const NodeConnection& connection) {
        const bool ssh = connection.effectiveTransport() == NodeTransport::Ssh;
        remote->useSsh(server, ssh);
        // A session answered from a profile keeps saying so.
        if (hardware->remoteSource != ScanSource::Profile)
            hardware->remoteSource = ssh ? ScanSource::Ssh : ScanSource::Remote;
        wsmanProvider->setNodeSettings(server, wsmanSettings(connection));
    };
    return sshProvider;
}

}  // namespace vantrel::session
