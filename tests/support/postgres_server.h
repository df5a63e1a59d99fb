#pragma once
// A real PostgreSQL server for the tests: a fresh cluster made by initdb in
// a temporary folder and run by pg_ctl, listening only on a Unix socket in
// that folder, and with TLS (a certificate made for the occasion) on a free
// loopback port. The server refuses to run as root, so under root the folder
// belongs to "nobody" and the server's programs run as that user. Clients
// log in as "vantrel" with a password, found through a password file, as
// a user's ~/.pgpass would give it.

#include <fcntl.h>
#include <arpa/inet.h>
#include <grp.h>
#include <netinet/in.h>
#include <pwd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "support/temp_folder.h"

namespace vantrel::test {

class PostgresServer {
public:
    static constexpr const char* kUser = "vantrel";
    static constexpr const char* kPassword = "s3cret-for-tests";

    // Makes and starts the cluster; why() tells what failed when ready() is false.
    PostgresServer() {
        bin_ = serverPrograms();
        if (bin_.empty()) {
            why_ = "PostgreSQL's server programs are not installed (Debian package postgresql)";
            return;
        }
        std::string tmpl = (std::filesystem::temp_directory_path() / "vantrel-pg-XXXXXX").string();
        if (!mkdtemp(tmpl.data())) {
            why_ = "no temporary folder";
            return;
        }
        folder_ = tmpl;
        if (geteuid() == 0) {
            const passwd* nobody = getpwnam("nobody");
            if (!nobody) {
                why_ = "no user 'nobody' to run the server as";
                return;
            }
            runAs_ = std::pair{nobody->pw_uid, nobody->pw_gid};
            if (chown(folder_.c_str(), nobody->pw_uid, nobody->pw_gid) != 0) {
                why_ = "cannot hand the folder to 'nobody'";
                return;
            }
        }
        writeOwned(folder_ / "password", std::string(kPassword) + "\n");
        // The client's password file, as ~/.pgpass would hold it (mode 0600, or libpq ignores it).
        writeBytes(passFile(), std::string("*:*:*:") + kUser + ":" + kPassword + "\n");
        chmod(passFile().c_str(), 0600);
        if (run("initdb", {"-D", data().string(), "-U", kUser, "--pwfile", (folder_ / "password").string(),
                           "--auth-local=scram-sha-256", "--auth-host=scram-sha-256", "-E", "UTF8", "--no-locale",
                           "--no-sync"}) != 0) {
            why_ = "initdb failed: " + readBytes(folder_ / "initdb.log");
            return;
        }
        if (run("/usr/bin/openssl", {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-subj", "/CN=localhost",
                                     "-days", "2", "-keyout", (folder_ / "server.key").string(), "-out",
                                     (folder_ / "server.crt").string()}) != 0) {
            why_ = "no certificate for TLS: " + readBytes(folder_ / "openssl.log");
            return;
        }
        port_ = freeLoopbackPort();
        if (!start()) why_ = "the server did not start: " + readBytes(folder_ / "server.log");
    }

    ~PostgresServer() {
        if (!folder_.empty()) {
            stop();
            std::error_code ec;
            std::filesystem::remove_all(folder_, ec);
        }
    }
    PostgresServer(const PostgresServer&) = delete;
    PostgresServer& operator=(const PostgresServer&) = delete;

    bool ready() const { return why_.empty(); }
    const std::string& why() const { return why_; }

    // The database as the program is told of it (no password in it).
    std::string target(const std::string& extra = "") const {
        return "postgresql://" + std::string(kUser) + "@/" + database_ + "?host=" + folder_.string() + "&port=" +
               std::to_string(port_) + extra;
    }
    // A new, empty database for what follows, so that tests sharing the
    // server never see each other's scans. False when it could not be made.
    bool useFreshDatabase() {
        const std::string name = "test" + std::to_string(++databases_);
        database_ = "postgres";
        if (psql("CREATE DATABASE " + name) != 0) return false;
        database_ = name;
        return true;
    }
    // The same database over TCP on loopback, where the server offers TLS.
    std::string tcpTarget(const std::string& extra = "") const {
        return "postgresql://" + std::string(kUser) + "@127.0.0.1:" + std::to_string(port_) + "/" + database_ +
               (extra.empty() ? "" : "?" + extra);
    }
    // The password file libpq reads through PGPASSFILE.
    std::filesystem::path passFile() const { return folder_ / "client.pgpass"; }

