// Picking: records per mesh hit along the ray under a view point, nearest and
// furthest, disabled and shared frames, and the intersection itself.

#include "engine3d/scene/cd3d_pick.h"
#include "engine3d/math/d3d_math.h"
#include "engine3d/device/d3d_util.h"
#include "engine3d/engine3d_error.h"
#include "engine3d/device/recording_device.h"
#include "scene_builders.h"
#include "test_support.h"

namespace vantrel::engine3d {
namespace {

using namespace test;

// Camera at z = -20 looking at the origin over a 640 x 480 view.
struct PickScene {
    RecordingDevice dev;
    D3DUtil util{dev};
    FramePtr root = frameNamed("root");
    PickScene() {
        dev.SetViewport({0, 0, 640, 480, 0, 1});
        util.ViewWidth = 640;
        util.ViewHeight = 480;
        util.ApplySceneDefaults();
    }
    FramePtr square(const char* name, float z, const FramePtr& parent) {
        auto f = frameNamed(name, parent);
        f->SetPosition({0, 0, z});
        f->AddMesh(meshWithMaterials(squares(0, {0}), {1.0f}));
        return f;
    }
};

TEST(CD3DPick, NothingPickedYet) {
    RecordingDevice dev;
    CD3DPick pick(dev);
    EXPECT_EQ(pick.GetCount(), 0u);
    EXPECT_EQ(pick.FindNearest(), -1);
    EXPECT_EQ(pick.FindFurthest(), -1);
    EXPECT_THROW(pick.GetFrame(0), Engine3dError);
    EXPECT_THROW(pick.Record(0), Engine3dError);
}

TEST(CD3DPick, BackgroundClickFindsNothingButReportsAModel) {
    PickScene s;
    s.square("front", 0, s.root);
    CD3DPick pick(s.dev);
    EXPECT_TRUE(pick.ViewportPick(s.root, 5, 5));
    EXPECT_EQ(pick.GetCount(), 0u);
    EXPECT_EQ(pick.FindNearest(), -1);
    // A tree without meshes reports False.
    EXPECT_FALSE(pick.ViewportPick(frameNamed("empty"), 320, 240));
}

TEST(CD3DPick, PartBehindAnotherGivesTwoRecordsAndTheFrontIsNearest) {
    PickScene s;
    auto back = s.square("back", 5, s.root);
    auto front = s.square("front", 0, s.root);
    CD3DPick pick(s.dev);
    ASSERT_TRUE(pick.ViewportPick(s.root, 320, 240));
    ASSERT_EQ(pick.GetCount(), 2u);
    EXPECT_EQ(pick.GetFrame(0), back);
    EXPECT_EQ(pick.GetMesh(0), back->GetChildMesh(0));
    ASSERT_EQ(pick.FindNearest(), 1);
    EXPECT_EQ(pick.GetFrame(1), front);
    EXPECT_EQ(pick.FindFurthest(), 0);
    // dist is the fraction of the near-to-far segment: the eye is 20 away, near plane 1, far 3000.
    float u, v, dist;
    std::int32_t face;
    pick.GetRecord(1, u, v, dist, face);
    EXPECT_NEAR(dist, 19.0f / 2999.0f, 1e-5f);
    EXPECT_NEAR(pick.Record(0).dist, 24.0f / 2999.0f, 1e-5f);
    EXPECT_EQ(pick.Record(0).hit, 1);
}

TEST(CD3DPick, DisabledFramesAreNeverHit) {
    PickScene s;
    auto front = s.square("front", 0, s.root);
    s.square("inside", 0, front);  // the disabled frame's subtree goes with it
    auto back = s.square("back", 5, s.root);
    front->Enabled = false;
    CD3DPick pick(s.dev);
    EXPECT_TRUE(pick.ViewportPick(s.root, 320, 240));
    ASSERT_EQ(pick.GetCount(), 1u);
    EXPECT_EQ(pick.GetFrame(0), back);
    s.root->Enabled = false;
    EXPECT_FALSE(pick.ViewportPick(s.root, 320, 240));
    EXPECT_EQ(pick.GetCount(), 0u);
}

TEST(CD3DPick, SharedFrameHitThroughTwoParentsGivesTwoRecords) {
    PickScene s;
    auto near1 = frameNamed("p1", s.root);
    auto far1 = frameNamed("p2", s.root);
    far1->SetPosition({0, 0, 3});
    auto part = s.square("part", 0, near1);
    far1->AddChild(part);
    CD3DPick pick(s.dev);
    pick.ViewportPick(s.root, 320, 240);
    ASSERT_EQ(pick.GetCount(), 2u);
    EXPECT_EQ(pick.GetFrame(0), part);
    EXPECT_EQ(pick.GetFrame(1), part);
    EXPECT_EQ(pick.GetMesh(0), pick.GetMesh(1));
    EXPECT_LT(pick.Record(0).dist, pick.Record(1).dist);
}

TEST(CD3DPick, TiesKeepTheFirstRecordFound) {
    // Distances a, b, b: the same part under two parents at one place.
    PickScene s;
    s.square("near", 0, s.root);
    auto p1 = frameNamed("p1", s.root);
    auto p2 = frameNamed("p2", s.root);
    auto part = s.square("part", 7, p1);
    p2->AddChild(part);
    CD3DPick pick(s.dev);
    pick.ViewportPick(s.root, 320, 240);
    ASSERT_EQ(pick.GetCount(), 3u);
    EXPECT_EQ(pick.Record(1).dist, pick.Record(2).dist);
    EXPECT_EQ(pick.FindFurthest(), 1);
    EXPECT_EQ(pick.FindNearest(), 0);
    // ViewportPick starts afresh; ViewportPickEx and RayPick add to the records.
    pick.ViewportPick(s.root, 320, 240);
    EXPECT_EQ(pick.GetCount(), 3u);
    pick.Destroy();
    EXPECT_EQ(pick.GetCount(), 0u);
}

TEST(CD3DPick, EmptyFrameReferencesAreErrorsAndEmptyMeshesAreSkipped) {
    PickScene s;
    s.square("front", 0, s.root);
    s.root->AddMesh(nullptr);
    CD3DPick pick(s.dev);
    EXPECT_TRUE(pick.ViewportPick(s.root, 320, 240));
    EXPECT_THROW(pick.ViewportPick(nullptr, 320, 240), Engine3dError);
    s.root->AddChild(nullptr);
    EXPECT_THROW(pick.ViewportPick(s.root, 320, 240), Engine3dError);
}

struct RayCase {
    const char* what;
    D3DVECTOR orig, dir, framePos;
    bool hit;
    std::int32_t face;
    float u, v, dist;
};

TEST(CD3DPick, RayPickReportsFaceBarycentricsAndDistanceInDirectionLengths) {
    const RayCase cases[] = {
        {"straight on", {-0.25f, 0.25f, -10}, {0, 0, 1}, {0, 0, 0}, true, 0, 0.5f, 0.25f, 10},
        {"longer direction", {-0.25f, 0.25f, -10}, {0, 0, 2}, {0, 0, 0}, true, 0, 0.5f, 0.25f, 5},
        {"second triangle", {0.25f, -0.25f, -10}, {0, 0, 1}, {0, 0, 0}, true, 1, 0.25f, 0.5f, 10},
        {"moved frame", {-0.25f, 0.25f, -10}, {0, 0, 1}, {0, 0, 5}, true, 0, 0.5f, 0.25f, 15},
        {"from behind", {-0.25f, 0.25f, 10}, {0, 0, -1}, {0, 0, 0}, true, 0, 0.5f, 0.25f, 10},
        {"pointing away", {-0.25f, 0.25f, -10}, {0, 0, -1}, {0, 0, 0}, false, 0, 0, 0, 0},
        {"beside", {0.75f, 0, -10}, {0, 0, 1}, {0, 0, 0}, false, 0, 0, 0, 0},
        {"on the edge", {-0.5f, 0, -10}, {0, 0, 1}, {0, 0, 0}, true, 0, 0.5f, 0, 10},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        RecordingDevice dev;
        auto root = frameNamed("root");
        auto f = frameNamed("f", root);
        f->SetPosition(c.framePos);
        f->AddMesh(meshWithMaterials(squares(0, {0}), {1.0f}));
        CD3DPick pick(dev);
        EXPECT_TRUE(pick.RayPick(root, c.orig, c.dir));
        ASSERT_EQ(pick.GetCount(), c.hit ? 1u : 0u);
        if (!c.hit) continue;
        float u, v, dist;
        std::int32_t face;
        pick.GetRecord(0, u, v, dist, face);
        EXPECT_EQ(face, c.face);
        EXPECT_NEAR(u, c.u, 1e-5f);
        EXPECT_NEAR(v, c.v, 1e-5f);
        EXPECT_NEAR(dist, c.dist, 1e-4f);
    }
}

TEST(CD3DPick, RayPickStartsFromTheDeviceWorldTransform) {
    RecordingDevice dev;
    dev.SetTransform(D3DTS_WORLD, D3DXMatrixTranslation(0, 0, 2));
    auto root = frameNamed("root");
    root->AddMesh(meshWithMaterials(squares(0, {0}), {1.0f}));
    CD3DPick pick(dev);
    pick.RayPick(root, {0.1f, 0.2f, 0}, {0, 0, 1});
    ASSERT_EQ(pick.GetCount(), 1u);
    EXPECT_NEAR(pick.Record(0).dist, 2.0f, 1e-5f);
}

}  // namespace
}  // namespace vantrel::engine3d
