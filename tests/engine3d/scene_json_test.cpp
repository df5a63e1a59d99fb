// The JSON description printed by "vantrel-cli xinfo": exact output for a known
// scene, the same output for a model in every encoding, and the command's exit
// status and error text.

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "engine3d/device/recording_device.h"
#include "engine3d/scene/cd3d_animation.h"
#include "engine3d/scene/scene_json.h"
#include "model_fixture.h"
#include "test_support.h"

namespace vantrel::engine3d {
namespace {

using namespace test;

std::string readText(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string describe(const std::filesystem::path& path) {
    RecordingDevice dev;
    auto root = CD3DFrame::Create();
    CD3DAnimation anim;
    EXPECT_NO_THROW(loadXFileScene(&dev, path.string(), root, animationSetsInto(anim, root, &dev)));
    return describeSceneJson(*root, &anim);
}

std::filesystem::path writeTemp(const std::string& name, std::span<const std::uint8_t> bytes) {
    const auto path = std::filesystem::temp_directory_path() / name;
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path;
}

TEST(SceneJson, DescribesFramesMeshesMaterialsAndAnimationsOfAScene) {
    EXPECT_EQ(describe(testData("scene.x")), readText(testData("scene.json")));
}

TEST(SceneJson, SameModelReadsTheSameInEveryEncoding) {
    const auto text = readBytes(testData("model.x"));
    const std::string expected = describe(testData("model.x"));
    EXPECT_NE(expected.find("\"texture\": \"paint.png\""), std::string::npos);
    EXPECT_NE(expected.find("\"faces\": 2"), std::string::npos);
    const std::pair<const char*, std::vector<std::uint8_t>> encodings[] = {
        {"e3d_model_bin32.x", binaryModel(false)},
        {"e3d_model_bin64.x", binaryModel(true)},
        {"e3d_model_tzip.x", compressXFile(text, 100)},
        {"e3d_model_bzip.x", compressXFile(binaryModel(false), 100)},
    };
    for (const auto& [name, bytes] : encodings) {
        const auto path = writeTemp(name, bytes);
        EXPECT_EQ(describe(path), expected) << name;
        std::filesystem::remove(path);
    }
}

TEST(SceneJson, StringsAreEscapedAndNonUtf8BytesReadAsLatin1) {
    EXPECT_EQ(jsonString("plain"), "\"plain\"");
    EXPECT_EQ(jsonString("a\"b\\c\n"), "\"a\\\"b\\\\c\\u000a\"");
    EXPECT_EQ(jsonString("caf\xc3\xa9"), "\"caf\xc3\xa9\"");
    EXPECT_EQ(jsonString("caf\xe9"), "\"caf\\u00e9\"");
    EXPECT_EQ(jsonString(std::string_view("a\0b", 3)), "\"a\\u0000b\"");
}

struct CommandResult {
    int status = -1;
    std::string out;
};

CommandResult run(const std::string& args) {
    CommandResult r;
    const std::string cmd = std::string(VANTREL_CLI_PATH) + " " + args;
    FILE* p = popen(cmd.c_str(), "r");
    if (!p) return r;
    std::array<char, 4096> buf;
    std::size_t n;
    while ((n = fread(buf.data(), 1, buf.size(), p)) > 0) r.out.append(buf.data(), n);
    const int raw = pclose(p);
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return r;
}

TEST(XinfoCommand, PrintsTheSceneOrTheReadersErrorWithStatusOne) {
    const CommandResult ok = run("xinfo '" + testData("scene.x").string() + "'");
    EXPECT_EQ(ok.status, 0);
    EXPECT_EQ(ok.out, readText(testData("scene.json")));

    const auto bad = writeTemp("e3d_bad.x", bytesOf("xof 0303txt 0032\nFrame f {\n  Vector v { 1; 2; }\n}\n"));
    const CommandResult failed = run("xinfo '" + bad.string() + "' 2>&1");
    EXPECT_EQ(failed.status, 1);
    EXPECT_EQ(failed.out, "vantrel-cli xinfo: " + bad.string() + ":3:20: expected a number\n");
    std::filesystem::remove(bad);

    EXPECT_EQ(run("xinfo /nonexistent/none.x 2>&1").out,
              "vantrel-cli xinfo: /nonexistent/none.x: cannot open the file\n");
    EXPECT_EQ(run("xinfo 2>/dev/null").status, 1);
}

TEST(XinfoCommand, PrintsTheReadersWarningsOnStandardError) {
    const auto file = writeTemp("e3d_unknown.x", bytesOf("xof 0303txt 0032\nGizmo { 1; }\nFrame kept { }\n"));
    const CommandResult errors = run("xinfo '" + file.string() + "' 2>&1 >/dev/null");
    EXPECT_EQ(errors.status, 0);
    EXPECT_EQ(errors.out, "vantrel-cli xinfo: warning: " + file.string() + ":2:1: unknown template 'Gizmo': object skipped\n");
    const CommandResult scene = run("xinfo '" + file.string() + "' 2>/dev/null");
    EXPECT_NE(scene.out.find("\"kept\""), std::string::npos) << scene.out;
    std::filesystem::remove(file);
}

}  // namespace
}  // namespace vantrel::engine3d
