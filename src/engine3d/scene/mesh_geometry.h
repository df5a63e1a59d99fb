#pragma once
// Triangle geometry of a mesh: vertices in a flexible vertex format (position,
// optional normal, optional one texture-coordinate pair), three indices per
// triangle and a subset id per triangle. Code that edits the arrays directly
// calls invalidateBounds() so picking does not skip the mesh by stale bounds.

#include <cstdint>
#include <vector>

#include "engine3d/math/d3d_types.h"
#include "text/byte_buffer.h"

namespace vantrel::engine3d {

struct MeshBounds {
    D3DVECTOR min, max;
};

class MeshGeometry {
public:
    // Supported formats combine D3DFVF_XYZ with D3DFVF_NORMAL and D3DFVF_TEX1;
    // anything else raises Engine3dError.
    explicit MeshGeometry(DWORD fvf = D3DFVF_XYZ);

    DWORD fvf() const { return fvf_; }
    std::size_t floatsPerVertex() const { return stride_; }
    std::size_t vertexCount() const { return vertices.size() / stride_; }
    std::size_t faceCount() const { return indices.size() / 3; }
    bool hasNormals() const { return (fvf_ & D3DFVF_NORMAL) != 0; }
    bool hasTexCoords() const { return (fvf_ & D3DFVF_TEX1) != 0; }
    std::size_t normalOffset() const { return 3; }
    std::size_t texOffset() const { return hasNormals() ? 6 : 3; }

    D3DVECTOR position(std::size_t v) const {
        const float* p = &vertices[v * stride_];
        return {p[0], p[1], p[2]};
    }
    float* vertex(std::size_t v) { return &vertices[v * stride_]; }
    const float* vertex(std::size_t v) const { return &vertices[v * stride_]; }

    // A copy in another vertex format: shared components copied, new ones zero.
    MeshGeometry converted(DWORD fvf) const;

    const MeshBounds& bounds() const;
    void invalidateBounds() { boundsValid_ = false; }

    // Grown without zero-filling: a mesh of a million vertices is written once, by its loader.
    std::vector<float, text::UninitialisedAllocator<float>> vertices;
    std::vector<DWORD> indices;     // 3 per triangle
    std::vector<DWORD> attributes;  // subset id per triangle

private:
    DWORD fvf_;
    std::size_t stride_;
    mutable MeshBounds bounds_;
    mutable bool boundsValid_ = false;
};

struct IntersectInfo {
    DWORD faceIndex = 0;
    float u = 0, v = 0;
    float dist = 0;  // ray parameter: hit = orig + dist * dir
};

// Closest hit of the ray (orig, dir) with any triangle, front or back side;
// hits behind the origin do not count. Skips the triangles when the ray misses
// the bounding box.
bool intersectMesh(const MeshGeometry& mesh, const D3DVECTOR& orig, const D3DVECTOR& dir, IntersectInfo& hit);

}  // namespace vantrel::engine3d
