// What every render device must agree on, run over the recording device and
// the GL device: scenes pair up, state reads back as set, a lost device
// reports itself until reset, the scene defaults land the same, textures load
// or fail alike.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <unistd.h>

#include "engine3d/device/d3d_util.h"
#include "engine3d/device/recording_device.h"
#include "engine3d/engine3d_error.h"
#include "engine3d/math/d3d_math.h"
#include "render_gl/gl_device.h"
#include "render_gl/gl_error.h"
#include "render_gl/image_file.h"
#include "render_gl/offscreen_context.h"

namespace vantrel::test {
namespace {

using namespace engine3d;

struct RecordingBackend {
    RecordingDevice device;
    static std::unique_ptr<RecordingBackend> make() { return std::make_unique<RecordingBackend>(); }
    void loseResettable() { device.loseDevice(D3DERR_DEVICENOTRESET); }
};

struct GlBackend {
    render_gl::OffscreenContext context{320, 240};
    render_gl::GlDevice device{[this] { return context.target(); }};
    static std::unique_ptr<GlBackend> make() {
        try {
            return std::make_unique<GlBackend>();
        } catch (const render_gl::GlError&) {
            return nullptr;
        }
    }
    void loseResettable() { device.markContextLost(); }
};

template <class Backend>
class DeviceContract : public ::testing::Test {
protected:
    void SetUp() override {
        backend_ = Backend::make();
        if (!backend_) GTEST_SKIP() << "no OpenGL context on this machine";
    }
    RenderDevice& dev() { return backend_->device; }
    std::unique_ptr<Backend> backend_;
};

using Backends = ::testing::Types<RecordingBackend, GlBackend>;
TYPED_TEST_SUITE(DeviceContract, Backends);

TYPED_TEST(DeviceContract, ScenesPairUp) {
    RenderDevice& dev = this->dev();
    EXPECT_THROW(dev.EndScene(), Engine3dError);
    dev.BeginScene();
    EXPECT_THROW(dev.BeginScene(), Engine3dError);
    dev.EndScene();
    EXPECT_EQ(dev.Present(), D3D_OK);
}

TYPED_TEST(DeviceContract, StateReadsBackAsSet) {
    RenderDevice& dev = this->dev();
    struct TransformCase {
        D3DTRANSFORMSTATETYPE state;
        D3DMATRIX m;
    };
    for (const TransformCase& c : {TransformCase{D3DTS_WORLD, D3DXMatrixTranslation(1, 2, 3)},
                                   TransformCase{D3DTS_VIEW, D3DXMatrixRotationAxis({0, 1, 0}, 0.5f)},
                                   TransformCase{D3DTS_PROJECTION, D3DXMatrixPerspectiveFovLH(0.8f, 1.5f, 1, 100)}}) {
        dev.SetTransform(c.state, c.m);
        EXPECT_EQ(dev.GetTransform(c.state), c.m) << c.state;
    }
    EXPECT_THROW(dev.SetTransform(static_cast<D3DTRANSFORMSTATETYPE>(17), D3DMATRIX{}), Engine3dError);
    dev.SetRenderState(D3DRS_AMBIENT, 0x90909090);
    EXPECT_EQ(dev.GetRenderState(D3DRS_AMBIENT), 0x90909090u);
    const D3DVIEWPORT8 vp{1, 2, 300, 200, 0, 1};
    dev.SetViewport(vp);
    EXPECT_EQ(dev.GetViewport(), vp);
    EXPECT_THROW(dev.SetTexture(8, nullptr), Engine3dError);
}

TYPED_TEST(DeviceContract, LostDeviceReportsItselfUntilReset) {
    RenderDevice& dev = this->dev();
    EXPECT_EQ(dev.TestCooperativeLevel(), D3D_OK);
    this->backend_->loseResettable();
    EXPECT_EQ(dev.TestCooperativeLevel(), D3DERR_DEVICENOTRESET);
    EXPECT_NE(dev.Present(), D3D_OK);
    dev.Reset();
    EXPECT_EQ(dev.TestCooperativeLevel(), D3D_OK);
    EXPECT_EQ(dev.Present(), D3D_OK);
}

TYPED_TEST(DeviceContract, SceneDefaultsLandTheSame) {
    RenderDevice& dev = this->dev();
    D3DUtil util(dev);
    util.ViewWidth = 800;
    util.ViewHeight = 600;
    util.ApplySceneDefaults();
    EXPECT_EQ(dev.GetTransform(D3DTS_VIEW), D3DXMatrixTranslation(0, 0, 20));
    EXPECT_EQ(dev.GetTransform(D3DTS_PROJECTION), D3DXMatrixPerspectiveFovLH(util.FieldOfView, 800.0f / 600.0f, 1, 3000));
    EXPECT_EQ(dev.GetTransform(D3DTS_WORLD), D3DXMatrixIdentity());
    EXPECT_EQ(dev.GetRenderState(D3DRS_AMBIENT), 0x10101010u);
    EXPECT_EQ(dev.GetRenderState(D3DRS_LIGHTING), 1u);
    EXPECT_EQ(dev.GetRenderState(D3DRS_ZENABLE), D3DZB_TRUE);
    EXPECT_EQ(dev.GetRenderState(D3DRS_SHADEMODE), D3DSHADE_GOURAUD);
}

TYPED_TEST(DeviceContract, TexturesLoadOnceByNameAndMissingOnesAreNone) {
    RenderDevice& dev = this->dev();
    const auto png = std::filesystem::temp_directory_path() / ("vantrel_contract_" + std::to_string(::getpid()) + ".png");
    render_gl::RgbaImage image;
    image.width = image.height = 2;
    image.pixels.assign(16, 200);
    render_gl::writePngFile(png.string(), image);
    const TexturePtr first = LoadTextureCached(dev, png.string());
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(LoadTextureCached(dev, png.string()), first);
    EXPECT_EQ(first->sourceName(), png.string());
    EXPECT_EQ(LoadTextureCached(dev, png.string() + ".missing"), nullptr);
    EXPECT_EQ(LoadTextureCached(dev, ""), nullptr);
    std::filesystem::remove(png);
}

}  // namespace
}  // namespace vantrel::test
