// vantrel-cli render as a user runs it: no X server, a .x file in, a PNG out.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>
#include <unistd.h>

#include "core/start_camera.h"
#include "render_gl/image_file.h"

namespace vantrel::test {
namespace {

namespace fs = std::filesystem;

struct CliResult {
    int status = -1;
    std::string errors;
};

class CliRender : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() / ("vantrel_cli_render_" + std::to_string(::getpid()));
        fs::create_directories(folder_);
        // A red square of side 2 facing the default camera.
        std::ofstream(folder_ / "square.x") << "xof 0303txt 0032\n"
                                               "Mesh Square {\n 4;\n -1;-1;0;, -1;1;0;, 1;1;0;, 1;-1;0;;\n"
                                               " 2;\n 3;0,1,2;, 3;0,2,3;;\n"
                                               " MeshMaterialList { 1; 2; 0, 0;;\n"
                                               "  Material { 1.0;0.0;0.0;1.0;; 10.0; 0.0;0.0;0.0;; 0.0;0.0;0.0;; } }\n"
                                               " MeshNormals { 1; 0.0;0.0;-1.0;; 2; 3;0,0,0;, 3;0,0,0;; }\n}\n";
    }
    void TearDown() override { fs::remove_all(folder_); }

    CliResult run(const std::string& args) {
        // No display at all: the picture comes from the surfaceless platform.
        const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY " + std::string(VANTREL_CLI_PATH) +
                                    " --home " + folder_.string() + " render " + args + " 2>" +
                                    (folder_ / "errors.txt").string();
        CliResult r;
        r.status = WEXITSTATUS(std::system(command.c_str()));
        std::ifstream in(folder_ / "errors.txt");
        r.errors.assign(std::istreambuf_iterator<char>(in), {});
        return r;
    }
    std::string path(const char* name) const { return (folder_ / name).string(); }

    fs::path folder_;
};

// Extent of the pixels that differ from the top-left corner.
std::array<int, 4> drawnBox(const render_gl::RgbaImage& image) {
    std::array<int, 4> box{image.width, image.height, -1, -1};
    const auto* corner = image.pixel(0, 0);
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            const auto* p = image.pixel(x, y);
            if (p[0] == corner[0] && p[1] == corner[1] && p[2] == corner[2]) continue;
            box = {std::min(box[0], x), std::min(box[1], y), std::max(box[2], x), std::max(box[3], y)};
        }
    return box;
}

TEST_F(CliRender, SquareStaysSquareInEitherOrientation) {
    for (const char* size : {"800x600", "600x800"}) {
        const CliResult r = run("--model " + path("square.x") + " --size " + size +
                                " --camera 0,0,-10 --background 0xFF102030 --png " + path("out.png"));
        ASSERT_EQ(r.status, 0) << r.errors;
        const auto image = render_gl::readImageFile(path("out.png"));
        ASSERT_TRUE(image);
        EXPECT_EQ(std::to_string(image->width) + "x" + std::to_string(image->height), size);
        const auto* corner = image->pixel(0, 0);
        EXPECT_EQ((std::array<int, 3>{corner[0], corner[1], corner[2]}), (std::array<int, 3>{0x10, 0x20, 0x30}));
        const auto box = drawnBox(*image);
        EXPECT_NEAR(box[2] - box[0], box[3] - box[1], 1) << size;
        EXPECT_GT(box[2] - box[0], 50) << size;
    }
}

TEST_F(CliRender, DefaultsComeFromTheSettingsFileAndTheStartCamera) {
    std::ofstream(folder_ / "vantrel.ini", std::ios::binary)
        << "\r\n\r\n-3 \r\n 0 \r\n 0 \r\n 3355443 \r\nNAME\r\n 0 \r\nroot\\cimv2\r\n";
    const CliResult r = run("--model " + path("square.x") + " --png " + path("default.png"));
    ASSERT_EQ(r.status, 0) << r.errors;
    const auto image = render_gl::readImageFile(path("default.png"));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width, 800);
    EXPECT_EQ(image->height, 600);
    EXPECT_EQ(image->pixel(0, 0)[0], 0x33);
    // The camera stands where the program starts, not at the settings file's -3.
    const std::string start = std::to_string(kStartCamera.x) + "," + std::to_string(kStartCamera.y) + "," +
                              std::to_string(kStartCamera.z);
    ASSERT_EQ(run("--model " + path("square.x") + " --camera " + start + " --png " + path("start.png")).status, 0);
    const auto atStart = render_gl::readImageFile(path("start.png"));
    ASSERT_TRUE(atStart);
    EXPECT_EQ(image->pixels, atStart->pixels);
    const auto box = drawnBox(*image);
    EXPECT_GT(box[3] - box[1], 20);
}

