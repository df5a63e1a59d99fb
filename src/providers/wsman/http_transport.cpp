#include "providers/wsman/http_transport.h"

#include <curl/curl.h>

#include <mutex>

#include "wbem/wbem_error.h"

namespace vantrel::wsman {

namespace {

void initCurlOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

struct Sink {
    std::string body;
    std::size_t limit = 0;
    bool overflow = false;
};

std::size_t collect(char* data, std::size_t size, std::size_t count, void* user) {
    auto* sink = static_cast<Sink*>(user);
    const std::size_t bytes = size * count;
    if (bytes > sink->limit - sink->body.size()) {
        sink->overflow = true;
        return 0;  // ends the transfer
    }
    sink->body.append(data, bytes);
    return bytes;
}

[[noreturn]] void fail(const std::string& text) { throw wbem::WbemError(wbem::ErrorCode::ConnectionFailed, text); }

}  // namespace

struct HttpTransport::Handle {
    CURL* curl = nullptr;
    curl_slist* headers = nullptr;
    char error[CURL_ERROR_SIZE] = {};
    ~Handle() {
        if (curl) curl_easy_cleanup(curl);
        if (headers) curl_slist_free_all(headers);
    }
};

HttpTransport::HttpTransport(TransportSettings settings) : settings_(std::move(settings)), handle_(new Handle) {
    initCurlOnce();
    CURL* c = handle_->curl = curl_easy_init();
    if (!c) fail("Cannot start an HTTP session");
    handle_->headers = curl_slist_append(nullptr, "Content-Type: application/soap+xml;charset=UTF-8");
    handle_->headers = curl_slist_append(handle_->headers, "Expect:");
    curl_easy_setopt(c, CURLOPT_URL, settings_.url.c_str());
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(c, CURLOPT_HTTPHEADER, handle_->headers);
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, handle_->error);
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_USERAGENT, "Vantrel WS-Management client");
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(settings_.connectTimeout.count()));
    curl_easy_setopt(c, CURLOPT_TIMEOUT_MS, static_cast<long>(settings_.requestTimeout.count()));
    curl_easy_setopt(c, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(c, CURLOPT_SSL_VERIFYHOST, 2L);
    curl_easy_setopt(c, CURLOPT_SSLVERSION, static_cast<long>(CURL_SSLVERSION_TLSv1_2));
    if (!settings_.trustFile.empty()) curl_easy_setopt(c, CURLOPT_CAINFO, settings_.trustFile.c_str());
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, collect);
    curl_easy_setopt(c, CURLOPT_POST, 1L);
    const bool https = settings_.url.rfind("https://", 0) == 0;
    // Over plain HTTP a password may only go as Basic when the user allowed
    // it; NTLM is offered over TLS where the server asks for it.
    curl_easy_setopt(c, CURLOPT_HTTPAUTH, https ? static_cast<long>(CURLAUTH_BASIC | CURLAUTH_NTLM)
                                                : static_cast<long>(CURLAUTH_BASIC));
}

HttpTransport::~HttpTransport() = default;

HttpAnswer HttpTransport::post(std::string_view body, bool authenticate) {
    CURL* c = handle_->curl;
    Sink sink;
    sink.limit = settings_.maxResponseBytes;
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &sink);
    curl_easy_setopt(c, CURLOPT_POSTFIELDS, body.data());
    curl_easy_setopt(c, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
    curl_easy_setopt(c, CURLOPT_USERNAME, authenticate ? settings_.user.c_str() : nullptr);
    curl_easy_setopt(c, CURLOPT_PASSWORD, authenticate ? settings_.password.c_str() : nullptr);
    handle_->error[0] = '\0';
    const CURLcode rc = curl_easy_perform(c);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, nullptr);
    if (rc != CURLE_OK) {
        const std::string detail = handle_->error[0] ? handle_->error : curl_easy_strerror(rc);
        const std::string& url = settings_.url;
        switch (rc) {
            case CURLE_WRITE_ERROR:
                if (sink.overflow)
                    fail("The answer of " + url + " is larger than the limit of " +
                         std::to_string(settings_.maxResponseBytes) + " bytes");
                break;
            case CURLE_COULDNT_RESOLVE_HOST: fail("Cannot find the computer of " + url + ": " + detail);
            case CURLE_COULDNT_CONNECT: fail("Cannot connect to " + url + ": " + detail);
            case CURLE_OPERATION_TIMEDOUT: fail("No answer from " + url + " in time: " + detail);
            case CURLE_PEER_FAILED_VERIFICATION:
            case CURLE_SSL_CACERT_BADFILE:
                fail("The certificate of " + url + " is not trusted (" + detail +
                     "); trust the node's certificate or its CA explicitly");
            case CURLE_GOT_NOTHING:
            case CURLE_RECV_ERROR:
            case CURLE_SEND_ERROR:
            case CURLE_PARTIAL_FILE:
                fail("The connection to " + url + " was closed before the answer was complete: " + detail);
            default: break;
        }
        fail("The exchange with " + url + " failed: " + detail);
    }
    HttpAnswer answer;
    curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &answer.status);
    answer.body = std::move(sink.body);
    return answer;
}

}  // namespace vantrel::wsman
