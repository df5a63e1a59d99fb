#pragma once
// Vertex and index buffers of the meshes drawn on one GL context. Each
// geometry is uploaded once, on its first draw, with its triangles sorted by
// subset so that a subset is one glDrawElements range; later draws reuse it.

#include <cstddef>
#include <map>
#include <unordered_map>

#include "engine3d/scene/mesh_geometry.h"

namespace vantrel::render_gl {

struct GlMesh {
    struct Range {
        std::size_t first = 0, count = 0;  // in indices
    };
    unsigned vao = 0, vertexBuffer = 0, indexBuffer = 0;
    std::map<engine3d::DWORD, Range> subsets;
    // What was uploaded: another geometry at the same address, or this one
    // rebuilt, uploads again.
    const float* vertexData = nullptr;
    const engine3d::DWORD* indexData = nullptr;
    std::size_t vertexFloats = 0, indexCount = 0;
};

class GlMeshCache {
public:
    // The buffers of mesh, uploaded now when they are not there yet. A
    // triangle naming a vertex the mesh does not have is left out.
    const GlMesh& buffersFor(const engine3d::MeshGeometry& mesh);
    // Deletes every buffer (the context is current).
    void release();
    // The context went away with the buffers: only forgets them.
    void forget();
    int uploads() const { return uploads_; }

private:
    std::unordered_map<const engine3d::MeshGeometry*, GlMesh> meshes_;
    int uploads_ = 0;
};

}  // namespace vantrel::render_gl
