// The provider of the connection options: WS-Management or SSH. Only the
// programs that reach other computers link this (and libcurl, GSS-API and
// libssh with it); vantrel-cli-local hands such commands on instead.

#include "app/cli_connection.h"
#include "providers/ssh/ssh_provider.h"

namespace vantrel::cli {

wsman::NodeConnectionSettings ConnectionOptions::settings() const {
    wsman::NodeConnectionSettings settings;
    settings.trustFile = trustFile;
    settings.plainHttp = insecureHttp;
    settings.sealedHttp = negotiateHttp;
    settings.negotiateHttps = negotiateHttps;
    return settings;
}

std::shared_ptr<wbem::Provider> ConnectionOptions::makeProvider() const {
    if (ssh) {
        ssh::SshNodeSettings settings;
        settings.identity = identity;
        settings.acceptNewHostKey = acceptNewHostKey;
        return std::make_shared<ssh::SshProvider>(settings);
    }
    auto provider = std::make_shared<wsman::WsmanProvider>();
    provider->setNodeSettings(server, settings());
    return provider;
}

}  // namespace vantrel::cli
