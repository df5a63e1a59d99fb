// vantrel-cli query: what this computer (or the machine whose files are
// under --root) answers to one query, as JSON in the profile format, so a
// user can see what a category will read; --all writes every class, which
// saved to a file is a profile of the machine.
// Exit status: 0 rows printed, 1 anything else.

#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "app/cli_command.h"
#include "providers/linux/linux_provider.h"
#include "providers/profile/profile_provider.h"
#include "wbem/wql.h"

namespace vantrel::cli {
namespace {

constexpr const char* kUsage = "query [--root DIR] \"Select ... From Class\" | query [--root DIR] --all";
constexpr const char* kNamespace = "root\\cimv2";

int fail(const std::string& reason) {
    std::string line = reason;
    for (char& c : line)
        if (c == '\r' || c == '\n') c = ' ';
    std::cerr << "vantrel-cli query: " << line << "\n";
    return 1;
}

wbem::ProfileClass queryClass(wbem::Provider& provider, const std::string& statement) {
    const wbem::WqlSelect select = wbem::parseWql(statement);
    auto services = wbem::Locator(std::shared_ptr<wbem::Provider>(&provider, [](wbem::Provider*) {}))
                        .ConnectServer("", kNamespace, "", "");
    auto rows = services->ExecQuery(statement);
    wbem::ProfileClass cls{select.className, {}};
    while (auto row = rows->next()) {
        wbem::TableRow out;
        for (const auto& property : select.properties) out.properties.emplace_back(property, row->property(property));
        cls.rows.push_back(std::move(out));
    }
    return cls;
}

int runQuery(const std::vector<std::string>& args, const std::string&) {
    std::string root = "/";
    std::string statement;
    bool all = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--root") {
            if (i + 1 >= args.size()) return fail("--root needs a folder");
            root = args[++i];
        } else if (args[i] == "--all") {
            all = true;
        } else if (statement.empty() && args[i].rfind("--", 0) != 0) {
            statement = args[i];
        } else {
            return fail("unknown argument '" + args[i] + "' (usage: vantrel-cli " + kUsage + ")");
        }
    }
    if (all == !statement.empty()) return fail(std::string("give one query or --all (usage: vantrel-cli ") + kUsage + ")");

    wbem::Profile profile;
    wbem::ProfileNamespace ns{kNamespace, {}};
    try {
        if (all) {
            const auto names = linuxhost::hardwareDatabaseNames();
            for (std::string_view name : linuxhost::linuxClassNames())
                ns.classes.push_back({std::string(name), *linuxhost::readLinuxClass(root, names, name)});
        } else {
            linuxhost::LinuxProvider provider(root);
            ns.classes.push_back(queryClass(provider, statement));
        }
    } catch (const std::exception& e) {
        return fail(e.what());
    }
    profile.namespaces.push_back(std::move(ns));
    std::cout << wbem::writeProfile(profile);
    return 0;
}

const CliCommandRegistration kRegistration{CliCommand{"query", kUsage, runQuery}};

}  // namespace
}  // namespace vantrel::cli