    bool start() {
        return run("pg_ctl", {"-D", data().string(), "-l", (folder_ / "server.log").string(), "-w", "-o",
                              "-k " + folder_.string() + " -c listen_addresses=127.0.0.1 -p " + std::to_string(port_) +
                                  " -c fsync=off -c ssl=on -c ssl_cert_file=" + (folder_ / "server.crt").string() +
                                  " -c ssl_key_file=" + (folder_ / "server.key").string(),
                              "start"}) == 0;
    }
    // Immediate: as a crash or a pulled cable looks to the clients.
    void stop() { run("pg_ctl", {"-D", data().string(), "-m", "immediate", "-w", "stop"}); }

    // Runs SQL as the cluster's owner through psql; its exit status.
    int psql(const std::string& sql) {
        return run("psql", {"-X", "-q", "-v", "ON_ERROR_STOP=1", "-h", folder_.string(), "-p", std::to_string(port_), "-U", kUser, "-d",
                            database_, "-c", sql});
    }

private:
    std::filesystem::path data() const { return folder_ / "data"; }

    static int freeLoopbackPort() {
        const int s = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        int port = 0;
        if (s >= 0 && bind(s, reinterpret_cast<sockaddr*>(&address), size) == 0 &&
            getsockname(s, reinterpret_cast<sockaddr*>(&address), &size) == 0)
            port = ntohs(address.sin_port);
        if (s >= 0) close(s);
        return port;
    }

    static std::filesystem::path serverPrograms() {
        std::vector<std::filesystem::path> found;
        std::error_code ec;
        for (const auto& entry : std::filesystem::directory_iterator("/usr/lib/postgresql", ec))
            if (std::filesystem::exists(entry.path() / "bin" / "initdb")) found.push_back(entry.path() / "bin");
        if (found.empty()) return {};
        // The newest release: version folders are plain numbers.
        return *std::max_element(found.begin(), found.end(), [](const auto& a, const auto& b) {
            return std::atoi(a.parent_path().filename().c_str()) < std::atoi(b.parent_path().filename().c_str());
        });
    }

    void writeOwned(const std::filesystem::path& file, const std::string& bytes) const {
        writeBytes(file, bytes);
        chmod(file.c_str(), 0600);
        if (runAs_ && chown(file.c_str(), runAs_->first, runAs_->second) != 0) return;
    }

    // Runs one of the server's programs, or another by its full path (as
    // "nobody" under root, so that what it makes belongs to the server), its
    // output in folder/<program>.log; the exit status, -1 when it did not exit.
    int run(const std::string& program, const std::vector<std::string>& args) const {
        const bool ofServer = program.find('/') == std::string::npos;
        const std::string path = ofServer ? (bin_ / program).string() : program;
        const std::string log = (folder_ / (std::filesystem::path(program).filename().string() + ".log")).string();
        std::vector<std::string> argv{path};
        argv.insert(argv.end(), args.begin(), args.end());
        const pid_t child = fork();
        if (child < 0) return -1;
        if (child == 0) {
            if (runAs_) {
                if (setgroups(0, nullptr) != 0 || setgid(runAs_->second) != 0 || setuid(runAs_->first) != 0) _exit(126);
            }
            const int out = ::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            if (out >= 0) {
                dup2(out, 1);
                dup2(out, 2);
            }
            setenv("PGPASSWORD", kPassword, 1);  // only psql logs in; the server's programs ignore it
            std::vector<char*> raw;
            for (auto& a : argv) raw.push_back(a.data());
            raw.push_back(nullptr);
            execv(path.c_str(), raw.data());
            _exit(127);
        }
        int status = 0;
        waitpid(child, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    std::filesystem::path bin_;
    std::filesystem::path folder_;
    std::optional<std::pair<uid_t, gid_t>> runAs_;
    std::string why_;
    std::string database_ = "postgres";
    int port_ = 0;
    int databases_ = 0;
};

}  // namespace vantrel::test

namespace vantrel::test {

// One server for the whole test program, started when first asked for, the
// client's password file made known to libpq, and a new database for each caller.
inline PostgresServer& sharedPostgresServer() {
    static PostgresServer server;
    if (server.ready()) {
        setenv("PGPASSFILE", server.passFile().c_str(), 1);
        server.useFreshDatabase();
    }
    return server;
}

}  // namespace vantrel::test
