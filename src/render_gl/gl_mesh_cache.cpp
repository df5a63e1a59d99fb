#include "render_gl/gl_mesh_cache.h"

#include <vector>

#define GL_GLEXT_PROTOTYPES 1
#include <GL/glcorearb.h>

#include "render_gl/fixed_function_shader.h"

namespace vantrel::render_gl {

using engine3d::DWORD;
using engine3d::MeshGeometry;

namespace {

void deleteNames(GlMesh& m) {
    glDeleteVertexArrays(1, &m.vao);
    glDeleteBuffers(1, &m.vertexBuffer);
    glDeleteBuffers(1, &m.indexBuffer);
}

// The indices sorted by subset, with each subset's range; a triangle naming a
// missing vertex is dropped.
std::vector<GLuint> trianglesBySubset(const MeshGeometry& mesh, std::map<DWORD, GlMesh::Range>& ranges) {
    const std::size_t vertexCount = mesh.vertexCount();
    std::map<DWORD, std::vector<GLuint>> bySubset;
    for (std::size_t f = 0; f < mesh.faceCount(); ++f) {
        const DWORD* tri = &mesh.indices[f * 3];
        if (tri[0] >= vertexCount || tri[1] >= vertexCount || tri[2] >= vertexCount) continue;
        const DWORD subset = f < mesh.attributes.size() ? mesh.attributes[f] : 0;
        auto& list = bySubset[subset];
        list.insert(list.end(), {tri[0], tri[1], tri[2]});
    }
    std::vector<GLuint> sorted;
    for (auto& [subset, list] : bySubset) {
        ranges[subset] = {sorted.size(), list.size()};
        sorted.insert(sorted.end(), list.begin(), list.end());
    }
    return sorted;
}

}  // namespace

void GlMeshCache::release() {
    for (auto& [key, m] : meshes_) deleteNames(m);
    meshes_.clear();
}

void GlMeshCache::forget() { meshes_.clear(); }

const GlMesh& GlMeshCache::buffersFor(const MeshGeometry& mesh) {
    auto it = meshes_.find(&mesh);
    if (it != meshes_.end()) {
        const GlMesh& m = it->second;
        if (m.vertexData == mesh.vertices.data() && m.indexData == mesh.indices.data() &&
            m.vertexFloats == mesh.vertices.size() && m.indexCount == mesh.indices.size())
            return m;
        // Another geometry now lives at this address, or this one was rebuilt.
        deleteNames(it->second);
        meshes_.erase(it);
    }
    GlMesh m;
    m.vertexData = mesh.vertices.data();
    m.indexData = mesh.indices.data();
    m.vertexFloats = mesh.vertices.size();
    m.indexCount = mesh.indices.size();

    const std::vector<GLuint> sorted = trianglesBySubset(mesh, m.subsets);

    glGenVertexArrays(1, &m.vao);
    glBindVertexArray(m.vao);
    glGenBuffers(1, &m.vertexBuffer);
    glBindBuffer(GL_ARRAY_BUFFER, m.vertexBuffer);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(mesh.vertices.size() * sizeof(float)),
                 mesh.vertices.data(), GL_STATIC_DRAW);
    glGenBuffers(1, &m.indexBuffer);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, m.indexBuffer);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(sorted.size() * sizeof(GLuint)), sorted.data(),
                 GL_STATIC_DRAW);
    const auto stride = static_cast<GLsizei>(mesh.floatsPerVertex() * sizeof(float));
    auto offset = [](std::size_t floats) { return reinterpret_cast<const void*>(floats * sizeof(float)); };
    glEnableVertexAttribArray(kPositionSlot);
    glVertexAttribPointer(kPositionSlot, 3, GL_FLOAT, GL_FALSE, stride, offset(0));
    if (mesh.hasNormals()) {
        glEnableVertexAttribArray(kNormalSlot);
        glVertexAttribPointer(kNormalSlot, 3, GL_FLOAT, GL_FALSE, stride, offset(mesh.normalOffset()));
    } else {
        glVertexAttrib3f(kNormalSlot, 0, 0, 0);
    }
    if (mesh.hasTexCoords()) {
        glEnableVertexAttribArray(kTexCoordSlot);
        glVertexAttribPointer(kTexCoordSlot, 2, GL_FLOAT, GL_FALSE, stride, offset(mesh.texOffset()));
    }
    glBindVertexArray(0);
    ++uploads_;
    return meshes_.emplace(&mesh, std::move(m)).first->second;
}

}  // namespace vantrel::render_gl
