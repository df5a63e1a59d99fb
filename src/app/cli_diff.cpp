// vantrel-cli diff [--home DIR] [--json] NODE [FROM [TO]]: what changed in a
// node's hardware between two of its scans, named by number or by time (UTC;
// the last scan at or before it). Without FROM and TO, the last two scans;
// with FROM only, FROM against the last scan.

#include <algorithm>
#include <iostream>

#include "app/cli_command.h"
#include "app/cli_command_table.h"
#include "app/cli_options.h"
#include "app/cli_quiet_ui.h"
#include "app/cli_store.h"
#include "store/change_format.h"
#include "store/scan_selection.h"

namespace vantrel::cli {
namespace {

const std::string kUsage(commandUsage("diff"));

std::string scanLine(const ScanInfo& scan) {
    return "scan " + std::to_string(scan.number) + " (" + timeText(scan.time) + ", " + printable(scan.source) + ")";
}

int runDiff(const std::vector<std::string>& args, const std::string& globalHome) {
    std::string home = globalHome;
    bool json = false;
    std::vector<std::string> positional;
    OptionReader options(args);
    while (options.next()) {
        const std::string o = options.option();
        if (o == "--json") {
            json = true;
        } else if (o == "--home") {
            const auto value = options.value();
            if (!value) return failWith("diff", "--home needs a folder");
            home = *value;
        } else if (!o.starts_with("--") && positional.size() < 3) {
            positional.push_back(o);
        } else {
            return failWith("diff", "unknown argument '" + o + "' (usage: vantrel-cli " + kUsage + ")");
        }
    }
    if (positional.empty()) return failWith("diff", std::string("usage: vantrel-cli ") + kUsage);
    try {
        auto store = openStoreOfHome(home);
        const std::string node = findStoredNode(*store, positional[0]);
        if (node.empty()) return failWith("diff", "no scans of " + positional[0]);
        const std::vector<ScanInfo> scans = store->listScans(node);
        if (positional.size() == 1 && scans.size() < 2)
            return failWith("diff", node + " has one scan only: nothing to compare it with");
        auto pick = [&](std::size_t i, int fallback) -> std::optional<int> {
            if (i >= positional.size()) return fallback;
            return selectScan(scans, positional[i]);
        };
        const auto older = pick(1, scans.size() >= 2 ? scans[scans.size() - 2].number : scans.back().number);
        const auto newer = pick(2, scans.back().number);
        if (!older) return failWith("diff", node + " has no scan " + positional[1]);
        if (!newer) return failWith("diff", node + " has no scan " + positional[2]);
        const ScanChanges changes = store->compare(node, *older, *newer);
        auto info = [&](int number) {
            return *std::find_if(scans.begin(), scans.end(), [&](const auto& s) { return s.number == number; });
        };
        const ScanInfo from = info(*older);
        const ScanInfo to = info(*newer);
        if (json) {
            const auto loaded = store->loadScan(node, *newer);
            std::cout << changesToJson({node, loaded ? loaded->address : std::string(), from, to}, changes);
        } else {
            std::cout << printable(node) << ": " << scanLine(from) << " -> " << scanLine(to) << '\n';
            // One line per change; the names came from the node.
            std::string text = changesToText(changes);
            std::size_t start = 0;
            while (start < text.size()) {
                const std::size_t end = text.find('\n', start);
                std::cout << printable(text.substr(start, end - start)) << '\n';
                start = end + 1;
            }
        }
    } catch (const std::exception& e) {
        return failWith("diff", e.what());
    }
    return 0;
}

const CliCommandRegistration kRegistration{CliCommand{"diff", runDiff}};

}  // namespace
}  // namespace vantrel::cli
