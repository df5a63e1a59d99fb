// Frames: transforms, world matrices, searches and loading from .x files.

#include <filesystem>
#include <fstream>
#include <numbers>

#include "engine3d/scene/cd3d_frame.h"
#include "engine3d/scene/xfile_scene_loader.h"
#include "engine3d/math/d3d_math.h"
#include "engine3d/engine3d_error.h"
#include "engine3d/device/recording_device.h"
#include "scene_builders.h"
#include "test_support.h"

namespace vantrel::engine3d {
namespace {

using namespace test;

TEST(CD3DFrame, NewFrameHasNeutralTransformAndNoContent) {
    auto f = CD3DFrame::Create();
    EXPECT_TRUE(near(f->GetPosition(), {0, 0, 0}));
    EXPECT_EQ(f->GetScale(), 1.0f);
    EXPECT_EQ(f->GetOrientation(), (D3DQUATERNION{0, 0, 0, 1}));
    EXPECT_TRUE(f->Enabled);
    EXPECT_EQ(f->GetChildFrameCount(), 0u);
    EXPECT_EQ(f->GetChildMeshCount(), 0u);
    EXPECT_EQ(f->GetMatrix(), D3DXMatrixIdentity());
    EXPECT_EQ(f->GetUpdatedMatrix(), D3DMATRIX{});
    EXPECT_STREQ(CD3DFrame::ClassName(), "CD3DFrame");
}

TEST(CD3DFrame, StoredComponentsRebuildTheMatrixAndDiscardDirectWrites) {
    auto f = CD3DFrame::Create();
    f->SetPosition({1, 2, 3});
    EXPECT_EQ(f->GetMatrix(), D3DXMatrixTranslation(1, 2, 3));

    f = CD3DFrame::Create();
    f->SetScale(2);
    f->SetPosition({1, 0, 0});
    f->UpdateFrames();
    EXPECT_TRUE(near(f->TransformCoord({1, 0, 0}), {3, 0, 0}));

    f = CD3DFrame::Create();
    f->SetPosition({1, 0, 0});
    f->AddTranslation(ApplyAfter, 5, 0, 0);
    EXPECT_TRUE(near(f->GetPosition(), {6, 0, 0}));
    f->SetScale(1);
    EXPECT_TRUE(near(f->GetPosition(), {1, 0, 0}));

    // Rotation about the orientation centre: (2,0,0) turned 90 degrees about z around (1,0,0).
    f = CD3DFrame::Create();
    f->SetOrientationCenter({1, 0, 0});
    f->SetOrientation(D3DXQuaternionRotationAxis({0, 0, 1}, std::numbers::pi_v<float> / 2));
    f->UpdateFrames();
    EXPECT_TRUE(near(f->TransformCoord({2, 0, 0}), {1, 1, 0}));
}

TEST(CD3DFrame, CombineTypesPlaceTheNewTransformBeforeAfterOrInsteadOfTheOld) {
    struct Case {
        int combine;
        D3DVECTOR expected;  // where (1,0,0) lands: local scale 2, then AddTranslation(1,0,0)
    };
    const Case cases[] = {
        {ApplyBefore, {4, 0, 0}},   // translate first, then scale
        {ApplyAfter, {3, 0, 0}},    // scale first, then translate
        {ReplaceLocal, {2, 0, 0}},  // translation only
        {7, {2, 0, 0}},             // unknown: no change, the scale stays
    };
    for (const auto& c : cases) {
        auto f = CD3DFrame::Create();
        f->SetMatrix(D3DXMatrixScaling(2, 2, 2));
        f->AddTranslation(c.combine, 1, 0, 0);
        f->UpdateFrames();
        EXPECT_TRUE(near(f->TransformCoord({1, 0, 0}), c.expected)) << c.combine;
    }
    auto f = CD3DFrame::Create();
    f->AddRotation(ApplyBefore, 0, 1, 0, std::numbers::pi_v<float> / 2);
    f->UpdateFrames();
    EXPECT_TRUE(near(f->TransformCoord({1, 0, 0}), {0, 0, -1}));
    f->AddScale(ReplaceLocal, 1, 2, 3);
    EXPECT_EQ(f->GetMatrix(), D3DXMatrixScaling(1, 2, 3));
}

TEST(CD3DFrame, UpdateFramesComposesChildUnderParentAndInverts) {
    auto parent = CD3DFrame::Create();
    parent->SetPosition({1, 0, 0});
    auto child = frameNamed("child", parent);
    child->SetPosition({0, 1, 0});
    auto hidden = frameNamed("hidden", child);
    child->Enabled = false;  // disabled frames still get world matrices
    parent->UpdateFrames();
    EXPECT_TRUE(near(child->TransformCoord({0, 0, 0}), {1, 1, 0}));
    EXPECT_TRUE(near(child->InverseTransformCoord({1, 1, 0}), {0, 0, 0}));
    EXPECT_TRUE(near(child->TransformNormal({0, 0, 1}), {0, 0, 1}));
    EXPECT_TRUE(near(hidden->TransformCoord({0, 0, 0}), {1, 1, 0}));
    // The child's own UpdateFrames takes it as the root.
    child->UpdateFrames();
    EXPECT_TRUE(near(child->TransformCoord({0, 0, 0}), {0, 1, 0}));
}

TEST(CD3DFrame, FindChildObjectSearchesSelfMeshesThenChildrenDepthFirst) {
    auto root = frameNamed("root");
    auto a = frameNamed("a", root);
    auto twin = frameNamed("twin", a);
    auto b = frameNamed("b", root);
    auto deep = frameNamed("deep", a);
    auto mesh = std::make_shared<CD3DMesh>();
    mesh->ObjectName = "twin";
    b->AddMesh(mesh);
    root->AddChild(nullptr);  // empty entries are skipped

    EXPECT_EQ(root->FindChildObject("root").frame, root);
    EXPECT_EQ(root->FindChildObject("deep").frame, deep);
    EXPECT_FALSE(root->FindChildObject("ROOT"));  // case-sensitive
    EXPECT_FALSE(root->FindChildObject("none"));
    // a's subtree comes before b's meshes.
    EXPECT_EQ(root->FindChildObject("twin").frame, twin);
    // Within one frame the mesh wins over a child frame of the same name.
    auto c = frameNamed("c");
    auto same = std::make_shared<CD3DMesh>();
    same->ObjectName = "x";
    frameNamed("x", c);
    c->AddMesh(same);
    EXPECT_EQ(c->FindChildObject("x").mesh, same);

    EXPECT_EQ(root->FindChildParent("deep"), a);
    EXPECT_EQ(root->FindChildParent("twin"), a);
    EXPECT_EQ(c->FindChildParent("x"), c);
    EXPECT_EQ(root->FindChildParent("root"), nullptr);
    EXPECT_EQ(root->FindChildParent("none"), nullptr);
}

TEST(CD3DFrame, ListAccessorsCheckTheirIndexAndDestroyOnlyEmptiesLists) {
    auto root = CD3DFrame::Create();
    auto child = frameNamed("child", root);
    frameNamed("grandchild", child);
    root->AddD3DXMesh(squares(0, {0}));
    EXPECT_EQ(root->GetChildFrame(0), child);
    EXPECT_THROW(root->GetChildFrame(1), Engine3dError);
    EXPECT_THROW(root->GetChildMesh(1), Engine3dError);
    EXPECT_FALSE(root->GetChildMesh(0)->UseMaterials);
    root->Destroy();
    EXPECT_EQ(root->GetChildFrameCount(), 0u);
    EXPECT_EQ(root->GetChildMeshCount(), 0u);
    EXPECT_EQ(child->GetChildFrameCount(), 1u);
}

TEST(CD3DFrame, ForwardersReachEveryMeshOfTheTree) {
    auto root = CD3DFrame::Create();
    auto top = root->AddD3DXMesh(squares(0, {0}));
    auto child = frameNamed("child", root);
    root->AddMesh(nullptr);
    auto below = child->AddD3DXMesh(squares(5, {0}));
    root->ComputeBoundingVolumes();
    EXPECT_TRUE(top->HasSphere);
    EXPECT_TRUE(below->HasSphere);
    EXPECT_TRUE(near(below->SphereCenter(), {0, 0, 5}));
    root->SetFVF(nullptr, D3DFVF_VERTEX);
    EXPECT_EQ(below->mesh->fvf(), D3DFVF_VERTEX);
}

TEST(CD3DFrameLoading, FileFramesBecomeChildrenInFileOrderWithTheirMatrices) {
    RecordingDevice dev;
    auto parent = CD3DFrame::Create();
    auto container = CD3DFrame::Create();
    ASSERT_TRUE(container->InitFromFile(&dev, testData("scene.x").string(), parent));
    EXPECT_EQ(container->ObjectName, "");
    EXPECT_EQ(container->GetMatrix(), D3DXMatrixIdentity());
    ASSERT_EQ(container->GetChildFrameCount(), 2u);
    const FramePtr body = container->GetChildFrame(0);
    EXPECT_EQ(body->ObjectName, "Body");
    EXPECT_EQ(container->GetChildFrame(1)->ObjectName, "Base");
    EXPECT_TRUE(near(body->GetPosition(), {1, 2, 3}));
    EXPECT_EQ(body->GetScale(), 1.0f);  // stored components untouched by the file matrix
    ASSERT_EQ(body->GetChildMeshCount(), 1u);
    EXPECT_EQ(body->GetChildMesh(0)->ObjectName, "Panel");
    EXPECT_EQ(body->GetChildFrame(0)->ObjectName, "Lid-Part.001");
    ASSERT_EQ(parent->GetChildFrameCount(), 1u);
    EXPECT_EQ(parent->GetChildFrame(0), container);

    // A second file adds to what is there.
    ASSERT_TRUE(container->InitFromFile(&dev, testData("model.x").string()));
    EXPECT_EQ(container->GetChildFrameCount(), 3u);
}

TEST(CD3DFrameLoading, MissingFileLeavesTheFrameUnchanged) {
    RecordingDevice dev;
    auto parent = CD3DFrame::Create();
    auto container = CD3DFrame::Create();
    EXPECT_FALSE(container->InitFromFile(&dev, "/nonexistent/file.x", parent));
    try {
        loadXFileScene(&dev, "/nonexistent/file.x", container);
        ADD_FAILURE() << "a missing file loaded";
    } catch (const XFileError& e) {
        EXPECT_STREQ(e.what(), "/nonexistent/file.x: cannot open the file");
    }
    EXPECT_EQ(container->GetChildFrameCount(), 0u);
    EXPECT_EQ(parent->GetChildFrameCount(), 0u);
}

TEST(CD3DFrameLoading, BrokenMeshFailsTheLoadButKeepsWhatWasAttached) {
    const auto path = std::filesystem::temp_directory_path() / "e3d_broken_mesh.x";
    {
        std::ofstream out(path);
        out << "xof 0303txt 0032\nFrame Good { }\nFrame Bad { Mesh { 1; 0;0;0;; 1; 3; 0, 1, 2;; } }\nFrame Never { }\n";
    }
    RecordingDevice dev;
    auto parent = CD3DFrame::Create();
    auto container = CD3DFrame::Create();
    EXPECT_FALSE(container->InitFromFile(&dev, path.string(), parent));
    // Good, and Bad itself (linked before its content is read), but not Never.
    ASSERT_EQ(container->GetChildFrameCount(), 2u);
    EXPECT_EQ(container->GetChildFrame(0)->ObjectName, "Good");
    EXPECT_EQ(parent->GetChildFrameCount(), 0u);
    auto again = CD3DFrame::Create();
    try {
        loadXFileScene(&dev, path.string(), again);
        ADD_FAILURE() << "a broken mesh loaded";
    } catch (const XFileError& e) {
        const std::string error = e.what();
        EXPECT_NE(error.find("e3d_broken_mesh.x:3:13: face 0 uses index 1 of 1"), std::string::npos) << error;
    }
    std::filesystem::remove(path);
}

}  // namespace
}  // namespace vantrel::engine3d
