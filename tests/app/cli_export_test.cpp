// vantrel-cli export on a real program folder of three scanned nodes: CSV
// and JSON that Python reads and the schema accepts, an HTML site updated in
// place, targets inside the program folder refused, and the program folder
// left exactly as it was.

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <map>

#include "support/export_home.h"
#include "support/png_size.h"

using namespace vantrel;
namespace fs = std::filesystem;
using test::pngSize;

namespace {

// Every file below `folder` with its bytes and time.
std::map<std::string, std::pair<std::string, fs::file_time_type>> snapshot(const fs::path& folder) {
    std::map<std::string, std::pair<std::string, fs::file_time_type>> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file())
            files[fs::relative(entry.path(), folder).string()] = {test::readBytes(entry.path()), entry.last_write_time()};
    return files;
}

struct ExportCli : ::testing::Test {
    test::TempFolder home, io, out;

    void SetUp() override {
        const auto made = test::makeExportHome(home.path(), io.path());
        ASSERT_EQ(made.status, 0) << made.err;
    }
    test::ProgramRun cli(std::vector<std::string> args) {
        args.insert(args.begin(), {"--home", home.path().string(), "export"});
        return test::runProgram(VANTREL_CLI_PATH, args, io.path());
    }
};

}  // namespace

TEST_F(ExportCli, CsvAndJsonTellEveryComponentOnceAndTheJsonFollowsTheSchema) {
    const auto csv = out.path() / "inventory.csv", json = out.path() / "inventory.json";
    const auto run = cli({"--csv", csv.string(), "--json", json.string()});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");

    const auto check = test::runProgram("/usr/bin/python3",
                                        {VANTREL_APP_TEST_SOURCE "/check_export_files.py", csv.string(), json.string(),
                                         VANTREL_SOURCE_DIR "/docs/export_schema.json"},
                                        io.path());
    ASSERT_EQ(check.status, 0) << check.err;

    const auto document = nlohmann::json::parse(test::readBytes(json));
    ASSERT_EQ(document["nodes"].size(), 3u);
    std::size_t components = 0;
    for (const auto& node : document["nodes"]) {
        components += node["components"].size();
        EXPECT_FALSE(node["components"].empty()) << node["name"];
        EXPECT_TRUE(node["scanTime"].is_string()) << node["name"];
    }
    EXPECT_EQ(check.out, "3 nodes, " + std::to_string(components) + " components\n");
    EXPECT_EQ(document["nodes"][0]["name"], "WS-7");
    EXPECT_EQ(document["nodes"][0]["displayName"], "Workstation");
    EXPECT_EQ(document["nodes"][0]["lastChange"], "Disk Drive: 1 added, 1 removed; Memory: 1 removed; Video: 1 added");
    EXPECT_EQ(document["nodes"][2]["name"], test::kMarkupNode);
    // The laptop's modules answer no property at all: they are named by their place.
    std::vector<std::string> modules;
    for (const auto& part : document["nodes"][2]["components"])
        if (part["category"] == "Memory") modules.push_back(part["name"]);
    EXPECT_EQ(modules, (std::vector<std::string>{"Memory 1", "Memory 2"}));

    const auto only = cli({"--json", json.string(), "--nodes", "lab-2"});
    ASSERT_EQ(only.status, 0) << only.err;
    const auto one = nlohmann::json::parse(test::readBytes(json));
    ASSERT_EQ(one["nodes"].size(), 1u);
    EXPECT_EQ(one["nodes"][0]["name"], "LAB-2");
}

TEST_F(ExportCli, TheSiteIsUpdatedInPlaceAndTheProgramFolderStaysAsItWas) {
    const auto before = snapshot(home.path());
    const auto site = out.path() / "site";
    const auto first = cli({"--html", site.string(), "--workers", "2"});
    ASSERT_EQ(first.status, 0) << first.err;
    EXPECT_EQ(first.err, "");
    const std::string markupPage = "_img_src_x_onerror_alert_1______q_s_";
    for (const std::string& page : std::vector<std::string>{"ws-7", "lab-2", markupPage}) {
        EXPECT_TRUE(fs::exists(site / "nodes" / (page + ".html"))) << page;
        EXPECT_EQ(pngSize(site / "pictures" / (page + ".png")), std::make_pair(640, 480)) << page;
        EXPECT_EQ(pngSize(site / "pictures" / (page + "-front.png")), std::make_pair(160, 120)) << page;
    }
    const std::string index = test::readBytes(site / "index.html");
    EXPECT_EQ(index.find("<img src=x"), std::string::npos);
    EXPECT_NE(index.find("&lt;img src=x onerror=alert(1)&gt; &amp; &quot;Q&#39;s&quot;"), std::string::npos);

    test::writeBytes(site / "notes.txt", "kept");
    const auto second = cli({"--html", site.string(), "--nodes", "WS-7", "--progress"});
    ASSERT_EQ(second.status, 0) << second.err;
    EXPECT_EQ(second.err, "pictures 1/1\n");
    EXPECT_TRUE(fs::exists(site / "nodes" / "ws-7.html"));
    for (const std::string& gone : std::vector<std::string>{"nodes/lab-2.html", "pictures/lab-2.png", "pictures/lab-2-front.png",
                                   "nodes/" + markupPage + ".html"})
        EXPECT_FALSE(fs::exists(site / gone)) << gone;
    EXPECT_EQ(test::readBytes(site / "notes.txt"), "kept");
    EXPECT_EQ(snapshot(home.path()), before);
}

TEST_F(ExportCli, WrongRequestsAreRefusedAndWriteNothing) {
    const auto before = snapshot(home.path());
    const struct {
        std::vector<std::string> args;
        std::string error;
    } cases[] = {
        {{}, "give at least one of --html, --csv and --json"},
        {{"--html", (home.path() / "site").string()}, "is inside the program folder"},
        {{"--html", home.path().string()}, "is inside the program folder"},
        {{"--csv", (home.path() / "WS-7" / "x.csv").string()}, "is inside the program folder"},
        {{"--json", (out.path() / "x.json").string(), "--workers", "0"}, "--workers must be a number from 1 to 64"},
        {{"--csv"}, "--csv needs a value"},
        {{"--pdf", "x"}, "unknown argument '--pdf'"},
    };
    for (const auto& c : cases) {
        const auto run = cli(c.args);
        EXPECT_EQ(run.status, 1) << c.error;
        EXPECT_NE(run.err.find(c.error), std::string::npos) << run.err;
    }
    EXPECT_TRUE(fs::is_empty(out.path()));
    EXPECT_EQ(snapshot(home.path()), before);
}
