// Math results in Direct3D conventions: row vectors, left-handed, v' = v x M.

#include <cmath>
#include <numbers>

#include "engine3d/math/d3d_math.h"
#include "test_support.h"

namespace vantrel::engine3d {
namespace {

using test::matrixOf;
using test::near;
constexpr float kPi = std::numbers::pi_v<float>;

TEST(D3DMath, ConstructorsKeepArgumentOrder) {
    const D3DCOLORVALUE c = MakeColor(1, 0.5f, 0.25f, 0);
    EXPECT_EQ(c.r, 0.5f);
    EXPECT_EQ(c.g, 0.25f);
    EXPECT_EQ(c.b, 0.0f);
    EXPECT_EQ(c.a, 1.0f);
    EXPECT_EQ(MakeVector(1, 2, 3), (D3DVECTOR{1, 2, 3}));
}

TEST(D3DMath, TranslationLivesInTheFourthRowAndProductsApplyLeftFirst) {
    const D3DMATRIX t = D3DXMatrixTranslation(1, 2, 3);
    EXPECT_EQ(t(3, 0), 1.0f);
    EXPECT_EQ(t(3, 2), 3.0f);
    // Scale first, then translate: (1,0,0) -> (2,0,0) -> (3,2,3).
    const D3DMATRIX st = D3DXMatrixScaling(2, 2, 2) * t;
    EXPECT_TRUE(near(D3DXVec3TransformCoord({1, 0, 0}, st), {3, 2, 3}));
    EXPECT_TRUE(near(D3DXVec3TransformCoord({1, 0, 0}, t * D3DXMatrixScaling(2, 2, 2)), {4, 4, 6}));
}

struct RotationCase {
    D3DVECTOR axis;
    float angle;
    D3DVECTOR in, out;
};

TEST(D3DMath, RotationAboutAnAxisIsLeftHanded) {
    const RotationCase cases[] = {
        {{0, 1, 0}, kPi / 2, {1, 0, 0}, {0, 0, -1}},
        {{0, 0, 1}, kPi / 2, {1, 0, 0}, {0, 1, 0}},
        {{1, 0, 0}, kPi / 2, {0, 1, 0}, {0, 0, 1}},
        {{0, 5, 0}, kPi, {1, 0, 0}, {-1, 0, 0}},  // the axis is normalised first
    };
    for (const auto& c : cases) {
        const D3DMATRIX m = D3DXMatrixRotationAxis(c.axis, c.angle);
        EXPECT_TRUE(near(D3DXVec3TransformCoord(c.in, m), c.out));
        // The quaternion of the same rotation gives the same matrix.
        EXPECT_TRUE(near(D3DXMatrixRotationQuaternion(D3DXQuaternionRotationAxis(c.axis, c.angle)), m));
    }
}

TEST(D3DMath, InverseUndoesAndSingularGivesZeroNotNaN) {
    const D3DMATRIX m = D3DXMatrixScaling(2, 3, 4) * D3DXMatrixRotationAxis({1, 1, 0}, 0.7f) *
                        D3DXMatrixTranslation(5, -6, 7);
    float det = 0;
    EXPECT_TRUE(near(m * D3DXMatrixInverse(m, &det), D3DXMatrixIdentity()));
    EXPECT_NEAR(det, 24.0f, 1e-3f);
    const D3DMATRIX singular = D3DXMatrixScaling(0, 1, 1);
    EXPECT_EQ(D3DXMatrixInverse(singular, &det), D3DMATRIX{});
    EXPECT_EQ(det, 0.0f);
}

TEST(D3DMath, AffineTransformationScalesRotatesAboutCentreThenTranslates) {
    const D3DQUATERNION q = D3DXQuaternionRotationAxis({0, 0, 1}, kPi / 2);
    const D3DMATRIX m = D3DXMatrixAffineTransformation(2, {1, 0, 0}, q, {0, 0, 5});
    // (1,0,0) -> scaled (2,0,0) -> about (1,0,0) by 90 degrees -> (1,1,0) -> (1,1,5).
    EXPECT_TRUE(near(D3DXVec3TransformCoord({1, 0, 0}, m), {1, 1, 5}));
}

TEST(D3DMath, LookAtFromMinusTwentyPutsTheOriginAtDepthTwenty) {
    const D3DMATRIX v = D3DXMatrixLookAtLH({0, 0, -20}, {0, 0, 0}, {0, 1, 0});
    EXPECT_TRUE(near(v, matrixOf({1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 20, 1})));
}

TEST(D3DMath, PerspectiveMapsNearAndFarToZeroAndOne) {
    const float fov = static_cast<float>(3.1415 / 4.0);
    const D3DMATRIX p = D3DXMatrixPerspectiveFovLH(fov, 0.75f, 1.0f, 3000.0f);
    EXPECT_FLOAT_EQ(p(0, 0), (1.0f / std::tan(0.3926875f)) / 0.75f);
    EXPECT_FLOAT_EQ(p(1, 1), 1.0f / std::tan(0.3926875f));
    EXPECT_EQ(p(2, 3), 1.0f);
    EXPECT_NEAR(D3DXVec3TransformCoord({0, 0, 1}, p).z, 0.0f, 1e-6f);
    EXPECT_NEAR(D3DXVec3TransformCoord({0, 0, 3000}, p).z, 1.0f, 1e-5f);
}

TEST(D3DMath, TransformNormalIgnoresTranslationAndCoordDividesByW) {
    const D3DMATRIX t = D3DXMatrixTranslation(9, 9, 9);
    EXPECT_TRUE(near(D3DXVec3TransformNormal({1, 2, 3}, t), {1, 2, 3}));
    D3DMATRIX w = D3DXMatrixIdentity();
    w(3, 3) = 2;
    EXPECT_TRUE(near(D3DXVec3TransformCoord({2, 4, 6}, w), {1, 2, 3}));
}

TEST(D3DMath, UnprojectInvertsTheViewportMapping) {
    const D3DVIEWPORT8 vp{10, 20, 600, 450, 0, 1};
    const D3DMATRIX proj = D3DXMatrixPerspectiveFovLH(0.8f, 0.75f, 1, 100);
    const D3DMATRIX view = D3DXMatrixLookAtLH({0, 0, -20}, {0, 0, 0}, {0, 1, 0});
    const D3DMATRIX world = D3DXMatrixTranslation(1, 2, 3);
    // The centre of the viewport at depth 0 lies on the near plane straight ahead.
    EXPECT_TRUE(near(D3DXVec3Unproject({310, 245, 0}, vp, proj, view, world), {-1, -2, -22}, 1e-4f));
    // A projected point comes back to where it was.
    const D3DVECTOR p{3, -1, 4};
    const D3DVECTOR ndc = D3DXVec3TransformCoord(p, world * view * proj);
    const D3DVECTOR screen{(ndc.x + 1) * 300 + 10, (1 - ndc.y) * 225 + 20, ndc.z};
    EXPECT_TRUE(near(D3DXVec3Unproject(screen, vp, proj, view, world), p, 1e-3f));
}

TEST(D3DMath, LerpAndSlerpHitTheirEndsAndMiddle) {
    EXPECT_TRUE(near(D3DXVec3Lerp({0, 0, 0}, {10, 20, 30}, 0.25f), {2.5f, 5, 7.5f}));
    const D3DQUATERNION a = D3DXQuaternionIdentity();
    const D3DQUATERNION b = D3DXQuaternionRotationAxis({0, 1, 0}, kPi / 2);
    const D3DQUATERNION mid = D3DXQuaternionSlerp(a, b, 0.5f);
    const D3DQUATERNION expected = D3DXQuaternionRotationAxis({0, 1, 0}, kPi / 4);
    EXPECT_NEAR(mid.y, expected.y, 1e-5f);
    EXPECT_NEAR(mid.w, expected.w, 1e-5f);
    EXPECT_NEAR(D3DXQuaternionSlerp(a, b, 1.0f).y, b.y, 1e-6f);
    // q and -q are the same rotation: the short way round is taken.
    const D3DQUATERNION negB{-b.x, -b.y, -b.z, -b.w};
    const D3DQUATERNION viaNeg = D3DXQuaternionSlerp(a, negB, 0.5f);
    EXPECT_TRUE(near(D3DXMatrixRotationQuaternion(viaNeg), D3DXMatrixRotationQuaternion(mid)));
}

TEST(D3DMath, NormalisingZeroStaysZero) {
    EXPECT_EQ(D3DXVec3Normalize({0, 0, 0}), (D3DVECTOR{0, 0, 0}));
    EXPECT_TRUE(near(D3DXVec3Normalize({0, 3, 4}), {0, 0.6f, 0.8f}));
}

}  // namespace
}  // namespace vantrel::engine3d
