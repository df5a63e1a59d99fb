#pragma once
// Idle connections kept for the next connection to the same endpoint with the
// same login, so the 34 connections of a collection share one TLS session.

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "providers/wsman/http_transport.h"

namespace vantrel::wsman {

class TransportPool {
public:
    std::unique_ptr<HttpTransport> take(const TransportSettings& settings);
    void give(std::unique_ptr<HttpTransport> transport);

private:
    static std::string keyOf(const TransportSettings& settings);

    std::mutex mutex_;
    std::map<std::string, std::vector<std::unique_ptr<HttpTransport>>> idle_;
};

}  // namespace vantrel::wsman
