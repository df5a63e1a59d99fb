#include "agent/self_signed_cert.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <ifaddrs.h>
#include <netinet/in.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/rand.h>
#include <openssl/x509v3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <set>

#include "agent/users_file.h"

namespace vantrel::agent {

namespace {

template <typename T, void (*Free)(T*)>
struct Deleter {
    void operator()(T* p) const { Free(p); }
};
using PkeyPtr = std::unique_ptr<EVP_PKEY, Deleter<EVP_PKEY, EVP_PKEY_free>>;
using X509Ptr = std::unique_ptr<X509, Deleter<X509, X509_free>>;

[[noreturn]] void fail(const std::string& what) { throw AgentError("Cannot make the certificate: " + what); }

std::string hostName() {
    char name[256] = {};
    if (::gethostname(name, sizeof name - 1) != 0 || !name[0]) return "localhost";
    return name;
}

// The names a client may use for this computer: its host name, localhost
// and every address it has now.
std::string subjectAltNames() {
    std::set<std::string> entries{"DNS:" + hostName(), "DNS:localhost", "IP:127.0.0.1", "IP:::1"};
    ifaddrs* list = nullptr;
    if (::getifaddrs(&list) == 0) {
        for (ifaddrs* a = list; a; a = a->ifa_next) {
            if (!a->ifa_addr) continue;
            char text[INET6_ADDRSTRLEN] = {};
            if (a->ifa_addr->sa_family == AF_INET) {
                ::inet_ntop(AF_INET, &reinterpret_cast<sockaddr_in*>(a->ifa_addr)->sin_addr, text, sizeof text);
            } else if (a->ifa_addr->sa_family == AF_INET6) {
                const auto* in6 = reinterpret_cast<sockaddr_in6*>(a->ifa_addr);
                if (IN6_IS_ADDR_LINKLOCAL(&in6->sin6_addr)) continue;  // needs a zone, no use in a certificate
                ::inet_ntop(AF_INET6, &in6->sin6_addr, text, sizeof text);
            } else {
                continue;
            }
            entries.insert(std::string("IP:") + text);
        }
        ::freeifaddrs(list);
    }
    std::string out;
    for (const auto& e : entries) out += (out.empty() ? "" : ",") + e;
    return out;
}

void addExtension(X509* cert, int nid, const std::string& value) {
    X509V3_CTX ctx;
    X509V3_set_ctx_nodb(&ctx);
    X509V3_set_ctx(&ctx, cert, cert, nullptr, nullptr, 0);
    X509_EXTENSION* ext = X509V3_EXT_conf_nid(nullptr, &ctx, nid, value.c_str());
    if (!ext) fail("extension " + value);
    X509_add_ext(cert, ext, -1);
    X509_EXTENSION_free(ext);
}

// Writes `path` through a new file of its own folder (never through a link
// someone placed at `path`, never into a file that already exists), renamed
// over `path` once whole.
template <typename Write>
void writeNewFile(const std::filesystem::path& path, mode_t mode, Write write) {
    std::string temporary = (path.parent_path() / ("." + path.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);  // O_CREAT | O_EXCL, and 0600 from the start
    if (fd < 0) fail("cannot write " + path.string());
    FILE* f = ::fdopen(fd, "w");
    if (!f) {
        ::close(fd);
        ::unlink(temporary.c_str());
        fail("cannot write " + path.string());
    }
    const bool written = ::fchmod(fd, mode) == 0 && write(f) && std::fflush(f) == 0 && ::fsync(fd) == 0;
    if (std::fclose(f) != 0 || !written || std::rename(temporary.c_str(), path.c_str()) != 0) {
        ::unlink(temporary.c_str());
        fail("cannot write " + path.string());
    }
}

bool isRegularFile(const std::filesystem::path& path) {
    std::error_code ec;
    return std::filesystem::symlink_status(path, ec).type() == std::filesystem::file_type::regular;
}

}  // namespace

CertificateFiles ensureSelfSignedCertificate(const std::filesystem::path& stateFolder) {
    CertificateFiles files{stateFolder / "agent-cert.pem", stateFolder / "agent-key.pem", false};
    // Our own files only: a link placed where the key goes is replaced, not followed.
    if (isRegularFile(files.certificate) && isRegularFile(files.key)) return files;
    std::error_code ec;
    if (!std::filesystem::is_directory(stateFolder, ec)) {
        std::filesystem::create_directories(stateFolder, ec);
        if (ec) fail("cannot create " + stateFolder.string());
        // Private whatever the umask: the key lives here.
        std::filesystem::permissions(stateFolder, std::filesystem::perms::owner_all, ec);
        if (ec) fail("cannot make " + stateFolder.string() + " private");
    }

    PkeyPtr key(EVP_PKEY_Q_keygen(nullptr, nullptr, "EC", "P-256"));
    if (!key) fail("no key");
    X509Ptr cert(X509_new());
    X509_set_version(cert.get(), 2);
    unsigned char serial[16];
    RAND_bytes(serial, sizeof serial);
    serial[0] &= 0x7F;
    BIGNUM* bn = BN_bin2bn(serial, sizeof serial, nullptr);
    BN_to_ASN1_INTEGER(bn, X509_get_serialNumber(cert.get()));
    BN_free(bn);
    X509_gmtime_adj(X509_getm_notBefore(cert.get()), -3600);
    X509_gmtime_adj(X509_getm_notAfter(cert.get()), 10L * 365 * 24 * 3600);
    X509_set_pubkey(cert.get(), key.get());
    X509_NAME* name = X509_get_subject_name(cert.get());
    const std::string cn = hostName();
    X509_NAME_add_entry_by_txt(name, "O", MBSTRING_UTF8, reinterpret_cast<const unsigned char*>("vantrel-agent"), -1, -1, 0);
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_UTF8, reinterpret_cast<const unsigned char*>(cn.c_str()), -1, -1, 0);
    X509_set_issuer_name(cert.get(), name);
    // A self-signed certificate that clients trust by itself is its own CA.
    addExtension(cert.get(), NID_basic_constraints, "critical,CA:TRUE,pathlen:0");
    addExtension(cert.get(), NID_key_usage, "critical,digitalSignature,keyCertSign");
    addExtension(cert.get(), NID_ext_key_usage, "serverAuth");
    addExtension(cert.get(), NID_subject_key_identifier, "hash");
    addExtension(cert.get(), NID_subject_alt_name, subjectAltNames());
    if (X509_sign(cert.get(), key.get(), EVP_sha256()) == 0) fail("signing failed");

    writeNewFile(files.key, 0600, [&](FILE* f) {
        return PEM_write_PrivateKey(f, key.get(), nullptr, nullptr, 0, nullptr, nullptr) == 1;
    });
    writeNewFile(files.certificate, 0644, [&](FILE* f) { return PEM_write_X509(f, cert.get()) == 1; });
    files.created = true;
    return files;
}

std::string sha256Fingerprint(const std::filesystem::path& certificatePem) {
    FILE* f = std::fopen(certificatePem.c_str(), "r");
    if (!f) throw AgentError("Cannot read the certificate " + certificatePem.string());
    X509Ptr cert(PEM_read_X509(f, nullptr, nullptr, nullptr));
    std::fclose(f);
    if (!cert) throw AgentError("No certificate in " + certificatePem.string());
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int size = 0;
    X509_digest(cert.get(), EVP_sha256(), digest, &size);
    std::string out;
    char hex[4];
    for (unsigned i = 0; i < size; ++i) {
        std::snprintf(hex, sizeof hex, i ? ":%02X" : "%02X", digest[i]);
        out += hex;
    }
    return out;
}

}  // namespace vantrel::agent
