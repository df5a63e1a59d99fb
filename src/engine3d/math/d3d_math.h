#pragma once
// Matrix, vector and quaternion operations with the results Direct3D's helper
// library gives: row vectors (v' = v x M), left-handed, single precision.

#include "engine3d/math/d3d_types.h"

namespace vantrel::engine3d {

D3DVECTOR MakeVector(float x, float y, float z);
// Alpha comes first, as in the original helper.
D3DCOLORVALUE MakeColor(float a, float r, float g, float b);

// Vectors. The small ones are inline: picking runs them per triangle.
inline D3DVECTOR operator+(const D3DVECTOR& a, const D3DVECTOR& b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline D3DVECTOR operator-(const D3DVECTOR& a, const D3DVECTOR& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline D3DVECTOR operator*(const D3DVECTOR& v, float s) { return {v.x * s, v.y * s, v.z * s}; }
inline float D3DXVec3Dot(const D3DVECTOR& a, const D3DVECTOR& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline D3DVECTOR D3DXVec3Cross(const D3DVECTOR& a, const D3DVECTOR& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
float D3DXVec3Length(const D3DVECTOR& v);
// A zero vector stays zero instead of turning into NaNs.
D3DVECTOR D3DXVec3Normalize(const D3DVECTOR& v);
D3DVECTOR D3DXVec3Subtract(const D3DVECTOR& a, const D3DVECTOR& b);
D3DVECTOR D3DXVec3Scale(const D3DVECTOR& v, float s);
D3DVECTOR D3DXVec3Lerp(const D3DVECTOR& a, const D3DVECTOR& b, float t);
// (v, 1) x M divided by w.
D3DVECTOR D3DXVec3TransformCoord(const D3DVECTOR& v, const D3DMATRIX& m);
// (v, 0) x M.
D3DVECTOR D3DXVec3TransformNormal(const D3DVECTOR& v, const D3DMATRIX& m);
D3DVECTOR D3DXVec3Unproject(const D3DVECTOR& p, const D3DVIEWPORT8& viewport, const D3DMATRIX& proj,
                            const D3DMATRIX& view, const D3DMATRIX& world);

// Matrices.
D3DMATRIX D3DXMatrixIdentity();
D3DMATRIX D3DXMatrixMultiply(const D3DMATRIX& a, const D3DMATRIX& b);  // a acts first
D3DMATRIX operator*(const D3DMATRIX& a, const D3DMATRIX& b);
// A singular matrix yields the zero matrix and *determinant = 0, never NaNs.
D3DMATRIX D3DXMatrixInverse(const D3DMATRIX& m, float* determinant = nullptr);
D3DMATRIX D3DXMatrixScaling(float sx, float sy, float sz);
D3DMATRIX D3DXMatrixTranslation(float x, float y, float z);
D3DMATRIX D3DXMatrixRotationAxis(const D3DVECTOR& axis, float angle);
D3DMATRIX D3DXMatrixRotationQuaternion(const D3DQUATERNION& q);
// S(scaling) x T(-center) x R(rotation) x T(center) x T(translation).
D3DMATRIX D3DXMatrixAffineTransformation(float scaling, const D3DVECTOR& rotationCenter,
                                         const D3DQUATERNION& rotation, const D3DVECTOR& translation);
D3DMATRIX D3DXMatrixLookAtLH(const D3DVECTOR& eye, const D3DVECTOR& at, const D3DVECTOR& up);
D3DMATRIX D3DXMatrixPerspectiveFovLH(float fovY, float aspect, float zn, float zf);

// Quaternions.
D3DQUATERNION D3DXQuaternionIdentity();
D3DQUATERNION D3DXQuaternionRotationAxis(const D3DVECTOR& axis, float angle);
D3DQUATERNION D3DXQuaternionNormalize(const D3DQUATERNION& q);
// Shortest arc from q1 (t = 0) to q2 (t = 1).
D3DQUATERNION D3DXQuaternionSlerp(const D3DQUATERNION& q1, const D3DQUATERNION& q2, float t);

}  // namespace vantrel::engine3d