// Height of the drawn pixels in one column.
int columnHeight(const render_gl::RgbaImage& image, int x) {
    int n = 0;
    const auto* corner = image.pixel(0, 0);
    for (int y = 0; y < image.height; ++y) n += image.pixel(x, y)[0] != corner[0];
    return n;
}

TEST_F(CliRender, TurnAndCameraChangeThePicture) {
    ASSERT_EQ(run("--model " + path("square.x") + " --size 200x200 --camera 0,0,-10 --png " + path("a.png")).status, 0);
    ASSERT_EQ(run("--model " + path("square.x") + " --size 200x200 --camera 0,0,-10 --turn 50,0 --png " + path("b.png")).status, 0);
    ASSERT_EQ(run("--model " + path("square.x") + " --size 200x200 --camera 0,0,-5 --png " + path("c.png")).status, 0);
    const auto imageB = render_gl::readImageFile(path("b.png"));
    const auto a = drawnBox(*render_gl::readImageFile(path("a.png")));
    const auto b = drawnBox(*imageB);
    const auto c = drawnBox(*render_gl::readImageFile(path("c.png")));
    // Turned about -y: the left edge comes nearer, the right edge goes away.
    EXPECT_LT(b[2] - b[0], a[2] - a[0]);
    EXPECT_GT(columnHeight(*imageB, b[0] + 1), columnHeight(*imageB, b[2] - 1) + 4);
    // The eye at half the distance: about twice as large.
    EXPECT_NEAR(static_cast<double>(c[2] - c[0]) / (a[2] - a[0]), (10.0 - 0) / 5.0, 0.05);
}

TEST_F(CliRender, TextureBesideTheModelIsFoundAndModulatesTheLitColour) {
    // White emissive light: the drawn colour is the texture's own.
    std::ofstream(folder_ / "textured.x") << "xof 0303txt 0032\n"
                                             "Mesh Square {\n 4;\n -1;-1;0;, -1;1;0;, 1;1;0;, 1;-1;0;;\n"
                                             " 2;\n 3;0,1,2;, 3;0,2,3;;\n"
                                             " MeshMaterialList { 1; 2; 0, 0;;\n"
                                             "  Material { 0.0;0.0;0.0;1.0;; 10.0; 0.0;0.0;0.0;; 1.0;1.0;1.0;;\n"
                                             "   TextureFilename { \"paint.bmp\"; } } }\n"
                                             " MeshNormals { 1; 0.0;0.0;-1.0;; 2; 3;0,0,0;, 3;0,0,0;; }\n"
                                             " MeshTextureCoords { 4; 0.0;1.0;, 0.0;0.0;, 1.0;0.0;, 1.0;1.0;; }\n}\n";
    // A 2 x 2 24-bit bitmap, every pixel (30, 60, 90).
    std::vector<unsigned char> bmp(54 + 16, 0);
    const unsigned header[][2] = {{2, 70}, {10, 54}, {14, 40}, {18, 2}, {22, 2}};
    for (const auto& [at, value] : header)
        for (int i = 0; i < 4; ++i) bmp[at + i] = static_cast<unsigned char>(value >> (8 * i));
    bmp[0] = 'B', bmp[1] = 'M', bmp[26] = 1, bmp[28] = 24;
    for (int row = 0; row < 2; ++row)
        for (int x = 0; x < 2; ++x) {
            bmp[54 + row * 8 + x * 3] = 90;
            bmp[54 + row * 8 + x * 3 + 1] = 60;
            bmp[54 + row * 8 + x * 3 + 2] = 30;
        }
    std::ofstream(folder_ / "paint.bmp", std::ios::binary).write(reinterpret_cast<const char*>(bmp.data()), bmp.size());
    const CliResult r = run("--model " + path("textured.x") + " --size 200x200 --png " + path("t.png"));
    ASSERT_EQ(r.status, 0) << r.errors;
    const auto image = render_gl::readImageFile(path("t.png"));
    ASSERT_TRUE(image);
    const auto* p = image->pixel(100, 100);
    EXPECT_EQ((std::array<int, 3>{p[0], p[1], p[2]}), (std::array<int, 3>{30, 60, 90}));
}

