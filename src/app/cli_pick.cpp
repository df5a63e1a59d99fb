// vantrel-cli pick: what a click at a point of the view names, for the
// default camera: the picked frame's name and the part label, or nothing found.

#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "app/cli_command.h"
#include "app/cli_command_table.h"
#include "app/cli_model.h"
#include "collect/report_loader.h"
#include "engine3d/scene/cd3d_pick.h"
#include "model/default_view.h"
#include "model/part_table.h"

namespace vantrel::cli {
namespace {

const std::string kUsage(commandUsage("pick"));

int runPick(const std::vector<std::string>& args, const std::string& home) {
    std::map<std::string, std::string> options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--all") {
            options[a] = "";
        } else if (a == "--report" || a == "--at" || a == "--size") {
            if (i + 1 >= args.size()) return failWith("pick", a + " needs a value");
            options[a] = args[++i];
        } else {
            return failWith("pick", "unknown argument '" + a + "' (usage: vantrel-cli " + kUsage + ")");
        }
    }
    if (options.count("--report") && options.count("--all"))
        return failWith("pick", std::string("choose one of --report and --all (usage: vantrel-cli ") + kUsage + ")");
    if (!options.count("--at")) return failWith("pick", std::string("--at is required (usage: vantrel-cli ") + kUsage + ")");
    const auto at = numberPair(options["--at"], ',');
    if (!at) return failWith("pick", "--at needs X,Y, not '" + options["--at"] + "'");
    int width = 800, height = 600;
    if (options.count("--size")) {
        const auto size = numberPair(options["--size"], 'x');
        if (!size || size->first < 1 || size->second < 1 || size->first > 16384 || size->second > 16384)
            return failWith("pick", "--size needs WxH in pixels, not '" + options["--size"] + "'");
        width = static_cast<int>(size->first);
        height = static_cast<int>(size->second);
    }
    if (options.count("--report")) {
        if (const auto problem = reportFileProblem(options["--report"])) return failWith("pick", *problem);
    }

    HeadlessPc model("pick", home, "LOCALHOST");
    if (!model.assemble()) return failWith("pick", "no media folder with vm1.x next to the program or in the current folder");
    if (options.count("--report")) model.showReport(options["--report"]);
    if (options.count("--all")) model.showAllParts();

    model::applyDefaultView(model.device, width, height);
    engine3d::CD3DPick pick(model.device);
    pick.ViewportPick(model.pc.PcRoot, static_cast<float>(at->first), static_cast<float>(at->second));
    const auto nearest = pick.FindNearest();
    if (pick.GetCount() == 0 || nearest < 0) {
        std::cout << "nothing found\n";
        return 0;
    }
    // Quoted: a frame name may end with a blank. The label is the part's, or
    // empty when the frame belongs to no named part.
    model::find_part(model.pc, pick.GetFrame(static_cast<engine3d::DWORD>(nearest)));
    std::cout << '"' << model.pc.PickedFrameName << "\"|" << model.pc.PickedPartLabel << '\n';
    return 0;
}

const CliCommandRegistration kRegistration{CliCommand{"pick", runPick}};

}  // namespace
}  // namespace vantrel::cli
