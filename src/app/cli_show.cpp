// vantrel-cli show: the virtual PC as the desktop program shows it, without a
// window: the hardware tree, a line "--", then the part frames switched on.

#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "app/cli_command.h"
#include "app/cli_command_table.h"
#include "app/cli_model.h"
#include "collect/report_loader.h"

namespace vantrel::cli {
namespace {

const std::string kUsage(commandUsage("show"));

void printTree(const TreeControl& tree, int index, int depth) {
    const auto& item = tree.item(index);
    std::cout << std::string(static_cast<std::size_t>(depth) * 2, ' ') << item.key << '|' << item.text << '|'
              << imageKeyName(item.image) << '\n';
    for (int child : item.children) printTree(tree, child, depth + 1);
}

int runShow(const std::vector<std::string>& args, const std::string& home) {
    std::map<std::string, std::string> options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--all" || a == "--reset") {
            options[a] = "";
        } else if (a == "--report" || a == "--node") {
            if (i + 1 >= args.size()) return failWith("show", a + " needs a value");
            options[a] = args[++i];
        } else {
            return failWith("show", "unknown argument '" + a + "' (usage: vantrel-cli " + kUsage + ")");
        }
    }
    if (options.count("--report") + options.count("--all") + options.count("--reset") > 1)
        return failWith("show", std::string("choose one of --report, --all and --reset (usage: vantrel-cli ") + kUsage + ")");

    std::string node = options.count("--node") ? options["--node"] : "LOCALHOST";
    if (options.count("--report")) {
        if (const auto problem = reportFileProblem(options["--report"])) return failWith("show", *problem);
    }

    HeadlessPc model("show", home, node);
    if (!model.assemble()) return failWith("show", "no media folder with vm1.x next to the program or in the current folder");
    if (options.count("--report")) model.showReport(options["--report"]);
    if (options.count("--all")) model.showAllParts();

    for (int root : model.hardwareTree().roots()) printTree(model.hardwareTree(), root, 0);
    std::cout << "--\n";
    for (const auto& part : model.pc.parts())
        if (part.frame->Enabled) std::cout << part.name << '\n';
    return 0;
}

const CliCommandRegistration kRegistration{CliCommand{"show", runShow}};

}  // namespace
}  // namespace vantrel::cli
