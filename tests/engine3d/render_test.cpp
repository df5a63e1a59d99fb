// Drawing: the two-pass frame traversal and the per-subset material rules, seen
// through the calls a headless device records.

#include "engine3d/scene/cd3d_frame.h"
#include "engine3d/math/d3d_math.h"
#include "engine3d/device/recording_device.h"
#include "scene_builders.h"
#include "test_support.h"

namespace vantrel::engine3d {
namespace {

using namespace test;

std::vector<DWORD> drawnSubsets(const RecordingDevice& dev) {
    std::vector<DWORD> out;
    for (const auto& c : dev.callsOf(DeviceCallKind::DrawSubset)) out.push_back(c.a);
    return out;
}

struct PassCase {
    const char* what;
    std::initializer_list<float> alphas;
    std::vector<DWORD> opaque, transparent;
};

TEST(CD3DMeshRenderEx, SubsetsGoToTheOpaqueOrTransparentPassByDiffuseAlpha) {
    const PassCase cases[] = {
        {"1.0 opaque, 0.5 transparent, 1.5 neither", {1.0f, 0.5f, 1.5f}, {0}, {1}},
        {"all opaque", {1.0f, 1.0f}, {0, 1}, {}},
        {"all transparent", {0.0f, 0.99f}, {}, {0, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        // A fourth square with subset 7 is never drawn: only ids below the count are.
        auto mesh = meshWithMaterials(squares(0, {0, 1, 2, 7}), c.alphas);
        RecordingDevice dev;
        mesh->RenderEx(dev, true, false);
        EXPECT_EQ(drawnSubsets(dev), c.opaque);
        dev.clearCalls();
        mesh->RenderEx(dev, false, true);
        EXPECT_EQ(drawnSubsets(dev), c.transparent);
    }
}

TEST(CD3DMeshRenderEx, EachSubsetSetsItsMaterialThenItsTextureThenDraws) {
    auto mesh = meshWithMaterials(squares(0, {0, 1}), {1.0f, 1.0f});
    auto tex = std::make_shared<D3DTexture>("t.bmp");
    mesh->SetMaterialTexture(1, tex);
    RecordingDevice dev;
    mesh->RenderEx(dev, true, true);
    const auto& calls = dev.calls();
    ASSERT_EQ(calls.size(), 6u);
    const DeviceCallKind expected[] = {DeviceCallKind::SetMaterial, DeviceCallKind::SetTexture,
                                       DeviceCallKind::DrawSubset, DeviceCallKind::SetMaterial,
                                       DeviceCallKind::SetTexture, DeviceCallKind::DrawSubset};
    for (std::size_t i = 0; i < 6; ++i) EXPECT_EQ(calls[i].kind, expected[i]) << i;
    EXPECT_EQ(calls[2].material, mesh->GetMaterial(0));
    EXPECT_EQ(calls[2].texture, nullptr);
    EXPECT_EQ(calls[5].material, mesh->GetMaterial(1));
    EXPECT_EQ(calls[5].texture, tex.get());
}

TEST(CD3DMeshRenderEx, WithoutMaterialsTheDeviceStateIsUsedAndNothingIsTransparent) {
    auto mesh = meshWithMaterials(squares(0, {0, 1}), {0.5f, 0.5f});
    mesh->UseMaterials = false;
    RecordingDevice dev;
    mesh->RenderEx(dev, true, true);
    ASSERT_EQ(dev.calls().size(), 2u);
    EXPECT_EQ(drawnSubsets(dev), (std::vector<DWORD>{0, 1}));
}

TEST(CD3DMeshRenderEx, OverrideMaterialDecidesThePassAndKeepsSubsetTextures) {
    auto mesh = meshWithMaterials(squares(0, {0, 1}), {1.0f, 1.0f});
    auto tex = std::make_shared<D3DTexture>("t.bmp");
    mesh->SetMaterialTexture(0, tex);
    mesh->UseMaterials = false;
    const D3DMATERIAL8 glass = materialWithAlpha(0.25f);
    mesh->SetMaterialOverride(glass);
    EXPECT_TRUE(mesh->UseMaterialOverride);
    RecordingDevice dev;
    mesh->RenderEx(dev, true, false);
    EXPECT_TRUE(dev.calls().empty());
    mesh->RenderEx(dev, false, true);
    const auto draws = dev.callsOf(DeviceCallKind::DrawSubset);
    ASSERT_EQ(draws.size(), 2u);
    EXPECT_EQ(draws[0].material, glass);
    EXPECT_EQ(draws[0].texture, tex.get());
    EXPECT_EQ(draws[1].texture, nullptr);

    // An opaque override: texture first, then the material, in the opaque pass only.
    mesh->SetMaterialOverride(materialWithAlpha(1.0f));
    dev.clearCalls();
    mesh->RenderEx(dev, true, true);
    ASSERT_EQ(dev.calls().size(), 6u);
    EXPECT_EQ(dev.calls()[0].kind, DeviceCallKind::SetTexture);
    EXPECT_EQ(dev.calls()[1].kind, DeviceCallKind::SetMaterial);
}

TEST(CD3DMeshRenderEx, EmptyMeshDrawsNothing) {
    CD3DMesh mesh;
    mesh.Init();
    mesh.SetMaterialCount(2);
    RecordingDevice dev;
    mesh.RenderEx(dev, true, true);
    mesh.Render(dev);
    EXPECT_TRUE(dev.calls().empty());
}

struct Scene {
    FramePtr root, a, disabled, shared;
    MeshPtr rootMesh, aMesh, hiddenMesh, sharedMesh;
};

// root (at z 10): mesh {opaque, transparent}
//   a (x + 1): mesh {opaque}; shared
//   disabled: child with mesh
//   shared (y + 2): mesh {transparent}
Scene buildScene() {
    Scene s;
    s.root = frameNamed("root");
    s.root->SetPosition({0, 0, 10});
    s.rootMesh = meshWithMaterials(squares(0, {0, 1}), {1.0f, 0.5f});
    s.root->AddMesh(s.rootMesh);
    s.a = frameNamed("a", s.root);
    s.a->SetPosition({1, 0, 0});
    s.aMesh = meshWithMaterials(squares(0, {0}), {1.0f});
    s.a->AddMesh(s.aMesh);
    s.disabled = frameNamed("disabled", s.root);
    s.disabled->Enabled = false;
    auto hiddenChild = frameNamed("hiddenChild", s.disabled);
    s.hiddenMesh = meshWithMaterials(squares(0, {0}), {1.0f});
    hiddenChild->AddMesh(s.hiddenMesh);
    s.shared = frameNamed("shared");
    s.shared->SetPosition({0, 2, 0});
    s.sharedMesh = meshWithMaterials(squares(0, {0}), {0.5f});
    s.shared->AddMesh(s.sharedMesh);
    s.a->AddChild(s.shared);
    s.root->AddChild(s.shared);
    s.root->AddChild(nullptr);
    return s;
}

TEST(CD3DFrameRender, OpaquePassThenBlendedPassWithWorldComposedOnTheFly) {
    Scene s = buildScene();
    RecordingDevice dev;
    s.root->Render(dev);

    struct Draw {
        const MeshGeometry* mesh;
        DWORD subset;
        D3DMATRIX world;
        bool blended;
    };
    const D3DMATRIX rootW = D3DXMatrixTranslation(0, 0, 10);
    const D3DMATRIX aW = D3DXMatrixTranslation(1, 0, 10);
    const std::vector<Draw> expected = {
        {s.rootMesh->mesh.get(), 0, rootW, false},
        {s.aMesh->mesh.get(), 0, aW, false},
        {s.rootMesh->mesh.get(), 1, rootW, true},
        {s.sharedMesh->mesh.get(), 0, D3DXMatrixTranslation(1, 2, 10), true},  // under a
        {s.sharedMesh->mesh.get(), 0, D3DXMatrixTranslation(0, 2, 10), true},  // under root
    };
    const auto draws = dev.callsOf(DeviceCallKind::DrawSubset);
    ASSERT_EQ(draws.size(), expected.size());
    for (std::size_t i = 0; i < draws.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(draws[i].mesh, expected[i].mesh);
        EXPECT_EQ(draws[i].a, expected[i].subset);
        EXPECT_TRUE(near(draws[i].matrix, expected[i].world));
        EXPECT_EQ(draws[i].alphaBlend, expected[i].blended);
    }
    // Render states: blending switched on with its factors between the passes, off at the end.
    const auto states = dev.callsOf(DeviceCallKind::SetRenderState);
    ASSERT_EQ(states.size(), 4u);
    EXPECT_EQ(std::make_pair(states[0].a, states[0].b), std::make_pair(DWORD{D3DRS_ALPHABLENDENABLE}, DWORD{1}));
    EXPECT_EQ(std::make_pair(states[1].a, states[1].b), std::make_pair(DWORD{D3DRS_SRCBLEND}, D3DBLEND_SRCALPHA));
    EXPECT_EQ(std::make_pair(states[2].a, states[2].b), std::make_pair(DWORD{D3DRS_DESTBLEND}, D3DBLEND_INVSRCALPHA));
    EXPECT_EQ(std::make_pair(states[3].a, states[3].b), std::make_pair(DWORD{D3DRS_ALPHABLENDENABLE}, DWORD{0}));
    EXPECT_EQ(dev.calls().back().kind, DeviceCallKind::SetRenderState);
    // Each pass starts from the identity and the world transform is restored after it.
    EXPECT_EQ(dev.calls().front().kind, DeviceCallKind::SetTransform);
    EXPECT_EQ(dev.calls().front().matrix, D3DXMatrixIdentity());
    EXPECT_EQ(dev.GetTransform(D3DTS_WORLD), D3DXMatrixIdentity());
}

// A tint changes the colours of every material below its frame, a nearer
// tint wins, and a translucent tint moves opaque subsets to the blended pass.
TEST(CD3DFrameRender, TintsColourTheSubtreeAndATranslucentOneBlendsIt) {
    Scene s = buildScene();
    const MaterialTint green{0, 1, 0, 1}, ghost{1, 0, 0, 0.4f};
    s.root->Tint = green;
    s.shared->Tint = ghost;
    RecordingDevice dev;
    s.root->Render(dev);
    struct Draw {
        const MeshGeometry* mesh;
        D3DCOLORVALUE diffuse;
        bool blended;
    };
    const std::vector<Draw> expected = {
        {s.rootMesh->mesh.get(), {0, 1, 0, 1}, false},
        {s.aMesh->mesh.get(), {0, 1, 0, 1}, false},
        {s.rootMesh->mesh.get(), {0, 1, 0, 0.5f}, true},  // its own alpha is below the tint's
        {s.sharedMesh->mesh.get(), {1, 0, 0, 0.4f}, true},
        {s.sharedMesh->mesh.get(), {1, 0, 0, 0.4f}, true},
    };
    const auto draws = dev.callsOf(DeviceCallKind::DrawSubset);
    ASSERT_EQ(draws.size(), expected.size());
    for (std::size_t i = 0; i < draws.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(draws[i].mesh, expected[i].mesh);
        EXPECT_EQ(draws[i].material.Diffuse, expected[i].diffuse);
        const D3DCOLORVALUE ambient{expected[i].diffuse.r, expected[i].diffuse.g, expected[i].diffuse.b,
                                    draws[i].material.Ambient.a};
        EXPECT_EQ(draws[i].material.Ambient, ambient);
        EXPECT_EQ(draws[i].alphaBlend, expected[i].blended);
    }
    // The meshes keep their own materials.
    EXPECT_EQ(s.aMesh->GetMaterial(0).Diffuse.g, 0.0f);

    // A textured part shows the tint's colour alone.
    s.aMesh->SetMaterialTexture(0, std::make_shared<D3DTexture>("t.bmp"));
    dev.clearCalls();
    s.root->Render(dev);
    for (const auto& d : dev.callsOf(DeviceCallKind::DrawSubset)) EXPECT_EQ(d.texture, nullptr);
    s.root->Tint.reset();
    dev.clearCalls();
    s.root->Render(dev);
    EXPECT_NE(dev.callsOf(DeviceCallKind::DrawSubset)[1].texture, nullptr);

    // A ghost of an opaque part: drawn once, in the blended pass.
    s.root->Tint.reset();
    s.shared->Tint.reset();
    s.a->Tint = ghost;
    dev.clearCalls();
    s.root->Render(dev);
    int aDraws = 0;
    for (const auto& d : dev.callsOf(DeviceCallKind::DrawSubset)) {
        if (d.mesh != s.aMesh->mesh.get()) continue;
        ++aDraws;
        EXPECT_TRUE(d.alphaBlend);
    }
    EXPECT_EQ(aDraws, 1);
}

TEST(CD3DFrameRender, HooksRunAroundTheSubtreeAndNotForDisabledFrames) {
    Scene s = buildScene();
    RecordingDevice dev;
    std::vector<std::pair<std::string, std::size_t>> log;  // hook and number of draws so far
    auto draws = [&] { return dev.callsOf(DeviceCallKind::DrawSubset).size(); };
    s.a->SetPreRenderCallback([&](std::int32_t id) { log.emplace_back("pre" + std::to_string(id), draws()); }, 1);
    s.a->SetPostRenderCallback([&](std::int32_t id) { log.emplace_back("post" + std::to_string(id), draws()); }, 2);
    s.a->SetPostRenderCallback([&](std::int32_t id) { log.emplace_back("later" + std::to_string(id), draws()); }, 3);
    s.disabled->SetPreRenderCallback([&](std::int32_t) { log.emplace_back("disabled", 0); }, 9);
    s.root->Render(dev);
    // Opaque pass: a's pre hook before its mesh (draw 2), post after its subtree.
    // Transparent pass: root's blended subset is draw 3, the shared one under a is draw 4.
    const std::vector<std::pair<std::string, std::size_t>> expected = {
        {"pre1", 1}, {"later3", 2}, {"pre1", 3}, {"later3", 4}};
    EXPECT_EQ(log, expected);
}

}  // namespace
}  // namespace vantrel::engine3d
