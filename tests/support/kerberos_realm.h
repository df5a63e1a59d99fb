#pragma once
// A Kerberos realm of its own for a test process: an MIT KDC with a fresh
// database in a temporary folder, listening on a free loopback port, with
// users and the HTTP/localhost service whose keytab the acceptor reads.
// The process's Kerberos environment (KRB5_CONFIG, KRB5CCNAME, KRB5_KTNAME,
// KRB5RCACHENAME) points at the realm, so nothing of the machine's own is
// read or changed.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "support/run_program.h"
#include "support/temp_folder.h"

extern char** environ;

namespace vantrel::test {

class KerberosRealm {
public:
    static constexpr const char* kRealm = "VANTREL.TEST";

    KerberosRealm() {
        const auto& dir = folder_.path();
        port_ = freePort();
        writeBytes(dir / "krb5.conf",
                                  "[libdefaults]\n default_realm = VANTREL.TEST\n dns_lookup_kdc = false\n"
                                  " dns_lookup_realm = false\n rdns = false\n dns_canonicalize_hostname = false\n"
                                  " udp_preference_limit = 1\n"
                                  "[realms]\n VANTREL.TEST = {\n  kdc = 127.0.0.1:" + std::to_string(port_) +
                                      "\n }\n[domain_realm]\n localhost = VANTREL.TEST\n");
        writeBytes(dir / "kdc.conf",
                                  "[kdcdefaults]\n kdc_listen = 127.0.0.1:" + std::to_string(port_) +
                                      "\n kdc_tcp_listen = 127.0.0.1:" + std::to_string(port_) +
                                      "\n[realms]\n VANTREL.TEST = {\n  database_name = " + (dir / "principal").string() +
                                      "\n  key_stash_file = " + (dir / "stash").string() +
                                      "\n  acl_file = " + (dir / "kadm5.acl").string() + "\n }\n");
        ::setenv("KRB5_CONFIG", (dir / "krb5.conf").c_str(), 1);
        ::setenv("KRB5_KDC_PROFILE", (dir / "kdc.conf").c_str(), 1);
        ::setenv("KRB5CCNAME", ("FILE:" + (dir / "tickets").string()).c_str(), 1);
        ::setenv("KRB5_KTNAME", ("FILE:" + (dir / "http.keytab").string()).c_str(), 1);
        ::setenv("KRB5RCACHENAME", ("file2:" + (dir / "replay").string()).c_str(), 1);
        run("/usr/sbin/kdb5_util", {"create", "-s", "-P", "master-secret", "-r", kRealm});
        for (const char* user : {"alice", "bob"}) admin(std::string("addprinc -pw ") + user + "-secret " + user);
        admin("addprinc -randkey HTTP/localhost");
        admin("ktadd -k " + (dir / "http.keytab").string() + " HTTP/localhost");

        const char* argv[] = {"/usr/sbin/krb5kdc", "-n", nullptr};
        if (posix_spawn(&kdc_, argv[0], nullptr, nullptr, const_cast<char**>(argv), environ) != 0)
            throw std::runtime_error("cannot start krb5kdc");
        waitForKdc();
    }
    ~KerberosRealm() {
        ::kill(kdc_, SIGTERM);
        ::waitpid(kdc_, nullptr, 0);
    }

    // Takes `user`'s ticket into the process's ticket cache (kinit).
    void kinit(const std::string& user) {
        const auto r = runProgram(
            "sh", {"-c", "echo " + user + "-secret | /usr/bin/kinit " + user}, folder_.path());
        if (r.status != 0) throw std::runtime_error("kinit failed: " + r.err);
    }
    std::filesystem::path keytab() const { return folder_.path() / "http.keytab"; }
    void kdestroy() { runProgram("/usr/bin/kdestroy", {}, folder_.path()); }

private:
    static int freePort() {
        const int s = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof a;
        ::bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a);
        ::getsockname(s, reinterpret_cast<sockaddr*>(&a), &len);
        ::close(s);
        return ntohs(a.sin_port);
    }
    void waitForKdc() {
        for (int i = 0; i < 500; ++i) {
            const int s = ::socket(AF_INET, SOCK_STREAM, 0);
            sockaddr_in a{};
            a.sin_family = AF_INET;
            a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
            a.sin_port = htons(static_cast<uint16_t>(port_));
            const bool up = ::connect(s, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
            ::close(s);
            if (up) return;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        throw std::runtime_error("krb5kdc does not listen");
    }
    void admin(const std::string& query) { run("/usr/sbin/kadmin.local", {"-q", query}); }
    void run(const std::string& program, const std::vector<std::string>& args) {
        const auto r = runProgram(program, args, folder_.path());
        if (r.status != 0) throw std::runtime_error(program + " failed: " + r.err);
    }

    TempFolder folder_;
    int port_ = 0;
    pid_t kdc_ = -1;
};

}  // namespace vantrel::test
