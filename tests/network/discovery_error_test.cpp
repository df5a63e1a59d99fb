#include "network/discovery/discovery_error.h"

#include <gtest/gtest.h>

namespace vantrel::network {
namespace {

TEST(DiscoveryError, SocketFailuresMapOntoTheNetworkErrorCodes) {
    const struct {
        int err;
        int code;
    } cases[] = {
        {EACCES, kErrorAccessDenied},    {EPERM, kErrorAccessDenied},      {EAFNOSUPPORT, kErrorNotAccessible},
        {ENODEV, kErrorNotAccessible},   {ENETDOWN, kErrorNotAccessible},  {ENETUNREACH, kErrorNotAccessible},
        {EMFILE, kErrorNotAccessible},   {ENOBUFS, kErrorNotAccessible},   {EIO, kErrorGeneral},
        {EINVAL, kErrorGeneral},
    };
    for (const auto& c : cases) EXPECT_EQ(errorCodeFromErrno(c.err), c.code) << c.err;
    EXPECT_EQ(kErrorAccessDenied, 5);
    EXPECT_EQ(kErrorNotAccessible, 1722);
}

}  // namespace
}  // namespace vantrel::network
