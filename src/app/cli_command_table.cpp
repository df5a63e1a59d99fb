#include "app/cli_command_table.h"

#include <array>

namespace vantrel::cli {
namespace {

// The programs, by the libraries they bring (see src/app/CMakeLists.txt).
constexpr std::string_view kLocal = "vantrel-cli-local";     // this computer, a profile; hands remote work on
constexpr std::string_view kModel = "vantrel-cli-model";     // the .x reader and the model, no OpenGL
constexpr std::string_view kRender = "vantrel-cli-render";   // OpenGL pictures and the export
constexpr std::string_view kHistory = "vantrel-cli-history"; // the inventory store
constexpr std::string_view kNetwork = "vantrel-cli-network"; // the node table, discovery, every transport

// Sorted by name: --help lists them in this order.
constexpr std::array kCommands{
    CliCommandEntry{"collect",
                    "collect [--root DIR | --profile FILE [--server ADDRESS] | --server HOST[:PORT] [--trust CERT.pem]\n"
                    "          [--negotiate | --negotiate-http | --insecure-http] | --ssh [USER@]HOST[:PORT] [--identity KEY]\n"
                    "          [--accept-new-host-key]] [--user U] [--password P] [--namespace NS] --out REPORT",
                    kLocal},
    CliCommandEntry{"diff", "diff [--home DIR] [--json] NODE [FROM [TO]]   what changed between two scans (numbers or dates)",
                    kHistory},
    CliCommandEntry{"discover",
                    "discover [--timeout SECONDS]   list the computers of the local network (name, address, how found)",
                    kNetwork},
    CliCommandEntry{"export",
                    "export [--home DIR] [--html DIR] [--csv FILE] [--json FILE] [--nodes NAME,...] [--workers N] [--progress]",
                    kRender},
    CliCommandEntry{"history", "history [--home DIR] NODE   list the scans of a node", kHistory},
    CliCommandEntry{"network",
                    "network [--home DIR] [--rescan] [--timeout SECONDS]   add the computers of the local network to the node table",
                    kNetwork},
    CliCommandEntry{"nodes",
                    "nodes [--home DIR]   list the node table (name, display name, address, enabled, status, last result)",
                    kNetwork},
    CliCommandEntry{"pick", "pick [--report REPORT | --all] --at X,Y [--size WxH]", kModel},
    CliCommandEntry{"query",
                    "query [--root DIR | --server HOST[:PORT] [--trust CERT.pem] [--negotiate | --negotiate-http | --insecure-http]\n"
                    "          [--user U] [--password P] | --ssh [USER@]HOST[:PORT] [--identity KEY] [--accept-new-host-key]\n"
                    "          [--password P]] \"Select ... From Class\" | --all",
                    kLocal},
    CliCommandEntry{"render",
                    "render [--home DIR] [--model FILE.x | --report REPORT [--compare OLD_REPORT] | --node NAME [--scans A,B] | --all]\n"
                    "          [--size WxH] [--camera X,Y,Z] [--background 0xAARRGGBB] [--turn DX,DY] --png OUT.png",
                    kRender},
    CliCommandEntry{"scan",
                    "scan [--home DIR] (--all | --node NAME | --local) [--parallel N] [--profile FILE] [--on-change COMMAND]   "
                    "scan nodes of the node table",
                    kNetwork},
    CliCommandEntry{"show", "show [--report REPORT | --all | --reset] [--node NAME]", kModel},
    CliCommandEntry{"store", "store copy --from SQLITE_FILE --to URL   copy a scan history into the shared store", kHistory},
    CliCommandEntry{"xinfo", "xinfo FILE     print the frames, meshes and animations of a .x file as JSON", kModel},
};

}  // namespace

std::span<const CliCommandEntry> cliCommandTable() { return kCommands; }

bool drawsPictures(const CliCommandEntry& entry) { return entry.program == kRender; }

const CliCommandEntry* findCliCommand(std::string_view name) {
    for (const auto& c : kCommands)
        if (c.name == name) return &c;
    return nullptr;
}

std::string_view commandUsage(std::string_view name) {
    const auto* c = findCliCommand(name);
    return c ? c->usage : std::string_view();
}

void printCliHelp(std::ostream& out) {
    out << "Usage: vantrel-cli [--home DIR] [--store URL] COMMAND [ARGS...]\n"
           "       vantrel-cli --version | --help\n\n"
           "Options:\n"
           "  --home DIR   use DIR as the program folder\n"
           "  --store URL  keep the scan history in the PostgreSQL database of URL\n"
           "               (postgresql://USER@HOST/DB; the password from ~/.pgpass or PGPASSWORD)\n"
           "  --version    print the version and exit\n"
           "  --help       print this help and exit\n"
           "\nCommands:\n";
    for (const auto& c : kCommands) out << "  " << c.usage << "\n";
}

}  // namespace vantrel::cli
