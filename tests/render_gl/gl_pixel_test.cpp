// Pictures drawn by the GL device on a windowless context, checked against
// values worked out here from Direct3D's fixed-function lighting formula.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "engine3d/device/light_levels.h"
#include "engine3d/device/picture_texture.h"
#include "engine3d/device/recording_device.h"
#include "engine3d/math/d3d_math.h"
#include "render_gl/d3d_states.h"
#include "render_gl/gl_error.h"
#include "support/scene_geometry.h"
#include "view/offscreen_view.h"

namespace vantrel::test {
namespace {

using render_gl::RgbaImage;
using view::OffscreenView;

constexpr std::int32_t kBackground = 0x00203040;
constexpr float kAmbient = (engine3d::kBrightAmbient & 0xFF) / 255.0f;  // of the camera commands

struct Box2 {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
    int width() const { return right - left + 1; }
    int height() const { return bottom - top + 1; }
    double centreX = 0, centreY = 0;
};

bool isBackground(const RgbaImage& image, int x, int y) {
    const auto* p = image.pixel(x, y);
    return p[0] == 0x20 && p[1] == 0x30 && p[2] == 0x40;
}

// Extent and centre of everything that is not background.
Box2 drawnArea(const RgbaImage& image) {
    Box2 b;
    double sx = 0, sy = 0, n = 0;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            if (!isBackground(image, x, y)) {
                b.left = std::min(b.left, x);
                b.right = std::max(b.right, x);
                b.top = std::min(b.top, y);
                b.bottom = std::max(b.bottom, y);
                sx += x;
                sy += y;
                ++n;
            }
    if (n > 0) {
        b.centreX = sx / n;
        b.centreY = sy / n;
    }
    return b;
}

// Skips the test where the machine has no GL at all.
// The eye straight in front at (0, 0, -10): the pictures below are measured head on.
std::optional<OffscreenView> makeView(int w = 320, int h = 240) {
    try {
        return std::optional<OffscreenView>(std::in_place, w, h, kBackground, CameraPosition{0, 0, -10});
    } catch (const render_gl::GlError& e) {
        return std::nullopt;
    }
}

#define REQUIRE_GL(view)                                         \
    if (!(view)) GTEST_SKIP() << "no OpenGL context on this machine"

FramePtr sceneWith(OffscreenView& v, std::initializer_list<MeshPtr> meshes) {
    auto root = CD3DFrame::Create();
    auto model = frameWith(nullptr, root, "model");
    for (const auto& m : meshes) frameWith(m, model);
    v.useScene(root, model, model);
    return model;
}

std::array<int, 3> centrePixel(const RgbaImage& image) {
    const auto* p = image.pixel(image.width / 2, image.height / 2);
    return {p[0], p[1], p[2]};
}

TEST(GlPicture, CubeSeenHeadOnIsSquareInAnyViewSize) {
    struct Case {
        int w, h;
    };
    for (const Case c : {Case{800, 600}, Case{600, 800}, Case{640, 640}}) {
        auto v = makeView(c.w, c.h);
        REQUIRE_GL(v);
        sceneWith(*v, {meshOf(box(1.0f), plainMaterial({0.5f, 0.5f, 0.5f, 1}))});
        const Box2 b = drawnArea(v->picture());
        EXPECT_NEAR(b.width(), b.height(), 1) << c.w << "x" << c.h;
        // Front face at distance 9: half side = cot(fov / 2) / 9 of half the view height.
        const double expected = 2 * (1 / std::tan(3.1415 / 8)) / 9 * c.h / 2;
        EXPECT_NEAR(b.height(), expected, 2) << c.w << "x" << c.h;
        EXPECT_NEAR(b.centreX, (c.w - 1) / 2.0, 1);
        EXPECT_NEAR(b.centreY, (c.h - 1) / 2.0, 1);
    }
}

TEST(GlPicture, BackgroundFillsTheCorners) {
    auto v = makeView();
    REQUIRE_GL(v);
    sceneWith(*v, {meshOf(box(1.0f), plainMaterial({1, 0, 0, 1}))});
    const RgbaImage image = v->picture();
    for (auto [x, y] : {std::pair{0, 0}, {image.width - 1, 0}, {0, image.height - 1}, {image.width - 1, image.height - 1}}) {
        const auto* p = image.pixel(x, y);
        EXPECT_EQ(p[0], 0x20);
        EXPECT_EQ(p[1], 0x30);
        EXPECT_EQ(p[2], 0x40);
        EXPECT_EQ(p[3], 255);  // the top byte of the colour is not kept, as in an X8R8G8B8 back buffer
    }
}

// Direct3D's per-vertex colour of one vertex, red channel.
struct LightCase {
    const char* name;
    float material;        // red of diffuse = ambient
    D3DVECTOR normal;      // world (= view: the camera does not turn)
    bool secondLight;
};

double directionalRed(const LightCase& c) {
    const D3DVECTOR l1 = D3DXVec3Normalize({1, 1, 1});    // towards the main light
    const D3DVECTOR l2 = D3DXVec3Normalize({-1, 1, 1});   // towards the second light
    double ambient = kAmbient + engine3d::kMainLightAmbient + (c.secondLight ? engine3d::kSecondLightAmbient : 0.0);
    double diffuse = engine3d::kMainLightDiffuse * std::max(0.0f, D3DXVec3Dot(c.normal, l1));
    if (c.secondLight) diffuse += engine3d::kSecondLightDiffuse * std::max(0.0f, D3DXVec3Dot(c.normal, l2));
    return std::clamp(c.material * ambient + c.material * diffuse, 0.0, 1.0) * 255;
}

TEST(GlPicture, RedMaterialUnderTheDefaultLightsFollowsTheDirect3DFormula) {
    const float r3 = 1 / std::sqrt(3.0f);
    const LightCase cases[] = {
        {"facing the camera, away from the light", 0.5f, {0, 0, -1}, false},
        {"towards the light", 0.5f, {r3, r3, r3}, false},
        {"up", 0.5f, {0, 1, 0}, false},
        {"full red towards the light stays below saturation", 1.0f, {r3, r3, r3}, false},
        {"full red between both lights stays below saturation", 1.0f, D3DXVec3Normalize({0, 1, 1}), true},
        {"a long normal is not shortened", 0.3f, {2 * r3, 2 * r3, 2 * r3}, false},
        {"second light on", 0.3f, {0, 1, 0}, true},
        {"second light only from the left", 0.3f, {-1, 0, 0}, true},
    };
    for (const auto& c : cases) {
        auto v = makeView();
        REQUIRE_GL(v);
        sceneWith(*v, {meshOf(quadFacingCamera(0, 2, c.normal), plainMaterial({c.material, 0, 0, 1}))});
        if (c.secondLight) v->util().ToggleSecondLight();
        const auto px = centrePixel(v->picture());
        EXPECT_NEAR(px[0], directionalRed(c), 1) << c.name;
        if (c.material == 1.0f) {
            EXPECT_LT(px[0], 250) << c.name;
        }
        EXPECT_EQ(px[1], 0) << c.name;
        EXPECT_EQ(px[2], 0) << c.name;
    }
}

TEST(GlPicture, PointLightFallsOffWithDistanceAndStopsAtItsRange) {
    struct Case {
        const char* name;
        float range;
    };
    for (const Case c : {Case{"in range", 100}, Case{"out of range", 4}}) {
        auto v = makeView();
        REQUIRE_GL(v);
        sceneWith(*v, {meshOf(quadFacingCamera(0, 2), plainMaterial({0.6f, 0, 0, 1}))});
        D3DLIGHT8 point;
        point.Type = D3DLIGHT_POINT;
        point.Diffuse = {1, 1, 1, 1};
        point.Position = {0, 0, -5};
        point.Range = c.range;
        point.Attenuation0 = 1;
        point.Attenuation1 = 0.1f;
        v->device().LightEnable(0, false);
        v->device().SetLight(2, point);
        v->device().LightEnable(2, true);
        // Every corner of the quad lies sqrt(27) from the light.
        const double d = std::sqrt(27.0);
        const double lit = d > c.range ? 0 : (5 / d) / (1 + 0.1 * d);
        const double expected = std::clamp(0.6 * kAmbient + 0.6 * lit, 0.0, 1.0) * 255;
        EXPECT_NEAR(centrePixel(v->picture())[0], expected, 1) << c.name;
    }
}

TEST(GlPicture, OneTrackballStepMovesTheFrontTheWayOfTheDrag) {
    struct Case {
        int dx, dy;
        double moveX, moveY;  // sign of the expected move of the front in the picture
    };
    for (const Case c : {Case{50, 0, 1, 0}, Case{-50, 0, -1, 0}, Case{0, 50, 0, 1}, Case{0, -50, 0, -1}}) {
        auto v = makeView();
        REQUIRE_GL(v);
        sceneWith(*v, {meshOf(quadFacingCamera(-1, 2), plainMaterial({1, 0, 0, 1}))});
        const Box2 before = drawnArea(v->picture());
        v->turn(c.dx, c.dy);
        const Box2 after = drawnArea(v->picture());
        const double mx = after.centreX - before.centreX, my = after.centreY - before.centreY;
        if (c.moveX != 0) {
            EXPECT_GT(mx * c.moveX, 10) << c.dx << "," << c.dy;
            EXPECT_NEAR(my, 0, 1);
        } else {
            EXPECT_GT(my * c.moveY, 10) << c.dx << "," << c.dy;
            EXPECT_NEAR(mx, 0, 1);
        }
    }
}

TEST(GlPicture, TransparentMeshBlendsOverTheOpaqueOneBehindIt) {
    auto v = makeView();
    REQUIRE_GL(v);
    // Emissive colours only: the lit colour is exactly the emissive one.
    auto glass = meshOf(quadFacingCamera(-1, 2), plainMaterial({0, 0, 0, 0.5f}, {1, 0, 0, 0}));
    auto wall = meshOf(quadFacingCamera(1, 2), plainMaterial({0, 0, 0, 1}, {0, 0, 1, 0}));
    sceneWith(*v, {glass, wall});  // the transparent one first in the tree: still drawn last
    const auto px = centrePixel(v->picture());
    EXPECT_NEAR(px[0], 127.5, 1);
    EXPECT_EQ(px[1], 0);
    EXPECT_NEAR(px[2], 127.5, 1);
}

TEST(GlPicture, NearerSurfaceWinsWhateverTheDrawingOrder) {
    for (bool nearFirst : {true, false}) {
        auto v = makeView();
        REQUIRE_GL(v);
        auto nearQuad = meshOf(quadFacingCamera(-1, 2), plainMaterial({0, 0, 0, 1}, {0, 1, 0, 0}));
        auto farQuad = meshOf(quadFacingCamera(1, 2), plainMaterial({0, 0, 0, 1}, {1, 0, 0, 0}));
        if (nearFirst)
            sceneWith(*v, {nearQuad, farQuad});
        else
            sceneWith(*v, {farQuad, nearQuad});
        EXPECT_EQ(centrePixel(v->picture()), (std::array<int, 3>{0, 255, 0})) << nearFirst;
    }
}

TEST(GlPicture, CullingKeepsClockwiseFrontFaces) {
    struct Case {
        const char* name;
        bool clockwise;
        std::optional<DWORD> cullMode;
        bool drawn;
    };
    const Case cases[] = {
        {"clockwise, default culling", true, std::nullopt, true},
        {"counter-clockwise, default culling", false, std::nullopt, false},
        {"counter-clockwise, culling off", false, render_gl::kCullNone, true},
        {"clockwise, clockwise culled", true, render_gl::kCullCw, false},
    };
    for (const auto& c : cases) {
        auto v = makeView();
        REQUIRE_GL(v);
        sceneWith(*v, {meshOf(quadFacingCamera(0, 2, {0, 0, -1}, c.clockwise), plainMaterial({0, 0, 0, 1}, {1, 1, 1, 0}))});
        if (c.cullMode) v->device().SetRenderState(render_gl::kCullMode, *c.cullMode);
        const RgbaImage image = v->picture();
        EXPECT_EQ(!isBackground(image, image.width / 2, image.height / 2), c.drawn) << c.name;
    }
}

std::shared_ptr<MeshGeometry> texturedQuad() {
    auto g = std::make_shared<MeshGeometry>(D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1);
    const float corners[4][4] = {{-1, -1, 0, 1}, {-1, 1, 0, 0}, {1, 1, 1, 0}, {1, -1, 1, 1}};
    for (const auto& c : corners) g->vertices.insert(g->vertices.end(), {c[0], c[1], 0, 0, 0, -1, c[2], c[3]});
    g->indices = {0, 1, 2, 0, 2, 3};
    g->attributes = {0, 0};
    return g;
}

// A 2x2 24-bit bitmap of one colour.
void writeBmp(const std::filesystem::path& path, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    std::vector<std::uint8_t> bytes(54 + 16, 0);
    auto put32 = [&](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
    };
    bytes[0] = 'B';
    bytes[1] = 'M';
    put32(2, static_cast<std::uint32_t>(bytes.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, 2);
    put32(22, 2);
    bytes[26] = 1;
    bytes[28] = 24;
    for (int row = 0; row < 2; ++row)
        for (int x = 0; x < 2; ++x) {
            const std::size_t at = 54 + row * 8 + x * 3;
            bytes[at] = b;
            bytes[at + 1] = g;
            bytes[at + 2] = r;
        }
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

class GlTextureTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = std::filesystem::temp_directory_path() / ("vantrel_gl_textures_" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder_);
        RgbaImage png;
        png.width = png.height = 4;
        png.pixels.assign(64, 0);
        for (int i = 0; i < 16; ++i) {
            png.pixels[i * 4] = 200;
            png.pixels[i * 4 + 1] = 100;
            png.pixels[i * 4 + 2] = 50;
            png.pixels[i * 4 + 3] = 255;
        }
        render_gl::writePngFile((folder_ / "paint.png").string(), png);
        writeBmp(folder_ / "paint.bmp", 30, 60, 90);
        // A picture that starts well and breaks off: it is found damaged only
        // when its pixels are decoded, after the model has taken it.
        std::ifstream whole(folder_ / "paint.png", std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(whole)), std::istreambuf_iterator<char>());
        std::ofstream(folder_ / "cut.png", std::ios::binary) << bytes.substr(0, bytes.size() - 20);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }
    std::filesystem::path folder_;
};

TEST_F(GlTextureTest, TextureModulatesTheLitColourAndAMissingOneDrawsUntextured) {
    struct Case {
        const char* file;
        std::array<int, 3> expected;
    };
    for (const Case c : {Case{"paint.png", {200, 100, 50}}, Case{"paint.bmp", {30, 60, 90}},
                         Case{"missing.png", {255, 255, 255}}, Case{"cut.png", {255, 255, 255}}}) {
        auto v = makeView();
        REQUIRE_GL(v);
        // White emissive, half-grey diffuse texture colour: lit white x texture.
        auto mesh = meshOf(texturedQuad(), plainMaterial({0, 0, 0, 1}, {1, 1, 1, 0}));
        v->device().setTextureFolder(folder_.string());
        mesh->SetMaterialTexture(0, v->util().LoadTextureCached(c.file));
        sceneWith(*v, {mesh});
        EXPECT_EQ(centrePixel(v->picture()), c.expected) << c.file;
    }
}

// Textures made elsewhere draw too: pictures made in memory, and textures the
// recording device loaded (the command line assembles the model there), which
// the GL device reads again by name. A damaged one draws untextured.
TEST_F(GlTextureTest, TexturesMadeInMemoryOrOnAnotherDeviceDraw) {
    RecordingDevice recorder;
    recorder.setTextureFolder(folder_.string());
    const std::vector<std::uint8_t> green{10, 200, 40, 255, 10, 200, 40, 255, 10, 200, 40, 255, 10, 200, 40, 255};
    struct Case {
        const char* name;
        TexturePtr texture;
        std::array<int, 3> expected;
    };
    const Case cases[] = {
        {"picture", std::make_shared<PictureTexture>("green", 2, 2, green), {10, 200, 40}},
        {"recorded file", recorder.CreateTextureFromFile("paint.png"), {200, 100, 50}},
        {"picture short of pixels", std::make_shared<PictureTexture>("short", 3, 3, green), {255, 255, 255}},
        {"file gone", std::make_shared<D3DTexture>((folder_ / "gone.png").string()), {255, 255, 255}},
    };
    for (const Case& c : cases) {
        ASSERT_NE(c.texture, nullptr) << c.name;
        auto v = makeView();
        REQUIRE_GL(v);
        auto mesh = meshOf(texturedQuad(), plainMaterial({0, 0, 0, 1}, {1, 1, 1, 0}));
        mesh->SetMaterialTexture(0, c.texture);
        sceneWith(*v, {mesh});
        EXPECT_EQ(centrePixel(v->picture()), c.expected) << c.name;
        EXPECT_EQ(centrePixel(v->picture()), c.expected) << c.name << ", drawn again";
    }
}

TEST(GlDevice, GeometryIsUploadedOnceAndReusedAcrossPictures) {
    auto v = makeView();
    REQUIRE_GL(v);
    auto shared = box(0.5f);
    sceneWith(*v, {meshOf(shared, plainMaterial({1, 0, 0, 1})), meshOf(quadFacingCamera(2), plainMaterial({0, 1, 0, 1}))});
    for (int i = 0; i < 3; ++i) v->picture();
    EXPECT_EQ(v->device().uploadCount(), 2);
}

TEST(GlDevice, LostContextIsResetWithTheSceneDefaultsCamera) {
    auto v = makeView(400, 300);
    REQUIRE_GL(v);
    sceneWith(*v, {meshOf(box(1.0f), plainMaterial({0.5f, 0.5f, 0.5f, 1}))});
    const int before = drawnArea(v->picture()).height();
    v->device().markContextLost();
    EXPECT_EQ(v->device().TestCooperativeLevel(), D3DERR_DEVICENOTRESET);
    // After the reset the default eye (0, 0, -20) stands twice as far away.
    const int after = drawnArea(v->picture()).height();
    EXPECT_EQ(v->device().TestCooperativeLevel(), D3D_OK);
    EXPECT_NEAR(after, 2 * (1 / std::tan(3.1415 / 8)) / 19 * 300 / 2, 2);
    EXPECT_LT(after, before);
    // A camera command brings the camera values back.
    v->view().runCameraCommand(view::CameraCommand::In);
    v->view().runCameraCommand(view::CameraCommand::Out);
    EXPECT_EQ(drawnArea(v->picture()).height(), before);
}

TEST(GlDevice, DrawingOutsideASceneIsRefused) {
    auto v = makeView();
    REQUIRE_GL(v);
    auto g = quadFacingCamera(0);
    EXPECT_THROW(v->device().DrawSubset(*g, 0), render_gl::GlError);
    EXPECT_THROW(v->device().EndScene(), render_gl::GlError);
}

}  // namespace
}  // namespace vantrel::test

