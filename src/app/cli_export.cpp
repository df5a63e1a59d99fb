// vantrel-cli export: the inventory for people without the program: a static
// HTML site with a picture of every PC (--html DIR), one CSV row per
// component (--csv FILE), or one JSON document (--json FILE). Only what is
// asked for is written, and never into the program folder.

#include <chrono>
#include <filesystem>
#include <iostream>
#include <thread>

#include "app/cli_command.h"
#include "app/cli_command_table.h"
#include "app/cli_home.h"
#include "app/cli_options.h"
#include "core/text_file.h"
#include "export/csv_export.h"
#include "export/export_error.h"
#include "export/export_renderer.h"
#include "export/export_target.h"
#include "export/json_export.h"

namespace vantrel::cli {
namespace {

const std::string kUsage(commandUsage("export"));
constexpr int kPictureWidth = 640, kPictureHeight = 480;

std::vector<std::string> splitNames(const std::string& list) {
    std::vector<std::string> names;
    std::size_t start = 0;
    while (start <= list.size()) {
        const auto comma = list.find(',', start);
        const std::string name = list.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        if (!name.empty()) names.push_back(name);
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return names;
}

struct Request {
    std::string home, html, csv, json;
    std::vector<std::string> nodes;
    int workers = 0;
    bool progress = false;
};

std::optional<std::string> readRequest(const std::vector<std::string>& args, Request& request) {
    OptionReader options(args);
    while (options.next()) {
        const std::string o = options.option();
        if (o == "--progress") {
            request.progress = true;
            continue;
        }
        std::string* target = o == "--home" ? &request.home : o == "--html" ? &request.html
                            : o == "--csv"  ? &request.csv  : o == "--json" ? &request.json : nullptr;
        if (!target && o != "--nodes" && o != "--workers")
            return "unknown argument '" + o + "' (usage: vantrel-cli " + kUsage + ")";
        const auto value = options.value();
        if (!value || value->empty()) return o + " needs a value";
        if (target) *target = *value;
        else if (o == "--nodes") request.nodes = splitNames(*value);
        else if (const auto n = parseNumber(*value, 1, 64)) request.workers = *n;
        else return "--workers must be a number from 1 to 64";
    }
    if (request.html.empty() && request.csv.empty() && request.json.empty())
        return std::string("give at least one of --html, --csv and --json (usage: vantrel-cli ") + kUsage + ")";
    return std::nullopt;
}

void writeDataFile(const std::string& file, const std::string& content) {
    if (!writeFileAtomically(file, content)) throw ExportError("cannot write " + file);
}

int runExport(const std::vector<std::string>& args, const std::string& globalHome) {
    Request request;
    request.home = globalHome;
    if (const auto problem = readRequest(args, request)) return failWith("export", *problem);
    try {
        CliHome home("export", request.home);
        const auto& root = home.state().folder.root();
        for (const std::string* out : {&request.html, &request.csv, &request.json})
            if (!out->empty()) refuseInsideProgramFolder(*out, root);
        home.load();
        const auto nodes = gatherExportNodes(home.state().folder, home.state().domain.nodes, request.nodes);
        const auto now = std::chrono::system_clock::now();
        if (!request.csv.empty()) writeDataFile(request.csv, inventoryCsv(nodes));
        if (!request.json.empty()) writeDataFile(request.json, inventoryJson(nodes, now));
        if (request.html.empty()) return 0;

        ExportFolder folder(request.html);
        HtmlExportOptions options;
        const std::string homePath = root.string();
        const std::int32_t background = home.state().domain.settings.backgroundColor;
        options.makeRenderer = [homePath, background] {
            return std::make_unique<ExportRenderer>(homePath, kPictureWidth, kPictureHeight, background);
        };
        options.workers = request.workers ? request.workers : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
        if (request.progress)
            options.progress = [](int done, int total) { std::cerr << "pictures " << done << "/" << total << "\n"; };
        const auto result = writeHtmlSite(folder, nodes, options, now);
        for (const auto& problem : result.problems) std::cerr << "vantrel-cli export: " << printable(problem) << "\n";
    } catch (const std::exception& e) {
        return failWith("export", e.what());
    }
    return 0;
}

const CliCommandRegistration kRegistration{CliCommand{"export", runExport}};

}  // namespace
}  // namespace vantrel::cli
