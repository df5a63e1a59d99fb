#include "network/discovery/wsd_transfer_get.h"

#include <curl/curl.h>

#include <memory>
#include <mutex>

#include "network/discovery/wsd_messages.h"

namespace vantrel::network {

namespace {

size_t collectBody(char* data, size_t size, size_t count, void* user) {
    auto* body = static_cast<std::string*>(user);
    const size_t bytes = size * count;
    if (bytes > kMaxWsdMetadata - body->size()) return 0;  // too large: abort the transfer
    body->append(data, bytes);
    return bytes;
}

void initialiseCurlOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

}  // namespace

std::optional<std::string> fetchComputerName(const std::string& xaddr, const std::string& endpoint,
                                             std::chrono::milliseconds timeout) {
    if (timeout.count() <= 0 || xaddr.rfind("http://", 0) != 0 || xaddr.size() > 1024) return std::nullopt;
    initialiseCurlOnce();
    std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> curl(curl_easy_init(), curl_easy_cleanup);
    if (!curl) return std::nullopt;
    const std::string request = transferGetMessage(newMessageId(), endpoint);
    std::string body;
    curl_slist* headers = curl_slist_append(nullptr, "Content-Type: application/soap+xml; charset=utf-8");
    CURL* c = curl.get();
    curl_easy_setopt(c, CURLOPT_URL, xaddr.c_str());
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http");
    curl_easy_setopt(c, CURLOPT_NOPROXY, "*");  // a peer on the LAN, never through a proxy
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_TIMEOUT_MS, static_cast<long>(timeout.count()));
    curl_easy_setopt(c, CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(c, CURLOPT_POSTFIELDS, request.c_str());
    curl_easy_setopt(c, CURLOPT_POSTFIELDSIZE, static_cast<long>(request.size()));
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, collectBody);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &body);
    const CURLcode result = curl_easy_perform(c);
    long status = 0;
    curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &status);
    curl_slist_free_all(headers);
    if (result != CURLE_OK || status != 200) return std::nullopt;
    return parseComputerName(body);
}

}  // namespace vantrel::network
