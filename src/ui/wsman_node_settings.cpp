#include "ui/wsman_node_settings.h"

namespace vantrel::ui {

wsman::NodeConnectionSettings wsmanSettings(const NodeConnection& connection) {
    wsman::NodeConnectionSettings settings;
    settings.trustFile = connection.trustFile;
    settings.plainHttp = connection.effectiveTransport() == NodeTransport::PlainHttp;
    settings.sealedHttp = connection.effectiveTransport() == NodeTransport::NegotiateHttp;
    return settings;
}

}  // namespace vantrel::ui
