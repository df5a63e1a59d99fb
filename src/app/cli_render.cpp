// vantrel-cli render: draws a picture of the 3D view without any window (EGL on
// a surfaceless Mesa context) and writes it as a PNG file.

#include <charconv>
#include <cstdint>
#include <exception>
#include <filesystem>
#include <iostream>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/cli_command.h"
#include "app/cli_command_table.h"
#include "app/cli_model.h"
#include "collect/report_loader.h"
#include "core/program_folder.h"
#include "core/settings_file.h"
#include "core/start_camera.h"
#include "render_gl/image_file.h"
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

int runRender(const std::vector<std::string>& args, const std::string& home) {
    static const std::map<std::string, bool> kOptions{{"--model", true},  {"--report", true}, {"--all", false},
                                                      {"--size", true},   {"--camera", true}, {"--background", true},
                                                      {"--turn", true},   {"--png", true}};
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
    const int sources = static_cast<int>(options.count("--model") + options.count("--report") + options.count("--all"));
    if (sources != 1) return fail(std::string("give one of --model, --report or --all (usage: vantrel-cli ") + kUsage + ")");
    if (!options.count("--png")) return fail(std::string("--png is required (usage: vantrel-cli ") + kUsage + ")");
    if (options.count("--report")) {
        if (const auto problem = reportFileProblem(options["--report"])) return fail(*problem);
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
            if (options.count("--report")) pc->showReport(options["--report"]);
            else pc->showAllParts();
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
