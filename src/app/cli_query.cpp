// vantrel-cli query: what this computer (or the machine whose files are
// under --root) answers to one query, as JSON in the profile format, so a
// user can see what a category will read; --all writes every class, which
// saved to a file is a profile of the machine. With --server the query goes
// to another computer over WS-Management, with the same connection options
// as collect; --all then asks what a collection asks, so the profile stands
// in for that computer in a collection.
// Exit status: 0 rows printed, 2 access denied, 1 anything else.

#include <iostream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/cli_command.h"
#include "app/cli_command_table.h"
#include "app/cli_connection.h"
#include "collect/catalogue.h"
#include "providers/linux/linux_provider.h"
#include "providers/profile/profile_provider.h"
#include "wbem/wbem_error.h"
#include "wbem/wql.h"

namespace vantrel::cli {
namespace {

const std::string kUsage(commandUsage("query"));
constexpr const char* kNamespace = "root\\cimv2";

std::string oneLine(std::string text) {
    for (char& c : text)
        if (c == '\r' || c == '\n') c = ' ';
    return text;
}

int fail(const std::string& reason) {
    std::cerr << "vantrel-cli query: " << oneLine(reason) << "\n";
    return 1;
}

// Exit status of "--all" when some classes answered with a fault.
constexpr int kSomeClassesFailedStatus = 3;

wbem::ProfileClass queryClass(wbem::Services& services, const std::string& statement) {
    const wbem::WqlSelect select = wbem::parseWql(statement);
    auto rows = services.ExecQuery(statement);
    wbem::ProfileClass cls{select.className, {}};
    while (auto row = rows->next()) {
        wbem::TableRow out;
        // "Select *": every property the row has.
        for (const auto& property : select.allProperties ? row->propertyNames() : select.properties)
            out.properties.emplace_back(property, row->property(property));
        cls.rows.push_back(std::move(out));
    }
    return cls;
}

// The classes a run asked for that failed, each with why.
using FailedClasses = std::vector<std::pair<std::string, std::string>>;

// Every query a collection sends, one per class with the properties of all
// of them, in catalogue order.
std::vector<std::string> collectionQueries() {
    std::vector<wbem::WqlSelect> selects;
    auto add = [&selects](std::string_view statement) {
        if (statement.empty()) return;
        wbem::WqlSelect select = wbem::parseWql(statement);
        for (auto& known : selects) {
            if (!wbem::equalsIgnoreCase(known.className, select.className)) continue;
            for (auto& property : select.properties) {
                bool present = false;
                for (const auto& p : known.properties) present = present || wbem::equalsIgnoreCase(p, property);
                if (!present) known.properties.push_back(std::move(property));
            }
            return;
        }
        selects.push_back(std::move(select));
    };
    for (const auto& category : kCatalogue) {
        add(category.query);
        add(category.secondQuery);
    }
    std::vector<std::string> queries;
    for (const auto& select : selects) {
        std::string statement = "Select ";
        for (std::size_t i = 0; i < select.properties.size(); ++i)
            statement += (i ? ", " : "") + select.properties[i];
        queries.push_back(statement + " From " + select.className);
    }
    return queries;
}

wbem::ProfileNamespace queryThisComputer(const std::string& root, bool all, const std::string& statement) {
    wbem::ProfileNamespace ns{kNamespace, {}};
    if (all) {
        const auto names = linuxhost::hardwareDatabaseNames();
        for (std::string_view name : linuxhost::linuxClassNames())
            ns.classes.push_back({std::string(name), *linuxhost::readLinuxClass(root, names, name)});
    } else {
        auto provider = std::make_shared<linuxhost::LinuxProvider>(root);
        auto services = wbem::Locator(provider).ConnectServer("", kNamespace, "", "");
        ns.classes.push_back(queryClass(*services, statement));
    }
    return ns;
}

wbem::ProfileNamespace queryRemote(const ConnectionOptions& connection, bool all, const std::string& statement,
                                   FailedClasses& failed) {
    auto services = wbem::Locator(connection.makeProvider())
                        .ConnectServer(connection.server, kNamespace, connection.user, connection.password);
    wbem::ProfileNamespace ns{kNamespace, {}};
    if (!all) {
        ns.classes.push_back(queryClass(*services, statement));
        return ns;
    }
    // One class's fault leaves it out; a node gone or a refused login ends it all.
    for (const auto& query : collectionQueries()) {
        try {
            ns.classes.push_back(queryClass(*services, query));
        } catch (const wbem::WbemError& e) {
            if (e.code() == wbem::ErrorCode::AccessDenied || e.code() == wbem::ErrorCode::ConnectionFailed) throw;
            failed.emplace_back(wbem::parseWql(query).className, e.what());
        }
    }
    return ns;
}

int runQuery(const std::vector<std::string>& args, const std::string&) {
    std::string root;
    std::string statement;
    bool all = false;
    ConnectionOptions connection;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const OptionTaken taken = connection.take(args, i);
        if (taken == OptionTaken::Taken) continue;
        if (taken == OptionTaken::MissingValue) return fail(args[i] + " needs a value");
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
    if (const auto conflict = connection.conflict()) return fail(*conflict);
    if (connection.remote() && !root.empty())
        return fail(std::string("--root and ") + (connection.ssh ? "--ssh" : "--server") + " exclude each other");
    if (!connection.remote() && (connection.given("--server") || connection.given("--user") || connection.given("--password")))
        return fail("--user and --password need --server: this computer is queried without a login");

    wbem::Profile profile;
    FailedClasses failed;
    try {
        profile.namespaces.push_back(connection.remote() ? queryRemote(connection, all, statement, failed)
                                                         : queryThisComputer(root.empty() ? "/" : root, all, statement));
    } catch (const wbem::WbemError& e) {
        if (connection.remote() && e.code() == wbem::ErrorCode::AccessDenied) {
            std::cerr << "vantrel-cli query: " << oneLine(connectionFailureReason(connection.user, connection.server, e))
                      << "\n";
            return kAccessDeniedStatus;
        }
        return fail(e.what());
    } catch (const std::exception& e) {
        return fail(e.what());
    }
    std::cout << wbem::writeProfile(profile);
    for (const auto& [className, why] : failed) std::cerr << "vantrel-cli query: " << className << ": " << oneLine(why) << "\n";
    return failed.empty() ? 0 : kSomeClassesFailedStatus;
}

const CliCommandRegistration kRegistration{CliCommand{"query", runQuery}};

}  // namespace
}  // namespace vantrel::cli
