#include "engine3d/scene/mesh_geometry.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "engine3d/math/d3d_math.h"
#include "engine3d/engine3d_error.h"

namespace vantrel::engine3d {
namespace {

std::size_t strideOf(DWORD fvf) {
    if ((fvf & D3DFVF_XYZ) == 0 || (fvf & ~(D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1)) != 0)
        throw Engine3dError("unsupported vertex format " + std::to_string(fvf));
    return 3 + ((fvf & D3DFVF_NORMAL) ? 3 : 0) + ((fvf & D3DFVF_TEX1) ? 2 : 0);
}

}  // namespace

MeshGeometry::MeshGeometry(DWORD fvf) : fvf_(fvf), stride_(strideOf(fvf)) {}

MeshGeometry MeshGeometry::converted(DWORD fvf) const {
    MeshGeometry out(fvf);
    const std::size_t n = vertexCount();
    out.vertices.assign(n * out.stride_, 0.0f);
    for (std::size_t i = 0; i < n; ++i) {
        const float* src = vertex(i);
        float* dst = out.vertex(i);
        std::copy(src, src + 3, dst);
        if (hasNormals() && out.hasNormals()) std::copy(src + 3, src + 6, dst + 3);
        if (hasTexCoords() && out.hasTexCoords())
            std::copy(src + texOffset(), src + texOffset() + 2, dst + out.texOffset());
    }
    out.indices = indices;
    out.attributes = attributes;
    return out;
}

const MeshBounds& MeshGeometry::bounds() const {
    if (boundsValid_) return bounds_;
    const std::size_t n = vertexCount();
    if (n == 0) {
        bounds_ = {};
    } else {
        D3DVECTOR lo = position(0), hi = lo;
        for (std::size_t i = 1; i < n; ++i) {
            const float* p = vertex(i);
            lo.x = std::min(lo.x, p[0]), lo.y = std::min(lo.y, p[1]), lo.z = std::min(lo.z, p[2]);
            hi.x = std::max(hi.x, p[0]), hi.y = std::max(hi.y, p[1]), hi.z = std::max(hi.z, p[2]);
        }
        bounds_ = {lo, hi};
    }
    boundsValid_ = true;
    return bounds_;
}

namespace {

// Slab test against a box grown by a small margin, so triangles lying in a
// face of the box are never culled by rounding.
bool rayHitsBox(const MeshBounds& b, const D3DVECTOR& o, const D3DVECTOR& d) {
    const float o3[3] = {o.x, o.y, o.z}, d3[3] = {d.x, d.y, d.z};
    const float lo3[3] = {b.min.x, b.min.y, b.min.z}, hi3[3] = {b.max.x, b.max.y, b.max.z};
    float tmin = 0.0f, tmax = std::numeric_limits<float>::infinity();
    for (int a = 0; a < 3; ++a) {
        const float margin = 1e-4f * (1.0f + std::fabs(hi3[a]) + std::fabs(lo3[a]));
        const float lo = lo3[a] - margin, hi = hi3[a] + margin;
        if (d3[a] == 0.0f) {
            if (o3[a] < lo || o3[a] > hi) return false;
            continue;
        }
        float t1 = (lo - o3[a]) / d3[a], t2 = (hi - o3[a]) / d3[a];
        if (t1 > t2) std::swap(t1, t2);
        tmin = std::max(tmin, t1);
        tmax = std::min(tmax, t2);
        if (tmin > tmax) return false;
    }
    return true;
}

}  // namespace

bool intersectMesh(const MeshGeometry& mesh, const D3DVECTOR& orig, const D3DVECTOR& dir, IntersectInfo& hit) {
    if (mesh.faceCount() == 0 || !rayHitsBox(mesh.bounds(), orig, dir)) return false;
    bool found = false;
    float best = std::numeric_limits<float>::infinity();
    const std::size_t faces = mesh.faceCount();
    const std::size_t nv = mesh.vertexCount();
    for (std::size_t f = 0; f < faces; ++f) {
        const DWORD i0 = mesh.indices[f * 3], i1 = mesh.indices[f * 3 + 1], i2 = mesh.indices[f * 3 + 2];
        if (i0 >= nv || i1 >= nv || i2 >= nv) continue;
        const D3DVECTOR v0 = mesh.position(i0);
        const D3DVECTOR e1 = mesh.position(i1) - v0;
        const D3DVECTOR e2 = mesh.position(i2) - v0;
        const D3DVECTOR p = D3DXVec3Cross(dir, e2);
        const float det = D3DXVec3Dot(e1, p);
        if (det == 0.0f) continue;
        const float inv = 1.0f / det;
        const D3DVECTOR s = orig - v0;
        const float u = D3DXVec3Dot(s, p) * inv;
        if (u < 0.0f || u > 1.0f) continue;
        const D3DVECTOR q = D3DXVec3Cross(s, e1);
        const float v = D3DXVec3Dot(dir, q) * inv;
        if (v < 0.0f || u + v > 1.0f) continue;
        const float t = D3DXVec3Dot(e2, q) * inv;
        if (t < 0.0f || t >= best) continue;
        best = t;
        hit = {static_cast<DWORD>(f), u, v, t};
        found = true;
    }
    return found;
}

}  // namespace vantrel::engine3d
