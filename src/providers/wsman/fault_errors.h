#pragma once
// SOAP faults of WS-Management as errors of the management interface, with
// the fault's own text.

#include "providers/wsman/response_parser.h"
#include "wbem/wbem_error.h"

namespace vantrel::wsman {

// AccessDenied for w:AccessDenied; InvalidClass or InvalidQuery for
// n:CannotProcessFilter; InvalidNamespace for an unknown resource; every
// other fault (quotas, timeouts, expired contexts, internal errors) is the
// service failing us: ConnectionFailed.
wbem::WbemError faultError(const Fault& fault);

}  // namespace vantrel::wsman
