// vantrel-cli render: draws a picture of the 3D view without any window (EGL on
// a surfaceless Mesa context) and writes it as a PNG file. With --compare, or
// two stored scans of a node, the newer model shows what changed since the
// older: added parts green, changed parts amber, removed ones as red ghosts.

#include <charconv>
#include <cstdint>
#include <exception>
#include <filesystem>
#include <iostream>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

#include "app/cli_command.h"
#include "app/cli_command_table.h"
#include "app/cli_model.h"
#include "app/cli_store.h"
#include "collect/report_loader.h"
#include "core/program_folder.h"
#include "core/settings_file.h"
#include "core/start_camera.h"
#include "model/change_marks.h"
#include "render_gl/image_file.h"
#include "store/change_format.h"
#include "store/placed_changes.h"
#include "store/scan_selection.h"
#include "text/regular_file.h"
#include "view/offscreen_view.h"

namespace vantrel::cli {
namespace {

const std::string kUsage(commandUsage("render"));

// One line on standard error, whatever the reason's text holds.
int fail(std::string reason) {
    for (char& c : reason)
        if (c == '\r' || c == '\n') c = ' ';
    std::cerr << "vantrel-cli render: " << reason << "\n";
    return 1;
}

std::optional<std::vector<double>> numbers(const std::string& text, char separator, std::size_t count) {
    std::vector<double> values;
    std::size_t start = 0;
    while (values.size() < count) {
        const std::size_t end = text.find(separator, start);
        const std::string part = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        double v = 0;
        auto [ptr, ec] = std::from_chars(part.data(), part.data() + part.size(), v);
        if (part.empty() || ec != std::errc() || ptr != part.data() + part.size()) return std::nullopt;
        values.push_back(v);
        if (end == std::string::npos) break;
        start = end + 1;
    }
    if (values.size() != count) return std::nullopt;
    return values;
}

std::optional<std::uint32_t> colourValue(std::string text) {
    if (text.rfind("0x", 0) == 0 || text.rfind("0X", 0) == 0) text = text.substr(2);
    if (text.empty() || text.size() > 8) return std::nullopt;
    std::uint32_t v = 0;
    auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), v, 16);
    if (ec != std::errc() || ptr != text.data() + text.size()) return std::nullopt;
    return v;
}

// The background colour of the settings file in the program folder (0 when
// there is none), the folder chosen as for every command.
std::int32_t settingsBackground(const std::string& home) {
    QuietUi ui("render");
    std::filesystem::path folder;
    try {
        folder = chooseProgramFolder(home.empty() ? std::nullopt : std::optional<std::filesystem::path>(home),
                                     executableFolder());
    } catch (const std::exception&) {
        return 0;  // no program folder: no settings file either
    }
    ProgramState state{ProgramFolder(folder), ui};
    loadSettings(state);
    return state.domain.settings.backgroundColor;
}

// A report file's text; reportFileProblem has looked at it already.
std::string reportText(const std::string& file) {
    constexpr std::uintmax_t kMaxReportBytes = 16u << 20;  // far above any report
    const text::FileBytes bytes = text::readRegularFile(file, kMaxReportBytes);
    if (bytes.check != text::FileCheck::Ok)
        throw std::runtime_error("cannot read the report " + file + " (it " +
                                 text::fileCheckText(bytes.check, kMaxReportBytes) + ")");
    return std::string(bytes.bytes.begin(), bytes.bytes.end());
}

// Two stored scans of a node: --scans A,B (numbers or times), else its last two.
struct StoredPair {
    std::string node;
    StoredScan older, newer;
};

std::variant<StoredPair, std::string> storedPair(const std::string& home, const std::string& name,
                                                 const std::optional<std::string>& scansOption) {
    auto store = openStoreOfHome(home);
    const std::string node = findStoredNode(*store, name);
    if (node.empty()) return "no scans of " + name;
    const std::vector<ScanInfo> scans = store->listScans(node);
    std::optional<int> older, newer;
    if (scansOption) {
        const auto comma = scansOption->find(',');
        if (comma == std::string::npos) return std::string("--scans must be A,B, two scan numbers or times");
        const std::string a = scansOption->substr(0, comma), b = scansOption->substr(comma + 1);
        older = selectScan(scans, a);
        if (!older) return node + " has no scan " + a;
        newer = selectScan(scans, b);
        if (!newer) return node + " has no scan " + b;
    } else {
        if (scans.size() < 2) return node + " has one scan only: nothing to compare it with";
        older = scans[scans.size() - 2].number;
        newer = scans.back().number;
    }
    auto load = [&](int number) {
        auto scan = store->loadScan(node, number);
        if (!scan) throw std::runtime_error(node + " has no scan " + std::to_string(number));
        return std::move(*scan);
    };
    return StoredPair{node, load(*older), load(*newer)};
}

