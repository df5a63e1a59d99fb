// Keyframe animation: loading sets through the frame loader and playing keys
// with the time wrap, interpolation and the rotation sign rule.

#include <filesystem>
#include <fstream>

#include "engine3d/scene/cd3d_animation.h"
#include "engine3d/math/d3d_math.h"
#include "engine3d/engine3d_error.h"
#include "engine3d/device/recording_device.h"
#include "scene_builders.h"
#include "test_support.h"

namespace vantrel::engine3d {
namespace {

using namespace test;

struct Loaded {
    RecordingDevice dev;
    FramePtr container = CD3DFrame::Create();
    CD3DAnimation anim;
};

void loadInto(Loaded& l, const std::filesystem::path& path) {
    ASSERT_NO_THROW(loadXFileScene(&l.dev, path.string(), l.container, animationSetsInto(l.anim, l.container, &l.dev)));
}

void loadText(Loaded& l, const std::string& text) {
    const auto path = std::filesystem::temp_directory_path() / "e3d_anim.x";
    std::ofstream(path) << "xof 0303txt 0032\n" << text;
    loadInto(l, path);
    std::filesystem::remove(path);
}

TEST(CD3DAnimation, PositionKeysInterpolateWrapAndFallBackToTheStartValue) {
    auto target = frameNamed("t");
    CD3DAnimation a;
    a.SetFrame(target);
    EXPECT_EQ(a.GetFrameName(), "t");
    a.AddPositionKey(0, {0, 0, 0});
    a.AddPositionKey(100, {10, 0, 0});
    struct Case {
        float t;
        D3DVECTOR expected;
    };
    const Case cases[] = {
        {50, {5, 0, 0}}, {150, {5, 0, 0}}, {25, {2.5f, 0, 0}}, {100, {0, 0, 0}}, {0, {0, 0, 0}}, {-5, {0, 0, 0}},
    };
    for (const auto& c : cases) {
        target->SetMatrix(D3DXMatrixScaling(9, 9, 9));
        a.SetTime(c.t);
        EXPECT_EQ(target->GetMatrix(), D3DXMatrixTranslation(c.expected.x, c.expected.y, c.expected.z)) << c.t;
    }
    // A lone key at 0: nothing is later, so the start value; later times cannot wrap.
    CD3DAnimation lone;
    lone.SetFrame(target);
    lone.AddPositionKey(0, {4, 4, 4});
    lone.SetTime(0);
    EXPECT_EQ(target->GetMatrix(), D3DXMatrixIdentity());
    EXPECT_THROW(lone.SetTime(1), Engine3dError);
    // No target: nothing moves and nothing fails.
    CD3DAnimation idle;
    idle.AddPositionKey(0, {1, 1, 1});
    EXPECT_NO_THROW(idle.SetTime(3));
}

TEST(CD3DAnimation, ChildrenAreKeptInOrderAndEmptyOnesIgnored) {
    CD3DAnimation a;
    auto c1 = std::make_shared<CD3DAnimation>();
    a.AddChild(c1);
    a.AddChild(nullptr);
    EXPECT_EQ(a.GetChildCount(), 1u);
    EXPECT_EQ(a.GetChild(0), c1);
    EXPECT_THROW(a.GetChild(1), Engine3dError);
}

TEST(CD3DAnimationLoading, SetFromSceneResolvesTargetsByReferenceAndFlipsRotationW) {
    Loaded l;
    loadInto(l, testData("scene.x"));
    EXPECT_EQ(l.anim.ObjectName, "Spin");
    ASSERT_EQ(l.anim.GetChildCount(), 3u);
    const AnimationPtr lid = l.anim.GetChild(0);
    const AnimationPtr grow = l.anim.GetChild(1);  // a reference to a top-level Animation
    const AnimationPtr lost = l.anim.GetChild(2);
    EXPECT_EQ(lid->ObjectName, "LidAnim");
    EXPECT_EQ(grow->ObjectName, "Grow");
    const FramePtr body = l.container->GetChildFrame(0);
    const FramePtr lidFrame = body->GetChildFrame(0);
    EXPECT_EQ(lid->GetFrame(), lidFrame);
    EXPECT_EQ(grow->GetFrame(), body);
    EXPECT_EQ(lost->GetFrame(), nullptr);
    EXPECT_EQ(lost->GetFrameName(), "");  // an unresolved reference names nothing
    ASSERT_EQ(lid->RotateKeys().size(), 2u);
    const D3DQUATERNION q1 = lid->RotateKeys()[1].value;
    EXPECT_EQ(q1, (D3DQUATERNION{0, 0.7071f, 0, -0.7071f}));
    EXPECT_EQ(lid->RotateKeys()[1].time, 100u);
    EXPECT_EQ(lid->PositionKeys().size(), 2u);
    EXPECT_EQ(grow->ScaleKeys().size(), 2u);

    l.anim.SetTime(50);
    const D3DQUATERNION half = D3DXQuaternionSlerp(lid->RotateKeys()[0].value, q1, 0.5f);
    EXPECT_TRUE(near(lidFrame->GetMatrix(), D3DXMatrixRotationQuaternion(half) * D3DXMatrixTranslation(5, 0, 0)));
    // Grow's keys end at 10: 50 wraps to 0, where scale 1 applies... and nothing else.
    EXPECT_TRUE(near(body->GetMatrix(), D3DXMatrixIdentity()));
    l.anim.SetTime(15);
    EXPECT_TRUE(near(body->GetMatrix(), D3DXMatrixScaling(2, 2, 2)));
    l.anim.SetTime(0);
    EXPECT_TRUE(near(lidFrame->GetMatrix(), D3DXMatrixIdentity()));
}

TEST(CD3DAnimationLoading, LaterKeysReplaceBrokenOnesAreSkippedAndEmbeddedFramesLoad) {
    Loaded l;
    loadText(l, R"(
Frame Arm { }
AnimationSet {
  Animation Swing {
    { Arm }
    AnimationKey { 2; 1; 0; 3; 1, 1, 1;;; }
    AnimationKey { 2; 2; 0; 3; 0, 0, 0;;, 10; 3; 0, 8, 0;;; }
    AnimationKey { 1; 1; 0; 2; 5, 5;;; }
    AnimationKey { 3; 1; 0; 3; 1, 1, 1;;; }
    Frame Extra { }
  }
  Animation Pose {
    { Arm }
    AnimationKey { 4; 2;
      0; 16; 1,0,0,0, 0,1,0,0, 0,0,1,0, 0,0,0,1;;,
      10; 16; 1,0,0,0, 0,1,0,0, 0,0,1,0, 10,0,0,1;;; }
  }
}
)");
    ASSERT_EQ(l.anim.GetChildCount(), 2u);
    const AnimationPtr swing = l.anim.GetChild(0);
    ASSERT_EQ(swing->PositionKeys().size(), 2u);  // the second key list replaced the first
    EXPECT_TRUE(swing->ScaleKeys().empty());      // 2 values for a scale key: left out
    // The embedded frame hangs under the container, after Arm.
    ASSERT_EQ(l.container->GetChildFrameCount(), 2u);
    EXPECT_EQ(l.container->GetChildFrame(1)->ObjectName, "Extra");

    const FramePtr arm = l.container->GetChildFrame(0);
    swing->SetTime(5);
    EXPECT_TRUE(near(arm->GetMatrix(), D3DXMatrixTranslation(0, 4, 0)));
    // Matrix keys alone: the key in effect blended towards the next, the last one at the end.
    const AnimationPtr pose = l.anim.GetChild(1);
    ASSERT_EQ(pose->MatrixKeys().size(), 2u);
    pose->SetTime(2.5f);
    EXPECT_TRUE(near(arm->GetMatrix(), D3DXMatrixTranslation(2.5f, 0, 0)));
    EXPECT_EQ(pose->MatrixKeyCursor(), 0u);
    pose->SetTime(10);
    EXPECT_TRUE(near(arm->GetMatrix(), D3DXMatrixTranslation(10, 0, 0)));
    EXPECT_EQ(pose->MatrixKeyCursor(), 1u);
}

TEST(CD3DAnimationLoading, WithoutAnAnimationObjectSetsAreSkipped) {
    RecordingDevice dev;
    auto container = CD3DFrame::Create();
    ASSERT_TRUE(container->InitFromFile(&dev, testData("scene.x").string()));
    EXPECT_EQ(container->GetChildFrameCount(), 2u);
}

}  // namespace
}  // namespace vantrel::engine3d
