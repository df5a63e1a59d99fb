#include "engine3d/math/d3d_math.h"

#include <cmath>

namespace vantrel::engine3d {

D3DVECTOR MakeVector(float x, float y, float z) { return {x, y, z}; }

D3DCOLORVALUE MakeColor(float a, float r, float g, float b) { return {r, g, b, a}; }


float D3DXVec3Length(const D3DVECTOR& v) { return std::sqrt(D3DXVec3Dot(v, v)); }

D3DVECTOR D3DXVec3Normalize(const D3DVECTOR& v) {
    const float len = D3DXVec3Length(v);
    if (len == 0.0f) return {};
    return v * (1.0f / len);
}

D3DVECTOR D3DXVec3Subtract(const D3DVECTOR& a, const D3DVECTOR& b) { return a - b; }
D3DVECTOR D3DXVec3Scale(const D3DVECTOR& v, float s) { return v * s; }

D3DVECTOR D3DXVec3Lerp(const D3DVECTOR& a, const D3DVECTOR& b, float t) { return a + (b - a) * t; }

D3DVECTOR D3DXVec3TransformCoord(const D3DVECTOR& v, const D3DMATRIX& m) {
    const float x = v.x * m(0, 0) + v.y * m(1, 0) + v.z * m(2, 0) + m(3, 0);
    const float y = v.x * m(0, 1) + v.y * m(1, 1) + v.z * m(2, 1) + m(3, 1);
    const float z = v.x * m(0, 2) + v.y * m(1, 2) + v.z * m(2, 2) + m(3, 2);
    const float w = v.x * m(0, 3) + v.y * m(1, 3) + v.z * m(2, 3) + m(3, 3);
    if (w == 0.0f) return {x, y, z};
    return {x / w, y / w, z / w};
}

D3DVECTOR D3DXVec3TransformNormal(const D3DVECTOR& v, const D3DMATRIX& m) {
    return {v.x * m(0, 0) + v.y * m(1, 0) + v.z * m(2, 0), v.x * m(0, 1) + v.y * m(1, 1) + v.z * m(2, 1),
            v.x * m(0, 2) + v.y * m(1, 2) + v.z * m(2, 2)};
}

D3DVECTOR D3DXVec3Unproject(const D3DVECTOR& p, const D3DVIEWPORT8& vp, const D3DMATRIX& proj,
                            const D3DMATRIX& view, const D3DMATRIX& world) {
    const float w = vp.Width ? static_cast<float>(vp.Width) : 1.0f;
    const float h = vp.Height ? static_cast<float>(vp.Height) : 1.0f;
    const float dz = vp.MaxZ != vp.MinZ ? vp.MaxZ - vp.MinZ : 1.0f;
    const D3DVECTOR ndc{(p.x - static_cast<float>(vp.X)) * 2.0f / w - 1.0f,
                        1.0f - (p.y - static_cast<float>(vp.Y)) * 2.0f / h, (p.z - vp.MinZ) / dz};
    return D3DXVec3TransformCoord(ndc, D3DXMatrixInverse(world * view * proj));
}

D3DMATRIX D3DXMatrixIdentity() {
    D3DMATRIX r;
    for (int i = 0; i < 4; ++i) r(i, i) = 1.0f;
    return r;
}

D3DMATRIX D3DXMatrixMultiply(const D3DMATRIX& a, const D3DMATRIX& b) {
    D3DMATRIX r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            r(i, j) = a(i, 0) * b(0, j) + a(i, 1) * b(1, j) + a(i, 2) * b(2, j) + a(i, 3) * b(3, j);
    return r;
}

D3DMATRIX operator*(const D3DMATRIX& a, const D3DMATRIX& b) { return D3DXMatrixMultiply(a, b); }

D3DMATRIX D3DXMatrixInverse(const D3DMATRIX& m, float* determinant) {
    // Cofactor expansion in double precision: frames with large translations
    // and small scales stay accurate.
    double a[16];
    for (int i = 0; i < 16; ++i) a[i] = m.m[i / 4][i % 4];
    double inv[16];
    inv[0] = a[5] * a[10] * a[15] - a[5] * a[11] * a[14] - a[9] * a[6] * a[15] + a[9] * a[7] * a[14] +
             a[13] * a[6] * a[11] - a[13] * a[7] * a[10];
    inv[4] = -a[4] * a[10] * a[15] + a[4] * a[11] * a[14] + a[8] * a[6] * a[15] - a[8] * a[7] * a[14] -
             a[12] * a[6] * a[11] + a[12] * a[7] * a[10];
    inv[8] = a[4] * a[9] * a[15] - a[4] * a[11] * a[13] - a[8] * a[5] * a[15] + a[8] * a[7] * a[13] +
             a[12] * a[5] * a[11] - a[12] * a[7] * a[9];
    inv[12] = -a[4] * a[9] * a[14] + a[4] * a[10] * a[13] + a[8] * a[5] * a[14] - a[8] * a[6] * a[13] -
              a[12] * a[5] * a[10] + a[12] * a[6] * a[9];
    inv[1] = -a[1] * a[10] * a[15] + a[1] * a[11] * a[14] + a[9] * a[2] * a[15] - a[9] * a[3] * a[14] -
             a[13] * a[2] * a[11] + a[13] * a[3] * a[10];
    inv[5] = a[0] * a[10] * a[15] - a[0] * a[11] * a[14] - a[8] * a[2] * a[15] + a[8] * a[3] * a[14] +
             a[12] * a[2] * a[11] - a[12] * a[3] * a[10];
    inv[9] = -a[0] * a[9] * a[15] + a[0] * a[11] * a[13] + a[8] * a[1] * a[15] - a[8] * a[3] * a[13] -
             a[12] * a[1] * a[11] + a[12] * a[3] * a[9];
    inv[13] = a[0] * a[9] * a[14] - a[0] * a[10] * a[13] - a[8] * a[1] * a[14] + a[8] * a[2] * a[13] +
              a[12] * a[1] * a[10] - a[12] * a[2] * a[9];
    inv[2] = a[1] * a[6] * a[15] - a[1] * a[7] * a[14] - a[5] * a[2] * a[15] + a[5] * a[3] * a[14] +
             a[13] * a[2] * a[7] - a[13] * a[3] * a[6];
    inv[6] = -a[0] * a[6] * a[15] + a[0] * a[7] * a[14] + a[4] * a[2] * a[15] - a[4] * a[3] * a[14] -
             a[12] * a[2] * a[7] + a[12] * a[3] * a[6];
    inv[10] = a[0] * a[5] * a[15] - a[0] * a[7] * a[13] - a[4] * a[1] * a[15] + a[4] * a[3] * a[13] +
              a[12] * a[1] * a[7] - a[12] * a[3] * a[5];
    inv[14] = -a[0] * a[5] * a[14] + a[0] * a[6] * a[13] + a[4] * a[1] * a[14] - a[4] * a[2] * a[13] -
              a[12] * a[1] * a[6] + a[12] * a[2] * a[5];
    inv[3] = -a[1] * a[6] * a[11] + a[1] * a[7] * a[10] + a[5] * a[2] * a[11] - a[5] * a[3] * a[10] -
             a[9] * a[2] * a[7] + a[9] * a[3] * a[6];
    inv[7] = a[0] * a[6] * a[11] - a[0] * a[7] * a[10] - a[4] * a[2] * a[11] + a[4] * a[3] * a[10] +
             a[8] * a[2] * a[7] - a[8] * a[3] * a[6];
    inv[11] = -a[0] * a[5] * a[11] + a[0] * a[7] * a[9] + a[4] * a[1] * a[11] - a[4] * a[3] * a[9] -
              a[8] * a[1] * a[7] + a[8] * a[3] * a[5];
    inv[15] = a[0] * a[5] * a[10] - a[0] * a[6] * a[9] - a[4] * a[1] * a[10] + a[4] * a[2] * a[9] +
              a[8] * a[1] * a[6] - a[8] * a[2] * a[5];
    const double det = a[0] * inv[0] + a[1] * inv[4] + a[2] * inv[8] + a[3] * inv[12];
    D3DMATRIX r;
    if (determinant) *determinant = static_cast<float>(det);
    if (det == 0.0 || !std::isfinite(det)) {
        if (determinant) *determinant = 0.0f;
        return r;
    }
    const double s = 1.0 / det;
    for (int i = 0; i < 16; ++i) r.m[i / 4][i % 4] = static_cast<float>(inv[i] * s);
    return r;
}

D3DMATRIX D3DXMatrixScaling(float sx, float sy, float sz) {
    D3DMATRIX r;
    r(0, 0) = sx;
    r(1, 1) = sy;
    r(2, 2) = sz;
    r(3, 3) = 1.0f;
    return r;
}

D3DMATRIX D3DXMatrixTranslation(float x, float y, float z) {
    D3DMATRIX r = D3DXMatrixIdentity();
    r(3, 0) = x;
    r(3, 1) = y;
    r(3, 2) = z;
    return r;
}

D3DMATRIX D3DXMatrixRotationAxis(const D3DVECTOR& axis, float angle) {
    const D3DVECTOR n = D3DXVec3Normalize(axis);
    const float c = std::cos(angle), s = std::sin(angle), t = 1.0f - c;
    D3DMATRIX r = D3DXMatrixIdentity();
    r(0, 0) = t * n.x * n.x + c;
    r(0, 1) = t * n.x * n.y + s * n.z;
    r(0, 2) = t * n.x * n.z - s * n.y;
    r(1, 0) = t * n.x * n.y - s * n.z;
    r(1, 1) = t * n.y * n.y + c;
    r(1, 2) = t * n.y * n.z + s * n.x;
    r(2, 0) = t * n.x * n.z + s * n.y;
    r(2, 1) = t * n.y * n.z - s * n.x;
    r(2, 2) = t * n.z * n.z + c;
    return r;
}

D3DMATRIX D3DXMatrixRotationQuaternion(const D3DQUATERNION& q) {
    D3DMATRIX r = D3DXMatrixIdentity();
    r(0, 0) = 1.0f - 2.0f * (q.y * q.y + q.z * q.z);
    r(0, 1) = 2.0f * (q.x * q.y + q.z * q.w);
    r(0, 2) = 2.0f * (q.x * q.z - q.y * q.w);
    r(1, 0) = 2.0f * (q.x * q.y - q.z * q.w);
    r(1, 1) = 1.0f - 2.0f * (q.x * q.x + q.z * q.z);
    r(1, 2) = 2.0f * (q.y * q.z + q.x * q.w);
    r(2, 0) = 2.0f * (q.x * q.z + q.y * q.w);
    r(2, 1) = 2.0f * (q.y * q.z - q.x * q.w);
    r(2, 2) = 1.0f - 2.0f * (q.x * q.x + q.y * q.y);
    return r;
}

D3DMATRIX D3DXMatrixAffineTransformation(float scaling, const D3DVECTOR& c, const D3DQUATERNION& q,
                                         const D3DVECTOR& p) {
    return D3DXMatrixScaling(scaling, scaling, scaling) * D3DXMatrixTranslation(-c.x, -c.y, -c.z) *
           D3DXMatrixRotationQuaternion(q) * D3DXMatrixTranslation(c.x, c.y, c.z) *
           D3DXMatrixTranslation(p.x, p.y, p.z);
}

D3DMATRIX D3DXMatrixLookAtLH(const D3DVECTOR& eye, const D3DVECTOR& at, const D3DVECTOR& up) {
    const D3DVECTOR z = D3DXVec3Normalize(at - eye);
    const D3DVECTOR x = D3DXVec3Normalize(D3DXVec3Cross(up, z));
    const D3DVECTOR y = D3DXVec3Cross(z, x);
    D3DMATRIX r;
    r(0, 0) = x.x, r(0, 1) = y.x, r(0, 2) = z.x;
    r(1, 0) = x.y, r(1, 1) = y.y, r(1, 2) = z.y;
    r(2, 0) = x.z, r(2, 1) = y.z, r(2, 2) = z.z;
    r(3, 0) = -D3DXVec3Dot(x, eye);
    r(3, 1) = -D3DXVec3Dot(y, eye);
    r(3, 2) = -D3DXVec3Dot(z, eye);
    r(3, 3) = 1.0f;
    return r;
}

D3DMATRIX D3DXMatrixPerspectiveFovLH(float fovY, float aspect, float zn, float zf) {
    const float ys = 1.0f / std::tan(fovY / 2.0f);
    const float xs = ys / aspect;
    D3DMATRIX r;
    r(0, 0) = xs;
    r(1, 1) = ys;
    r(2, 2) = zf / (zf - zn);
    r(2, 3) = 1.0f;
    r(3, 2) = -zn * zf / (zf - zn);
    return r;
}

D3DQUATERNION D3DXQuaternionIdentity() { return {0, 0, 0, 1}; }

D3DQUATERNION D3DXQuaternionRotationAxis(const D3DVECTOR& axis, float angle) {
    const D3DVECTOR n = D3DXVec3Normalize(axis);
    const float s = std::sin(angle / 2.0f);
    return {n.x * s, n.y * s, n.z * s, std::cos(angle / 2.0f)};
}

D3DQUATERNION D3DXQuaternionNormalize(const D3DQUATERNION& q) {
    const float len = std::sqrt(q.x * q.x + q.y * q.y + q.z * q.z + q.w * q.w);
    if (len == 0.0f) return q;
    return {q.x / len, q.y / len, q.z / len, q.w / len};
}

D3DQUATERNION D3DXQuaternionSlerp(const D3DQUATERNION& q1, const D3DQUATERNION& q2, float t) {
    float cosom = q1.x * q2.x + q1.y * q2.y + q1.z * q2.z + q1.w * q2.w;
    float sign = 1.0f;
    if (cosom < 0.0f) {
        cosom = -cosom;
        sign = -1.0f;
    }
    float k1 = 1.0f - t, k2 = t;
    // Nearly equal rotations: the sine below would vanish; linear is exact enough.
    if (cosom < 0.9999f) {
        const float omega = std::acos(cosom);
        const float sinom = std::sin(omega);
        k1 = std::sin((1.0f - t) * omega) / sinom;
        k2 = std::sin(t * omega) / sinom;
    }
    k2 *= sign;
    return {k1 * q1.x + k2 * q2.x, k1 * q1.y + k2 * q2.y, k1 * q1.z + k2 * q2.z, k1 * q1.w + k2 * q2.w};
}

}  // namespace vantrel::engine3d