namespace vantrel::test {
namespace {

TEST(GlPicture, TwoPicturesAtOnceAndOneEndingLeavesTheOtherWorking) {
    auto first = makeView();
    REQUIRE_GL(first);
    auto second = makeView(200, 100);
    REQUIRE_GL(second);
    sceneWith(*first, {meshOf(box(1.0f), plainMaterial({1, 0, 0, 1}))});
    sceneWith(*second, {meshOf(box(1.0f), plainMaterial({0, 1, 0, 1}))});
    EXPECT_GT(centrePixel(first->picture())[0], 100);
    EXPECT_GT(centrePixel(second->picture())[1], 100);
    first.reset();  // while the second's context is current
    const RgbaImage image = second->picture();
    EXPECT_EQ(image.width, 200);
    EXPECT_GT(centrePixel(image)[1], 100);
    EXPECT_TRUE(isBackground(image, 0, 0));
}

}  // namespace
}  // namespace vantrel::test

namespace vantrel::test {
namespace {

TEST(GlDevice, TrianglesNamingMissingVerticesAreLeftOut) {
    auto v = makeView();
    REQUIRE_GL(v);
    auto g = quadFacingCamera(0, 2);
    // A third triangle pointing far past the vertices, in the same subset.
    g->indices.insert(g->indices.end(), {0, 2, 4000000000u});
    g->attributes.push_back(0);
    sceneWith(*v, {meshOf(g, plainMaterial({0, 0, 0, 1}, {1, 1, 1, 0}))});
    EXPECT_EQ(centrePixel(v->picture()), (std::array<int, 3>{255, 255, 255}));
    // A subset the mesh does not have draws nothing and fails nothing.
    v->device().BeginScene();
    EXPECT_NO_THROW(v->device().DrawSubset(*g, 7));
    v->device().EndScene();
}

}  // namespace
}  // namespace vantrel::test