// Pixels that differ from the top-left corner.
int drawnPixels(const render_gl::RgbaImage& image) {
    int n = 0;
    const auto* corner = image.pixel(0, 0);
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) n += std::memcmp(image.pixel(x, y), corner, 3) != 0;
    return n;
}

TEST_F(CliRender, VirtualPcOfAReportAndWithAllItsParts) {
    const CliResult report = run("--report " + std::string(VANTREL_TEST_REPORT) + " --size 400x300 --png " + path("report.png"));
    ASSERT_EQ(report.status, 0) << report.errors;
    const CliResult all = run("--all --size 400x300 --png " + path("all.png"));
    ASSERT_EQ(all.status, 0) << all.errors;
    const auto reportImage = render_gl::readImageFile(path("report.png"));
    const auto allImage = render_gl::readImageFile(path("all.png"));
    ASSERT_TRUE(reportImage && allImage);
    EXPECT_NE(reportImage->pixels, allImage->pixels);
    // The case on its desk fills much of the view, and all of it is in view:
    // nothing is drawn on the picture's edge.
    for (const auto* image : {&*reportImage, &*allImage}) {
        EXPECT_GT(drawnPixels(*image), 400 * 300 / 5);
        const auto box = drawnBox(*image);
        EXPECT_GT(box[0], 0);
        EXPECT_GT(box[1], 0);
        EXPECT_LT(box[2], image->width - 1);
        EXPECT_LT(box[3], image->height - 1);
    }
}

TEST_F(CliRender, FailuresExitOneWithOneLine) {
    struct Case {
        std::string args;
        std::string reason;
    };
    const Case cases[] = {
        {"--model " + path("missing.x") + " --png " + path("x.png"), "missing.x"},
        {"--model " + path("square.x") + " --png " + path("no/such/folder/x.png"), "cannot write"},
        {"--report " + path("no-such-report") + " --png " + path("x.png"), "cannot read the report"},
        {"--all --report " + path("square.x") + " --png " + path("x.png"), "one of --model"},
        {"--model " + path("square.x"), "--png"},
        {"--png " + path("x.png"), "one of --model"},
        {"--model " + path("square.x") + " --size 0x600 --png " + path("x.png"), "--size"},
        {"--model " + path("square.x") + " --camera 1,2 --png " + path("x.png"), "--camera"},
        {"--model " + path("square.x") + " --background red --png " + path("x.png"), "--background"},
        {"--model " + path("square.x") + " --turn 1.5,0 --png " + path("x.png"), "--turn"},
        {"--model " + path("square.x") + " --shiny --png " + path("x.png"), "unknown argument"},
        {"--all --compare " + std::string(VANTREL_TEST_REPORT) + " --png " + path("x.png"), "--compare goes with --report"},
        {"--report " + std::string(VANTREL_TEST_REPORT) + " --compare " + path("square.x") + " --png " + path("x.png"),
         "is not a report file"},
        {"--all --scans 1,2 --png " + path("x.png"), "--scans goes with --node"},
        {"--node NOBODY --png " + path("x.png"), "no scans of NOBODY"},
        {"--node NOBODY --all --png " + path("x.png"), "one of --model"},
    };
    for (const auto& c : cases) {
        const CliResult r = run(c.args);
        EXPECT_EQ(r.status, 1) << c.args;
        EXPECT_NE(r.errors.find(c.reason), std::string::npos) << c.args << ": " << r.errors;
        EXPECT_EQ(std::count(r.errors.begin(), r.errors.end(), '\n'), 1) << r.errors;
    }
    EXPECT_FALSE(fs::exists(path("x.png")));
}

}  // namespace
}  // namespace vantrel::test
