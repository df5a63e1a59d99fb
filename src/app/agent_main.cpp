// vantrel-agent: answers the hardware queries of Vantrel over WS-Management
// (HTTPS, Basic logins against its own users file, Kerberos logins through
// Negotiate for the principals listed when given the service's keytab).
//   vantrel-agent adduser --users FILE NAME       (password on standard input)
//   vantrel-agent serve --listen ADDRESS:PORT --users FILE [--cert CERT.pem --key KEY.pem]
//                       [--state DIR] [--profile FILE] [--max-connections N]
//                       [--keytab FILE --kerberos-users FILE]
//   vantrel-agent install [--root DIR]
// Exit status: 0 done, 1 failure, 2 wrong usage.

#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <iostream>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "agent/agent_server.h"
#include "agent/login_guard.h"
#include "agent/self_signed_cert.h"
#include "agent/service_install.h"
#include "agent/users_file.h"
#include "agent/wsman_service.h"
#include "app/agent_provider.h"
#include "core/version.h"

namespace {

using namespace vantrel::agent;

constexpr const char* kUsage =
    "Usage: vantrel-agent adduser --users FILE NAME   (the password is read from standard input)\n"
    "       vantrel-agent serve --listen ADDRESS:PORT --users FILE [--cert CERT.pem --key KEY.pem]\n"
    "                           [--state DIR] [--profile FILE] [--max-connections N]\n"
    "                           [--keytab FILE --kerberos-users FILE]\n"
    "       vantrel-agent install [--root DIR]\n"
    "       vantrel-agent --version | --help\n";

struct Arguments {
    std::map<std::string, std::string> options;
    std::vector<std::string> positional;
};

// Options all take a value; anything else is positional.
bool splitArguments(const std::vector<std::string>& args, const std::vector<std::string>& known, Arguments& out) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i].rfind("--", 0) != 0) {
            out.positional.push_back(args[i]);
            continue;
        }
        bool isKnown = false;
        for (const auto& k : known) isKnown = isKnown || k == args[i];
        if (!isKnown || i + 1 >= args.size()) {
            std::cerr << "vantrel-agent: " << (isKnown ? args[i] + " needs a value" : "unknown option " + args[i]) << "\n"
                      << kUsage;
            return false;
        }
        out.options[args[i]] = args[i + 1];
        ++i;
    }
    return true;
}

int addUserCommand(const std::vector<std::string>& args) {
    Arguments a;
    if (!splitArguments(args, {"--users"}, a)) return 2;
    if (!a.options.count("--users") || a.positional.size() != 1) {
        std::cerr << kUsage;
        return 2;
    }
    if (::isatty(STDIN_FILENO)) std::cerr << "Password for " << a.positional[0] << ": ";
    std::string password;
    std::getline(std::cin, password);
    if (!password.empty() && password.back() == '\r') password.pop_back();
    addUser(a.options["--users"], a.positional[0], password);
    std::cout << "User " << a.positional[0] << " saved in " << a.options["--users"] << "\n";
    return 0;
}

int serveCommand(const std::vector<std::string>& args) {
    Arguments a;
    if (!splitArguments(args, {"--listen", "--users", "--cert", "--key", "--state", "--profile", "--max-connections",
                               "--keytab", "--kerberos-users"},
                        a))
        return 2;
    if (!a.positional.empty() || !a.options.count("--listen") || !a.options.count("--users") ||
        a.options.count("--cert") != a.options.count("--key") ||
        a.options.count("--keytab") != a.options.count("--kerberos-users")) {
        std::cerr << kUsage;
        return 2;
    }
    ServerSettings settings;
    parseListenAddress(a.options["--listen"], settings.host, settings.port);
    if (a.options.count("--max-connections")) {
        const int n = std::atoi(a.options["--max-connections"].c_str());
        if (n < 1 || n > 4096) throw AgentError("--max-connections takes 1 to 4096");
        settings.maxConnections = static_cast<std::size_t>(n);
    }
    if (a.options.count("--cert")) {
        settings.certificate = a.options["--cert"];
        settings.key = a.options["--key"];
    }
    const std::filesystem::path state = a.options.count("--state") ? a.options["--state"] : "vantrel-agent-state";
    if (!a.options.count("--cert")) {
        const CertificateFiles files = ensureSelfSignedCertificate(state);
        settings.certificate = files.certificate;
        settings.key = files.key;
        std::cout << (files.created ? "Created" : "Using") << " the self-signed certificate "
                  << std::filesystem::absolute(files.certificate).string() << "\n";
    }
    std::cout << "Certificate SHA-256 fingerprint: " << sha256Fingerprint(settings.certificate) << std::endl;
    if (a.options.count("--keytab")) {
        // The tickets seen are remembered in the state folder, so none is taken twice.
        std::filesystem::create_directories(state);
        std::filesystem::permissions(state, std::filesystem::perms::owner_all);
        settings.kerberos = std::make_shared<const KerberosAcceptor>(
            a.options["--keytab"], state / "kerberos-replay", loadPrincipals(a.options["--kerberos-users"]));
        std::cout << "Kerberos logins with the keytab " << a.options["--keytab"] << std::endl;
    }

    auto logins = std::make_shared<LoginGuard>(loadUsers(a.options["--users"]));
    auto service = std::make_shared<WsmanService>(servedProvider(a.options["--profile"]),
                                                  std::string("vantrel-agent ") + vantrel::kVersionText);

    // SIGINT and SIGTERM are taken by one thread that stops the server.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    signal(SIGPIPE, SIG_IGN);

    AgentServer server(settings, service, logins);
    std::cout << "Listening on " << settings.host << ":" << server.port() << std::endl;
    std::atomic<bool> finished{false};
    std::thread stopper([&] {
        while (true) {
            int received = 0;
            sigwait(&stopSignals, &received);
            if (finished) return;
            // A signal that comes before the listener runs must still stop it.
            while (!server.isRunning() && !finished) std::this_thread::sleep_for(std::chrono::milliseconds(5));
            server.stop();
        }
    });
    server.run();
    finished = true;
    pthread_kill(stopper.native_handle(), SIGTERM);
    stopper.join();
    return 0;
}

int installCommand(const std::vector<std::string>& args) {
    Arguments a;
    if (!splitArguments(args, {"--root"}, a) || !a.positional.empty()) return 2;
    InstallPlan plan;
    if (a.options.count("--root")) plan.root = a.options["--root"];
    plan.program = std::filesystem::read_symlink("/proc/self/exe");
    installService(plan, std::cout);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        std::cerr << kUsage;
        return 2;
    }
    const std::string command = args.front();
    args.erase(args.begin());
    try {
        if (command == "--help" || command == "-h") {
            std::cout << kUsage;
            return 0;
        }
        if (command == "--version") {
            std::cout << "vantrel-agent " << vantrel::kVersionText << "\n";
            return 0;
        }
        if (command == "adduser") return addUserCommand(args);
        if (command == "serve") return serveCommand(args);
        if (command == "install") return installCommand(args);
    } catch (const std::exception& e) {
        std::cerr << "vantrel-agent: " << e.what() << "\n";
        return 1;
    }
    std::cerr << "vantrel-agent: unknown command '" << command << "'\n" << kUsage;
    return 2;
}