namespace vantrel::test {
namespace {

// Contexts without glClipControl get the depth moved in the shader: the same
// picture, with the same surfaces in front.
TEST(GlDevice, DepthMappedInTheShaderGivesTheSamePicture) {
    auto build = [](OffscreenView& v) {
        // The blue sheet stands half a unit from the eye, nearer than the near
        // plane: it must be clipped away in both.
        sceneWith(v, {meshOf(quadFacingCamera(1, 3), plainMaterial({0, 0, 0, 1}, {1, 0, 0, 0})),
                      meshOf(box(0.8f), plainMaterial({0.2f, 0.7f, 0.2f, 1})),
                      meshOf(quadFacingCamera(-9.5f, 20), plainMaterial({0, 0, 0, 1}, {0, 0, 1, 0}))});
        v.placeCamera(0.5f, 0.5f, -10);  // the box a little from the side
    };
    auto withClip = makeView();
    REQUIRE_GL(withClip);
    if (!withClip->device().usesClipControl()) GTEST_SKIP() << "no glClipControl to compare with";
    build(*withClip);
    const RgbaImage a = withClip->picture();
    auto remapped = makeView();
    REQUIRE_GL(remapped);
    remapped->device().mapDepthInShader();
    build(*remapped);
    const RgbaImage b = remapped->picture();
    ASSERT_EQ(a.pixels.size(), b.pixels.size());
    int differing = 0;
    for (std::size_t i = 0; i < a.pixels.size(); ++i) differing += std::abs(a.pixels[i] - b.pixels[i]) > 1;
    EXPECT_LE(differing, 8);  // a few edge pixels may round differently
    EXPECT_EQ(centrePixel(b)[1] > centrePixel(b)[0], true);  // the box stands in front of the red wall
    EXPECT_TRUE(isBackground(b, 0, 0));                      // and nothing of the blue sheet shows
}

}  // namespace
}  // namespace vantrel::test
