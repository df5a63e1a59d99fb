#include "engine3d/scene/cd3d_mesh.h"

#include <algorithm>
#include <cmath>

#include "engine3d/math/d3d_math.h"
#include "engine3d/device/texture_cache.h"
#include "engine3d/engine3d_error.h"
#include "engine3d/scene/xfile_mesh_loader.h"

namespace vantrel::engine3d {
namespace {

bool isOpaque(const D3DMATERIAL8& m) { return m.Diffuse.a == 1.0f; }
bool isTransparent(const D3DMATERIAL8& m) { return m.Diffuse.a < 1.0f; }

void collectMeshes(const XFileData& obj, std::vector<XFileData>& out) {
    if (obj.isReference()) return;
    if (obj.hasTemplate("Mesh")) {
        out.push_back(obj);
        return;
    }
    for (std::size_t i = 0; i < obj.childCount(); ++i) collectMeshes(obj.child(i), out);
}

}  // namespace

bool CD3DMesh::InitFromXOF(RenderDevice* dev, const XFileData& meshObject) {
    Destroy();
    if (!dev) throw Engine3dError("no device to load the mesh on");
    ObjectName = std::string(meshObject.name());
    XMeshContent content = loadXMesh(meshObject);
    mesh = std::move(content.geometry);
    SetMaterialCount(static_cast<DWORD>(content.materials.size()));
    for (DWORD i = 0; i < content.materials.size(); ++i) {
        materials_[i] = content.materials[i].material;
        materials_[i].Ambient = materials_[i].Diffuse;  // ambient is never taken from the file
        textureNames_[i] = content.materials[i].textureName;
        textures_[i] = LoadTextureCached(*dev, textureNames_[i]);
    }
    return true;
}

bool CD3DMesh::InitFromFile(RenderDevice* dev, const std::string& name) {
    Destroy();
    if (!dev) throw Engine3dError("no device to load the mesh on");
    XFileEnumerator e = XFileReader().open(name);
    std::vector<XFileData> parts;
    while (XFileData obj = e.next()) collectMeshes(obj, parts);
    auto geo = std::make_shared<MeshGeometry>(D3DFVF_VERTEX);
    for (const XFileData& part : parts) {
        CD3DMesh m;
        m.InitFromXOF(dev, part);
        const MeshGeometry src = m.mesh->converted(D3DFVF_VERTEX);
        const auto base = static_cast<DWORD>(geo->vertexCount());
        const auto materialBase = GetMaterialCount();
        geo->vertices.insert(geo->vertices.end(), src.vertices.begin(), src.vertices.end());
        for (DWORD i : src.indices) geo->indices.push_back(base + i);
        for (DWORD a : src.attributes) geo->attributes.push_back(materialBase + a);
        for (DWORD i = 0; i < m.GetMaterialCount(); ++i) {
            materials_.push_back(m.materials_[i]);
            textureNames_.push_back(m.textureNames_[i]);
            textures_.push_back(m.textures_[i]);
        }
        if (ObjectName.empty()) ObjectName = m.ObjectName;
    }
    if (parts.empty()) throw XFileError(name + ": no Mesh object in the file");
    mesh = std::move(geo);
    return true;
}

void CD3DMesh::InitFromD3DXMesh(std::shared_ptr<MeshGeometry> geometry) {
    UseMaterials = false;
    materials_.assign(1, D3DMATERIAL8{});
    textureNames_.assign(1, std::string());
    textures_.assign(1, nullptr);
    mesh = std::move(geometry);
}

const std::vector<DWORD>& CD3DMesh::Adjacency() const {
    if (!mesh) {
        adjacency_.clear();
        adjacencyOf_.reset();
    } else if (adjacencyOf_.lock() != mesh || adjacency_.size() != mesh->faceCount() * 3) {
        adjacency_ = computeAdjacency(*mesh);
        adjacencyOf_ = mesh;
    }
    return adjacency_;
}

void CD3DMesh::Destroy() {
    mesh.reset();
    materials_.clear();
    textureNames_.clear();
    textures_.clear();
    adjacency_.clear();
    adjacencyOf_.reset();
    UseMaterials = true;
}

void CD3DMesh::drawSubset(RenderDevice& dev, DWORD i, const D3DMATERIAL8& material, bool textured) {
    dev.SetMaterial(material);
    dev.SetTexture(0, textured ? textures_[i] : nullptr);
    dev.DrawSubset(*mesh, i);
}

void CD3DMesh::RenderEx(RenderDevice& dev, bool drawOpaqueSubsets, bool drawAlphaSubsets, const MaterialTint* tint) {
    if (!mesh) return;
    const DWORD count = GetMaterialCount();
    auto look = [tint](const D3DMATERIAL8& m) { return tint ? tintedMaterial(m, *tint) : m; };
    if (drawOpaqueSubsets) {
        for (DWORD i = 0; i < count; ++i) {
            if (UseMaterials) {
                const D3DMATERIAL8 m = look(materials_[i]);
                if (isOpaque(m)) drawSubset(dev, i, m, tint == nullptr);
            } else if (UseMaterialOverride) {
                const D3DMATERIAL8 m = look(override_);
                if (isOpaque(m)) {
                    dev.SetTexture(0, tint ? nullptr : textures_[i]);
                    dev.SetMaterial(m);
                    dev.DrawSubset(*mesh, i);
                }
            } else {
                dev.DrawSubset(*mesh, i);
            }
        }
    }
    if (drawAlphaSubsets && (UseMaterials || UseMaterialOverride)) {
        for (DWORD i = 0; i < count; ++i) {
            const D3DMATERIAL8 m = look(UseMaterials ? materials_[i] : override_);
            if (isTransparent(m)) drawSubset(dev, i, m, tint == nullptr);
        }
    }
}

void CD3DMesh::Render(RenderDevice& dev) {
    if (!mesh) return;
    for (DWORD i = 0; i < GetMaterialCount(); ++i) {
        if (UseMaterials) {
            drawSubset(dev, i, materials_[i]);
        } else {
            dev.DrawSubset(*mesh, i);
        }
    }
}

void CD3DMesh::checkIndex(DWORD i) const {
    if (i >= materials_.size())
        throw Engine3dError("material index " + std::to_string(i) + " out of range 0.." +
                            std::to_string(static_cast<long long>(materials_.size()) - 1));
}

void CD3DMesh::SetMaterialCount(DWORD n) {
    materials_.resize(n);
    textureNames_.resize(n);
    textures_.resize(n);
}

const D3DMATERIAL8& CD3DMesh::GetMaterial(DWORD i) const {
    checkIndex(i);
    return materials_[i];
}

void CD3DMesh::SetMaterial(DWORD i, const D3DMATERIAL8& material) {
    checkIndex(i);
    materials_[i] = material;
}

TexturePtr CD3DMesh::GetMaterialTexture(DWORD i) const {
    checkIndex(i);
    return textures_[i];
}

void CD3DMesh::SetMaterialTexture(DWORD i, TexturePtr texture) {
    checkIndex(i);
    textures_[i] = std::move(texture);
}

const std::string& CD3DMesh::GetTextureName(DWORD i) const {
    checkIndex(i);
    return textureNames_[i];
}

void CD3DMesh::SetMaterialOverride(const D3DMATERIAL8& material) {
    override_ = material;
    UseMaterialOverride = true;
}

void CD3DMesh::SetFVF(RenderDevice*, DWORD fvf) {
    if (!mesh) return;
    mesh = std::make_shared<MeshGeometry>(mesh->converted(fvf));
}

void CD3DMesh::ComputeNormals() {
    if (!mesh) return;
    // Meshes loaded without normals gain them rather than staying unlit.
    if (!mesh->hasNormals()) mesh = std::make_shared<MeshGeometry>(mesh->converted(mesh->fvf() | D3DFVF_NORMAL));
    MeshGeometry& g = *mesh;
    const std::size_t nv = g.vertexCount();
    std::vector<D3DVECTOR> sum(nv);
    for (std::size_t f = 0; f < g.faceCount(); ++f) {
        const DWORD a = g.indices[f * 3], b = g.indices[f * 3 + 1], c = g.indices[f * 3 + 2];
        if (a >= nv || b >= nv || c >= nv) continue;
        // Unnormalised cross product: larger faces weigh more.
        const D3DVECTOR n = D3DXVec3Cross(g.position(b) - g.position(a), g.position(c) - g.position(a));
        sum[a] = sum[a] + n;
        sum[b] = sum[b] + n;
        sum[c] = sum[c] + n;
    }
    for (std::size_t v = 0; v < nv; ++v) {
        const D3DVECTOR n = D3DXVec3Normalize(sum[v]);
        float* p = g.vertex(v) + g.normalOffset();
        p[0] = n.x, p[1] = n.y, p[2] = n.z;
    }
}

void CD3DMesh::FlipNormals() {
    if (!mesh || mesh->fvf() != D3DFVF_VERTEX) return;
    for (std::size_t v = 0; v < mesh->vertexCount(); ++v) {
        float* p = mesh->vertex(v) + 3;
        p[0] = -p[0], p[1] = -p[1], p[2] = -p[2];
    }
}

void CD3DMesh::Translate(float x, float y, float z) {
    if (!mesh || mesh->fvf() != D3DFVF_VERTEX) return;
    for (std::size_t v = 0; v < mesh->vertexCount(); ++v) {
        float* p = mesh->vertex(v);
        p[0] += x, p[1] += y, p[2] += z;
    }
    mesh->invalidateBounds();
}

void CD3DMesh::GetLocalBox(D3DVECTOR& minExt, D3DVECTOR& maxExt) const {
    if (!mesh) {
        minExt = maxExt = {};
        return;
    }
    minExt = mesh->bounds().min;
    maxExt = mesh->bounds().max;
}

void CD3DMesh::ComputeBoundingVolumes() {
    if (!mesh || mesh->vertexCount() == 0) {
        sphereCenter_ = {};
        SphereRadius = 0.0f;
    } else {
        D3DVECTOR c{};
        const std::size_t n = mesh->vertexCount();
        for (std::size_t v = 0; v < n; ++v) c = c + mesh->position(v);
        c = c * (1.0f / static_cast<float>(n));
        float r2 = 0.0f;
        for (std::size_t v = 0; v < n; ++v) {
            const D3DVECTOR d = mesh->position(v) - c;
            r2 = std::max(r2, D3DXVec3Dot(d, d));
        }
        sphereCenter_ = c;
        SphereRadius = std::sqrt(r2);
    }
    HasSphere = true;
}

void CD3DMesh::Optimize() {
    if (!mesh) return;
    const MeshGeometry& src = *mesh;
    const std::size_t faces = src.faceCount();
    // Faces grouped by subset, keeping their order inside a subset.
    std::vector<DWORD> order(faces);
    for (DWORD f = 0; f < faces; ++f) order[f] = f;
    std::stable_sort(order.begin(), order.end(),
                     [&](DWORD a, DWORD b) { return src.attributes[a] < src.attributes[b]; });
    // Vertices renumbered in first-use order so neighbouring faces share cache
    // lines; vertices no face uses are dropped.
    constexpr DWORD kUnused = 0xFFFFFFFFu;
    std::vector<DWORD> remap(src.vertexCount(), kUnused);
    auto out = std::make_shared<MeshGeometry>(src.fvf());
    const std::size_t stride = src.floatsPerVertex();
    for (DWORD f : order) {
        for (int k = 0; k < 3; ++k) {
            const DWORD v = src.indices[f * 3 + k];
            if (v >= remap.size()) throw Engine3dError("mesh index out of range");
            if (remap[v] == kUnused) {
                remap[v] = static_cast<DWORD>(out->vertexCount());
                out->vertices.insert(out->vertices.end(), src.vertex(v), src.vertex(v) + stride);
            }
            out->indices.push_back(remap[v]);
        }
        out->attributes.push_back(src.attributes[f]);
    }
    mesh = std::move(out);
}

}  // namespace vantrel::engine3d
