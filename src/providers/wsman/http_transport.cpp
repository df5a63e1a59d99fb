#include "providers/wsman/http_transport.h"

#include <curl/curl.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <vector>
#include <mutex>

#include "providers/wsman/sealed_message.h"
#include "providers/wsman/spnego_context.h"
#include "wbem/wbem_error.h"

namespace vantrel::wsman {

namespace {

void initCurlOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

// curl holds one header line to 100 KiB itself; this bounds them all together.
constexpr std::size_t kMaxHeaderBytes = 256u << 10;

struct Sink {
    std::string body;
    std::size_t limit = 0;
    bool overflow = false;
    std::size_t headerBytes = 0;
    bool headersTooLarge = false;
    std::string negotiateToken;
    std::vector<std::string> offeredLogins;  // the schemes of the WWW-Authenticate headers, lower case
};

// "10.0.0.5 port 5986" of "https://10.0.0.5:5986/wsman".
std::string hostAndPort(const std::string& url) {
    const std::size_t start = url.find("://");
    const std::size_t from = start == std::string::npos ? 0 : start + 3;
    const std::string authority = url.substr(from, url.find('/', from) - from);
    const std::size_t colon = authority.rfind(':');
    if (colon == std::string::npos || authority.find(']', colon) != std::string::npos) return authority;
    return authority.substr(0, colon) + " port " + authority.substr(colon + 1);
}

// "Negotiate, Kerberos": the logins a node offers, as a person reads them.
std::string loginList(const std::vector<std::string>& schemes) {
    std::string out;
    for (const auto& scheme : schemes) {
        if (!out.empty()) out += ", ";
        out += scheme.empty() ? scheme : static_cast<char>(std::toupper(static_cast<unsigned char>(scheme[0]))) + scheme.substr(1);
    }
    return out;
}

std::size_t readHeader(char* data, std::size_t size, std::size_t count, void* user) {
    auto* sink = static_cast<Sink*>(user);
    std::string_view line(data, size * count);
    sink->headerBytes += line.size();
    if (sink->headerBytes > kMaxHeaderBytes) {
        sink->headersTooLarge = true;
        return 0;  // ends the transfer
    }
    constexpr std::string_view kName = "www-authenticate:";
    if (line.size() > kName.size()) {
        bool same = true;
        for (std::size_t i = 0; i < kName.size() && same; ++i)
            same = static_cast<char>(std::tolower(static_cast<unsigned char>(line[i]))) == kName[i];
        if (same) {
            std::string_view value = line.substr(kName.size());
            while (!value.empty() && (value.front() == ' ' || value.front() == '\t')) value.remove_prefix(1);
            while (!value.empty() && (value.back() == '\r' || value.back() == '\n' || value.back() == ' ')) value.remove_suffix(1);
            if (value.rfind("Negotiate ", 0) == 0 && value.size() < 65536) sink->negotiateToken = std::string(value.substr(10));
            std::string scheme(value.substr(0, std::min(value.find(' '), std::size_t{32})));
            for (char& c : scheme) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            if (!scheme.empty() && sink->offeredLogins.size() < 8) sink->offeredLogins.push_back(std::move(scheme));
        }
    }
    return size * count;
}

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
    curl_easy_setopt(c, CURLOPT_URL, settings_.url.c_str());
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(c, CURLOPT_HEADERFUNCTION, readHeader);
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
    // it; NTLM is offered over TLS where the server asks for it. The sealed
    // mode does its own Negotiate login.
    curl_easy_setopt(c, CURLOPT_HTTPAUTH, https ? static_cast<long>(CURLAUTH_BASIC | CURLAUTH_NTLM)
                                                : static_cast<long>(CURLAUTH_BASIC));
}

HttpTransport::~HttpTransport() = default;

HttpTransport::RawAnswer HttpTransport::send(std::string_view body, const std::string& contentType,
                                             const std::string& authorization, bool basicLogin) {
    CURL* c = handle_->curl;
    Sink sink;
    sink.limit = settings_.maxResponseBytes;
    if (handle_->headers) curl_slist_free_all(handle_->headers);
    handle_->headers = curl_slist_append(nullptr, ("Content-Type: " + contentType).c_str());
    handle_->headers = curl_slist_append(handle_->headers, "Expect:");
    if (!authorization.empty())
        handle_->headers = curl_slist_append(handle_->headers, ("Authorization: " + authorization).c_str());
    curl_easy_setopt(c, CURLOPT_HTTPHEADER, handle_->headers);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &sink);
    curl_easy_setopt(c, CURLOPT_HEADERDATA, &sink);
    curl_easy_setopt(c, CURLOPT_POSTFIELDS, body.data());
    curl_easy_setopt(c, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
    curl_easy_setopt(c, CURLOPT_USERNAME, basicLogin ? settings_.user.c_str() : nullptr);
    curl_easy_setopt(c, CURLOPT_PASSWORD, basicLogin ? settings_.password.c_str() : nullptr);
    handle_->error[0] = '\0';
    const CURLcode rc = curl_easy_perform(c);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, nullptr);
    curl_easy_setopt(c, CURLOPT_HEADERDATA, nullptr);
    if (rc != CURLE_OK) {
        const std::string detail = handle_->error[0] ? handle_->error : curl_easy_strerror(rc);
        const std::string& url = settings_.url;
        const std::string headersTooLarge = "The answer of " + url + " cannot be read: the answer's headers are too large";
        switch (rc) {
            // curl's own limit on one header line comes back as "Out of memory".
            case CURLE_OUT_OF_MEMORY:
                if (sink.body.empty()) fail(headersTooLarge);
                break;
            case CURLE_WRITE_ERROR:
                if (sink.headersTooLarge) fail(headersTooLarge);
                if (sink.overflow)
                    fail("The answer of " + url + " is larger than the limit of " +
                         std::to_string(settings_.maxResponseBytes) + " bytes");
                break;
            case CURLE_COULDNT_RESOLVE_HOST: fail("Cannot find the computer of " + url + ": " + detail);
            case CURLE_COULDNT_CONNECT: {
                // What the user can act on: which port of which node, and what the system said.
                long osError = 0;
                curl_easy_getinfo(c, CURLINFO_OS_ERRNO, &osError);
                fail("No answer from " + hostAndPort(url) + ": " +
                     (osError != 0 ? std::string(std::strerror(static_cast<int>(osError))) : detail) +
                     " (is the node on, its service running, its firewall open for that port?)");
            }
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
    RawAnswer answer;
    curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &answer.status);
    answer.body = std::move(sink.body);
    answer.negotiateToken = std::move(sink.negotiateToken);
    answer.offeredLogins = std::move(sink.offeredLogins);
    return answer;
}

HttpAnswer HttpTransport::post(std::string_view body, bool authenticate) {
    if (settings_.sealedNegotiate) return sealedPost(body);
    if (settings_.negotiate) return negotiatedPost(body);
    RawAnswer raw = send(body, "application/soap+xml;charset=UTF-8", "", authenticate);
    HttpAnswer answer{raw.status, std::move(raw.body), {}};
    if (raw.status == 401 && authenticate) answer.refusal = refusalText(raw.offeredLogins);
    return answer;
}

std::string HttpTransport::refusalText(const std::vector<std::string>& offered) const {
    // Our logins over this transport: Basic, and NTLM where TLS protects it.
    const bool https = settings_.url.rfind("https://", 0) == 0;
    for (const auto& scheme : offered)
        if (scheme == "basic" || (https && scheme == "ntlm")) return {};  // the login itself was refused
    if (offered.empty()) return {};
    return std::string("the node does not accept Basic login") + (https ? " or NTLM" : "") + " (it offers " +
           loginList(offered) + "); use " +
           (https ? "--negotiate (the transport \"HTTPS with Negotiate\")"
                  : "--negotiate-http (the transport \"HTTP with Negotiate\")") +
           ", or enable Basic on HTTPS";
}

// The login runs on empty requests first; the messages then go sealed on the
// same kept-alive connection, which the login belongs to.
void HttpTransport::negotiate() {
    spnego_ = std::make_unique<SpnegoContext>(settings_.user, settings_.password, settings_.host);
    std::string token = spnego_->step({});
    for (int round = 0; round < 4; ++round) {
        RawAnswer raw = send({}, "application/soap+xml;charset=UTF-8", "Negotiate " + base64Encode(token), false);
        const std::string serverToken = base64Decode(raw.negotiateToken);
        if (raw.status == 200) {
            if (!serverToken.empty() && !spnego_->established()) spnego_->step(serverToken);
            if (!spnego_->established())
                throw wbem::WbemError(wbem::ErrorCode::ConnectionFailed, "The server ended the Negotiate login early");
            return;
        }
        if (raw.status != 401)
            throw wbem::WbemError(wbem::ErrorCode::ConnectionFailed, settings_.url + " answered the login with HTTP status " +
                                                                         std::to_string(raw.status));
        if (serverToken.empty()) throw wbem::WbemError(wbem::ErrorCode::AccessDenied, "Access denied");
        token = spnego_->step(serverToken);
    }
    throw wbem::WbemError(wbem::ErrorCode::ConnectionFailed, "The Negotiate login does not end");
}

HttpAnswer HttpTransport::sealedPost(std::string_view body) {
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (!spnego_ || !spnego_->established()) negotiate();
        const SealedParts sealed = spnego_->seal(body);
        RawAnswer raw = send(sealedBody(sealed.header, sealed.sealed, body.size()), kSealedContentType, "", false);
        if (raw.status == 401) {
            // A new connection has no login: log in again, once.
            spnego_.reset();
            continue;
        }
        if (raw.body.empty()) return {raw.status, {}, {}};
        return {raw.status, spnego_->unseal(parseSealedBody(raw.body)), {}};
    }
    throw wbem::WbemError(wbem::ErrorCode::AccessDenied, "Access denied");
}

HttpAnswer HttpTransport::negotiatedPost(std::string_view body) {
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (!spnego_ || !spnego_->established()) negotiate();
        RawAnswer raw = send(body, "application/soap+xml;charset=UTF-8", "", false);
        if (raw.status == 401) {
            spnego_.reset();
            continue;
        }
        return {raw.status, std::move(raw.body), {}};
    }
    throw wbem::WbemError(wbem::ErrorCode::AccessDenied, "Access denied");
}


}  // namespace vantrel::wsman