int runRender(const std::vector<std::string>& args, const std::string& globalHome) {
    // Whether each option takes a value.
    static const std::map<std::string, bool> kOptions{
        {"--model", true}, {"--report", true},     {"--compare", true}, {"--node", true}, {"--scans", true},
        {"--all", false},  {"--size", true},       {"--camera", true},  {"--turn", true}, {"--background", true},
        {"--png", true},   {"--home", true}};
    std::map<std::string, std::string> options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        auto known = kOptions.find(args[i]);
        if (known == kOptions.end()) return fail("unknown argument '" + args[i] + "' (usage: vantrel-cli " + kUsage + ")");
        if (known->second) {
            if (i + 1 >= args.size()) return fail(args[i] + " needs a value");
            options[args[i]] = args[i + 1];
            ++i;
        } else {
            options[args[i]] = "";
        }
    }
    const std::string home = options.count("--home") ? options["--home"] : globalHome;
    const int sources = static_cast<int>(options.count("--model") + options.count("--report") + options.count("--all") +
                                         options.count("--node"));
    if (sources != 1)
        return fail(std::string("give one of --model, --report, --node or --all (usage: vantrel-cli ") + kUsage + ")");
    if (options.count("--compare") && !options.count("--report")) return fail("--compare goes with --report");
    if (options.count("--scans") && !options.count("--node")) return fail("--scans goes with --node");
    if (!options.count("--png")) return fail(std::string("--png is required (usage: vantrel-cli ") + kUsage + ")");
    for (const char* option : {"--report", "--compare"}) {
        if (!options.count(option)) continue;
        if (const auto problem = reportFileProblem(options[option])) return fail(*problem);
    }

    int width = 800, height = 600;
    if (options.count("--size")) {
        auto size = numbers(options["--size"], 'x', 2);
        if (!size || (*size)[0] < 1 || (*size)[1] < 1 || (*size)[0] > 8192 || (*size)[1] > 8192 ||
            (*size)[0] != static_cast<int>((*size)[0]) || (*size)[1] != static_cast<int>((*size)[1]))
            return fail("--size must be WxH in whole pixels from 1 to 8192, for example 800x600");
        width = static_cast<int>((*size)[0]);
        height = static_cast<int>((*size)[1]);
    }
    std::vector<double> camera{kStartCamera.x, kStartCamera.y, kStartCamera.z};
    if (options.count("--camera")) {
        auto c = numbers(options["--camera"], ',', 3);
        if (!c) return fail("--camera must be X,Y,Z, for example 0,0,-10");
        camera = *c;
    }
    std::vector<double> turn;
    if (options.count("--turn")) {
        auto t = numbers(options["--turn"], ',', 2);
        if (!t || (*t)[0] != static_cast<int>((*t)[0]) || (*t)[1] != static_cast<int>((*t)[1]) ||
            (*t)[0] < -32768 || (*t)[0] > 32767 || (*t)[1] < -32768 || (*t)[1] > 32767)
            return fail("--turn must be DX,DY in whole pixels, for example 50,0");
        turn = *t;
    }
    std::int32_t background = 0;
    if (options.count("--background")) {
        auto colour = colourValue(options["--background"]);
        if (!colour) return fail("--background must be a hexadecimal colour 0xAARRGGBB, for example 0xFF202040");
        background = static_cast<std::int32_t>(*colour);
    } else {
        background = settingsBackground(home);
    }

    try {
        view::OffscreenView offscreen(width, height, background);
        // The virtual PC is assembled and shown as the desktop program does it;
        // its frames do not depend on the device they were loaded with.
        std::unique_ptr<HeadlessPc> pc;
        if (options.count("--model")) {
            offscreen.loadModel(options["--model"]);
        } else {
            pc = std::make_unique<HeadlessPc>("render", home, "LOCALHOST");
            if (!pc->assemble()) return fail("no media folder with vm1.x next to the program or in the current folder");
            if (options.count("--node")) {
                const auto pair = storedPair(home, options["--node"],
                                             options.count("--scans") ? std::optional(options["--scans"]) : std::nullopt);
                if (const auto* problem = std::get_if<std::string>(&pair)) return fail(*problem);
                const StoredPair& scans = std::get<StoredPair>(pair);
                pc->nameNode(scans.node);
                pc->showReportText(scans.newer.content.reportText);
                model::markChanges(pc->pc, placeChanges(scans.older.content, scans.newer.content),
                                   timeText(scans.older.info.time));
            } else if (options.count("--report")) {
                pc->showReport(options["--report"]);
                if (options.count("--compare"))
                    model::markChanges(pc->pc, placeChanges({reportText(options["--compare"]), {}},
                                                            {reportText(options["--report"]), {}}));
            } else {
                pc->showAllParts();
            }
            offscreen.useScene(pc->pc.SceneRoot, pc->pc.ModelFrame, pc->pc.PcRoot);
        }
        offscreen.placeCamera(static_cast<float>(camera[0]), static_cast<float>(camera[1]),
                              static_cast<float>(camera[2]));
        if (!turn.empty()) offscreen.turn(static_cast<int>(turn[0]), static_cast<int>(turn[1]));
        render_gl::writePngFile(options["--png"], offscreen.picture());
    } catch (const std::exception& e) {
        return fail(e.what());
    }
    return 0;
}

const CliCommandRegistration registration({"render", runRender});

}  // namespace
}  // namespace vantrel::cli
