// vantrel-cli collect: what "Scan selected PC" runs (the connection test
// unless the server is empty, then the collection run) against a computer
// that a profile describes, or against a remote node over WS-Management
// when only --server is given, with the report written to a file of the
// user's choice. With neither it collects this computer, or the machine whose
// files are under --root, as "Scan Local PC" does.
// Exit status: 0 report written, 2 access denied, 1 anything else.

#include <iostream>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/cli_command.h"
#include "app/cli_command_table.h"
#include "app/cli_connection.h"
#include "app/cli_quiet_ui.h"
#include "collect/collection_run.h"
#include "collect/connection.h"
#include "collect/hardware_session.h"
#include "core/program_state.h"
#include "providers/profile/profile_provider.h"
#include "providers/linux/linux_provider.h"
#include "wbem/wbem_error.h"

namespace vantrel::cli {
namespace {

const std::string kUsage(commandUsage("collect"));

// One line on standard error, whatever the reason's text holds.
void printReason(std::string reason) {
    for (char& c : reason)
        if (c == '\r' || c == '\n') c = ' ';
    std::cerr << "vantrel-cli collect: " << reason << "\n";
}

// Every status text on its own line of standard output.
class StatusPrinter : public SilentScanListener {
public:
    void statusChanged(const std::string& status) override {
        std::string text = status;
        for (char& c : text)
            if (c == '\r' || c == '\n') c = ' ';  // one status, one line
        std::cout << text << std::endl;
    }
};

// Why the node refused the connection test, asked once more.
std::optional<wbem::WbemError> refusalCause(wbem::Provider& provider, const ProgramState& state) {
    const CurrentLogin& login = state.domain.currentLogin;
    try {
        auto services = provider.connect({login.server, state.domain.settings.wmiNamespace, login.user, login.password});
        auto rows = services->ExecQuery("Select Name From Win32_ComputerSystem");
    } catch (const wbem::WbemError& e) {
        return e;
    }
    return std::nullopt;
}

int fail(const std::string& reason) {
    printReason(reason);
    return 1;
}

int runCollect(const std::vector<std::string>& args, const std::string& home) {
    static const std::vector<std::string> kOptions{"--profile", "--namespace", "--out", "--root"};
    std::map<std::string, std::string> options;
    ConnectionOptions connection;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const OptionTaken taken = connection.take(args, i);
        if (taken == OptionTaken::Taken) continue;
        bool known = taken == OptionTaken::MissingValue;
        for (const auto& o : kOptions) known = known || args[i] == o;
        if (!known) return fail("unknown argument '" + args[i] + "' (usage: vantrel-cli " + kUsage + ")");
        if (i + 1 >= args.size()) return fail(args[i] + " needs a value");
        options[args[i]] = args[i + 1];
        ++i;
    }
    if (!options.count("--out"))
        return fail(std::string("--out is required (usage: vantrel-cli ") + kUsage + ")");
    const bool remote = !options.count("--profile") && connection.remote();
    const bool local = !options.count("--profile") && !remote;
    if (const auto conflict = connection.conflict()) return fail(*conflict);
    if (local && (connection.given("--server") || connection.given("--user") || connection.given("--password")))
        return fail("--user and --password need --profile or --server: this computer is collected without a login");
    if (!local && options.count("--root"))
        return fail(std::string("--root and ") + (remote ? (connection.ssh ? "--ssh" : "--server") : "--profile") +
                    " exclude each other");

    std::shared_ptr<wbem::Provider> provider;
    try {
        if (local) {
            provider = std::make_shared<linuxhost::LinuxProvider>(options.count("--root") ? options["--root"] : "/");
        } else if (remote) {
            provider = connection.makeProvider();
        } else {
            provider = std::make_shared<wbem::ProfileProvider>(
                std::make_shared<wbem::Profile>(wbem::loadProfile(options["--profile"])));
        }
    } catch (const std::exception& e) {
        return fail(e.what());
    }

    QuietUi ui("collect");
    ProgramState state(ProgramFolder(home.empty() ? std::filesystem::path(".") : std::filesystem::path(home)), ui);
    if (options.count("--namespace")) state.domain.settings.wmiNamespace = options["--namespace"];
    NodeRecord node;
    node.address = connection.server;
    node.name = node.address;
    node.displayName = node.address;
    node.enabled = NodeEnabled::Shown;
    node.loginUser = connection.user;
    node.loginPassword = connection.password;
    node.scanStatus = ScanStatus::NotScanned;
    state.domain.nodes.currentNode = state.domain.nodes.append(node);
    state.domain.currentLogin = CurrentLogin{node.address, node.loginUser, node.loginPassword};

    HardwareSession session;
    session.provider = provider;
    StatusPrinter printer;
    session.listener = &printer;
    session.reportFileOverride = options["--out"];

    try {
        if (!node.address.empty()) {
            TestConnection(state, session);
            if (state.domain.accessDeniedFlag) {
                // The scan only says "Access denied"; the user of a command line wants the cause.
                const auto cause = refusalCause(*provider, state);
                const bool refusedLogin = !cause || cause->code() == wbem::ErrorCode::AccessDenied;
                printReason(connectionFailureReason(node.loginUser, node.address, cause));
                return refusedLogin ? kAccessDeniedStatus : 1;
            }
        }
        if (!CollectHardware(state, session)) return fail("cannot write the report to " + options["--out"]);
    } catch (const std::exception& e) {
        return fail(std::string("the collection stopped: ") + e.what());
    }
    return 0;
}

const CliCommandRegistration kRegistration{CliCommand{"collect", runCollect}};

}  // namespace
}  // namespace vantrel::cli
