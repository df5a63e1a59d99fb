// vantrel-cli-local carries no remote transport: a collect or query for
// another computer is handed, with its whole command line, to
// vantrel-cli-network, which has them all. Nothing has been written yet when
// this runs: the options are checked, the node not yet reached.

#include <stdexcept>

#include "app/cli_connection.h"
#include "app/cli_handover.h"

namespace vantrel::cli {

std::shared_ptr<wbem::Provider> ConnectionOptions::makeProvider() const {
    handOver("vantrel-cli-network");
    throw std::runtime_error("the program for other computers could not be started");
}

}  // namespace vantrel::cli
