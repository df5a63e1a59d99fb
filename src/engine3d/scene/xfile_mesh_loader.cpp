#include "engine3d/scene/xfile_mesh_loader.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>
#include <tuple>

namespace vantrel::engine3d {
namespace {

constexpr DWORD kNone = 0xFFFFFFFFu;

[[noreturn]] void bad(const XFileData& obj, const std::string& what) {
    throw XFileError(obj.position() + ": " + what);
}

struct Polygons {
    std::vector<DWORD> counts;                                         // corners per polygon
    std::vector<DWORD, text::UninitialisedAllocator<DWORD>> corners;  // all corner indices
};

Polygons readPolygons(XDataCursor& c, const XFileData& obj, DWORD limit, const char* what) {
    Polygons p;
    const DWORD n = c.u32();
    if (n > c.remaining() / 4) bad(obj, std::string(what) + " count is larger than the data");
    p.counts.reserve(n);
    p.corners.reserve(static_cast<std::size_t>(n) * 3);
    for (DWORD f = 0; f < n; ++f) {
        const DWORD k = c.u32();
        if (k > c.remaining() / 4) bad(obj, std::string(what) + " polygon is larger than the data");
        p.counts.push_back(k);
        // The polygon's indices at once, then one pass that checks them all.
        const std::size_t at = p.corners.size();
        p.corners.resize(at + k);
        std::memcpy(p.corners.data() + at, c.take(std::size_t{k} * 4), std::size_t{k} * 4);
        DWORD highest = 0;
        for (DWORD i = 0; i < k; ++i) highest = std::max(highest, p.corners[at + i]);
        if (highest >= limit)
            for (DWORD i = 0; i < k; ++i)
                if (p.corners[at + i] >= limit)
                    bad(obj, std::string(what) + " " + std::to_string(f) + " uses index " +
                                 std::to_string(p.corners[at + i]) + " of " + std::to_string(limit));
    }
    return p;
}

D3DCOLORVALUE readColor(XDataCursor& c, bool alpha) {
    D3DCOLORVALUE col;
    col.r = c.f32();
    col.g = c.f32();
    col.b = c.f32();
    col.a = alpha ? c.f32() : 0.0f;
    return col;
}

XMeshMaterial readMaterial(const XFileData& obj) {
    XDataCursor c(obj);
    XMeshMaterial m;
    m.material.Diffuse = readColor(c, true);
    m.material.Power = c.f32();
    m.material.Specular = readColor(c, false);
    m.material.Emissive = readColor(c, false);
    for (std::size_t i = 0; i < obj.childCount(); ++i) {
        const XFileData child = obj.child(i);
        if (child.hasTemplate("TextureFilename")) {
            XDataCursor t(child);
            m.textureName = std::string(t.str());
            // Some exporters keep the C string's terminating zero.
            while (!m.textureName.empty() && m.textureName.back() == '\0') m.textureName.pop_back();
        }
    }
    return m;
}

}  // namespace

std::vector<DWORD> computeAdjacency(const MeshGeometry& mesh) {
    const std::size_t faces = mesh.faceCount();
    // Edges keyed by the positions of their ends, so split vertices still join.
    // Positions are matched through the first vertex holding the same coordinates.
    std::vector<DWORD> rep(mesh.vertexCount());
    {
        std::vector<DWORD> order(mesh.vertexCount());
        for (DWORD i = 0; i < order.size(); ++i) order[i] = i;
        // Bit patterns, not float compares: NaNs from a file must not break the sort.
        auto key = [&](DWORD v) {
            std::uint32_t k[3];
            std::memcpy(k, mesh.vertex(v), sizeof k);
            return std::make_tuple(k[0], k[1], k[2]);
        };
        std::stable_sort(order.begin(), order.end(), [&](DWORD a, DWORD b) { return key(a) < key(b); });
        for (std::size_t i = 0; i < order.size(); ++i)
            rep[order[i]] = (i > 0 && key(order[i]) == key(order[i - 1])) ? rep[order[i - 1]] : order[i];
    }
    struct Edge {
        DWORD lo, hi, slot;
    };
    std::vector<Edge> edges;
    edges.reserve(faces * 3);
    for (std::size_t f = 0; f < faces; ++f)
        for (int e = 0; e < 3; ++e) {
            const DWORD a = rep[mesh.indices[f * 3 + e]], b = rep[mesh.indices[f * 3 + (e + 1) % 3]];
            edges.push_back({std::min(a, b), std::max(a, b), static_cast<DWORD>(f * 3 + e)});
        }
    std::sort(edges.begin(), edges.end(), [](const Edge& x, const Edge& y) {
        return std::tie(x.lo, x.hi, x.slot) < std::tie(y.lo, y.hi, y.slot);
    });
    std::vector<DWORD> adj(faces * 3, kNone);
    for (std::size_t i = 0; i + 1 < edges.size();) {
        if (edges[i].lo == edges[i + 1].lo && edges[i].hi == edges[i + 1].hi && edges[i].lo != edges[i].hi &&
            edges[i].slot / 3 != edges[i + 1].slot / 3) {
            adj[edges[i].slot] = edges[i + 1].slot / 3;
            adj[edges[i + 1].slot] = edges[i].slot / 3;
            i += 2;
        } else {
            ++i;
        }
    }
    return adj;
}

namespace {

// The Mesh object's children that carry geometry; the first of each kind counts.
struct MeshChildren {
    XFileData normals, texCoords, materials;
};

MeshChildren findMeshChildren(const XFileData& obj) {
    MeshChildren c;
    for (std::size_t i = 0; i < obj.childCount(); ++i) {
        const XFileData child = obj.child(i);
        if (child.hasTemplate("MeshNormals") && !c.normals) c.normals = child;
        if (child.hasTemplate("MeshTextureCoords") && !c.texCoords) c.texCoords = child;
        if (child.hasTemplate("MeshMaterialList") && !c.materials) c.materials = child;
    }
    return c;
}

// Normals and, per face corner, which normal it uses; none when the file has none.
struct MeshNormals {
    bool present = false;
    const std::uint8_t* normals = nullptr;
    Polygons faces;
};

MeshNormals readNormals(const XFileData& obj, const Polygons& meshFaces) {
    MeshNormals out;
    if (!obj) return out;
    XDataCursor n(obj);
    const DWORD count = n.u32();
    if (count > n.remaining() / 12) bad(obj, "normal count is larger than the data");
    const std::uint8_t* normals = n.take(static_cast<std::size_t>(count) * 12);
    out.faces = readPolygons(n, obj, count, "normal face");
    // Some exporters write an empty list for a mesh without normals.
    if (count == 0 && out.faces.counts.empty()) return {};
    if (out.faces.counts != meshFaces.counts) bad(obj, "MeshNormals faces do not match the Mesh faces");
    out.present = true;
    out.normals = normals;
    return out;
}

// One pair of texture coordinates per vertex, or none.
struct MeshTexCoords {
    bool present = false;
    const std::uint8_t* uv = nullptr;
};

MeshTexCoords readTexCoords(const XFileData& obj, DWORD vertexCount) {
    if (!obj) return {};
    XDataCursor t(obj);
    const DWORD count = t.u32();
    if (count > t.remaining() / 8) bad(obj, "texture coordinate count is larger than the data");
    if (count == 0 && vertexCount > 0) return {};  // an empty list: no texture coordinates
    if (count < vertexCount) bad(obj, "fewer texture coordinates than vertices");
    return {true, t.take(static_cast<std::size_t>(vertexCount) * 8)};
}

// The materials, and the material index per polygon (fewer indices than
// polygons repeat the last one). A mesh without a list gets one white material.
std::vector<DWORD> readMaterialList(const XFileData& obj, std::vector<XMeshMaterial>& materials) {
    if (!obj) {
        XMeshMaterial white;
        white.material.Diffuse = {1, 1, 1, 1};
        materials.push_back(white);
        return {};
    }
    XDataCursor m(obj);
    const DWORD materialCount = m.u32();
    const DWORD faceMaterialCount = m.u32();
    if (faceMaterialCount > m.remaining() / 4) bad(obj, "material index count is larger than the data");
    std::vector<DWORD> faceMaterial(faceMaterialCount);
    for (DWORD& i : faceMaterial) i = m.u32();
    for (std::size_t i = 0; i < obj.childCount(); ++i) {
        const XFileData child = obj.child(i);
        if (child.hasTemplate("Material")) materials.push_back(readMaterial(child));
    }
    if (materials.size() < materialCount)
        bad(obj, "MeshMaterialList names " + std::to_string(materialCount) + " materials but holds " +
                     std::to_string(materials.size()));
    materials.resize(materialCount);
    return faceMaterial;
}

// Vertex copies by (position index, normal index): open addressing in one
// array sized for every corner of the mesh, so no insert allocates.
class CopyTable {
public:
    explicit CopyTable(std::size_t corners) : corners_(corners) {}

    // The copy made for key, or the index given when key is new.
    DWORD findOrAdd(std::uint64_t key, DWORD copy) {
        if (slots_.empty()) {
            std::size_t size = 16;
            while (size < corners_ * 2) size *= 2;
            slots_.assign(size, Slot{});
        }
        const std::size_t mask = slots_.size() - 1;
        for (std::size_t i = static_cast<std::size_t>((key * 0x9E3779B97F4A7C15ull) >> 32) & mask;; i = (i + 1) & mask) {
            Slot& s = slots_[i];
            if (s.vertex == kNone) {
                s = {key, copy};
                return copy;
            }
            if (s.key == key) return s.vertex;
        }
    }

private:
    struct Slot {
        std::uint64_t key = 0;
        DWORD vertex = kNone;
    };
    std::size_t corners_;
    std::vector<Slot> slots_;  // made on the first copy: most meshes need none
};

// One normal per vertex: the first normal a position meets goes into its own
// vertex, each other normal into a copy. A vertex is fixed by its position
// index and normal index (its texture coordinates follow the position), so
// copies are found by hashing that pair: linear however many normals share a
// position.
class VertexSplitter {
public:
    VertexSplitter(MeshGeometry& geo, const std::uint8_t* normals, DWORD vertexCount, std::size_t corners)
        : geo_(geo), normals_(normals), slotNormal_(vertexCount, kNone), copies_(corners) {}

    DWORD vertexFor(DWORD pos, DWORD normal) {
        if (slotNormal_[pos] == kNone) {
            slotNormal_[pos] = normal;
            setNormal(pos, normal);
            return pos;
        }
        if (slotNormal_[pos] == normal) return pos;
        const auto copy = static_cast<DWORD>(geo_.vertexCount());
        const DWORD found = copies_.findOrAdd((std::uint64_t{pos} << 32) | normal, copy);
        if (found != copy) return found;
        const std::size_t stride = geo_.floatsPerVertex();
        float copied[8];
        std::memcpy(copied, geo_.vertex(pos), stride * sizeof(float));
        geo_.vertices.insert(geo_.vertices.end(), copied, copied + stride);
        setNormal(copy, normal);
        return copy;
    }

private:
    void setNormal(DWORD v, DWORD normal) {
        std::memcpy(geo_.vertex(v) + 3, normals_ + static_cast<std::size_t>(normal) * 12, 12);
    }

    MeshGeometry& geo_;
    const std::uint8_t* normals_;
    std::vector<DWORD> slotNormal_;
    CopyTable copies_;
};

// Positions and texture coordinates copied straight from the object's data:
// no temporary arrays for large meshes.
std::shared_ptr<MeshGeometry> newGeometry(const std::uint8_t* positions, const MeshTexCoords& texCoords,
                                          bool normals, DWORD vertexCount) {
    const DWORD fvf = D3DFVF_XYZ | (normals ? D3DFVF_NORMAL : 0) | (texCoords.present ? D3DFVF_TEX1 : 0);
    const std::uint8_t* uv = texCoords.uv;
    auto geo = std::make_shared<MeshGeometry>(fvf);
    // Every float of every vertex is written here: normals start at zero.
    geo->vertices.resize(static_cast<std::size_t>(vertexCount) * geo->floatsPerVertex());
    for (DWORD v = 0; v < vertexCount; ++v) {
        float* dst = geo->vertex(v);
        std::memcpy(dst, positions + static_cast<std::size_t>(v) * 12, 12);
        if (normals) std::fill_n(dst + geo->normalOffset(), 3, 0.0f);
        if (texCoords.present) std::memcpy(dst + geo->texOffset(), uv + static_cast<std::size_t>(v) * 8, 8);
    }
    return geo;
}

// Polygons become triangle fans, each triangle tagged with its polygon's material.
void triangulate(MeshGeometry& geo, const Polygons& faces, const MeshNormals& normals,
                 const std::vector<DWORD>& faceMaterial, DWORD vertexCount) {
    std::optional<VertexSplitter> splitter;
    if (normals.present) splitter.emplace(geo, normals.normals, vertexCount, faces.corners.size());
    geo.indices.reserve(faces.corners.size() * 3 / 2);
    std::size_t corner = 0;
    for (std::size_t f = 0; f < faces.counts.size(); ++f) {
        const DWORD k = faces.counts[f];
        const DWORD subset = faceMaterial.empty() ? 0 : faceMaterial[std::min(f, faceMaterial.size() - 1)];
        auto vert = [&](DWORD i) {
            const DWORD pos = faces.corners[corner + i];
            return splitter ? splitter->vertexFor(pos, normals.faces.corners[corner + i]) : pos;
        };
        if (k >= 3) {
            const DWORD first = vert(0);
            DWORD prev = vert(1);
            for (DWORD i = 2; i < k; ++i) {
                const DWORD cur = vert(i);
                geo.indices.insert(geo.indices.end(), {first, prev, cur});
                geo.attributes.push_back(subset);
                prev = cur;
            }
        }
        corner += k;
    }
}

}  // namespace

XMeshContent loadXMesh(const XFileData& obj) {
    if (!obj.hasTemplate("Mesh")) bad(obj, "not a Mesh object");
    XDataCursor c(obj);
    const DWORD vertexCount = c.u32();
    if (vertexCount > c.remaining() / 12) bad(obj, "vertex count is larger than the data");
    const std::uint8_t* positions = c.take(static_cast<std::size_t>(vertexCount) * 12);
    const Polygons faces = readPolygons(c, obj, vertexCount, "face");

    const MeshChildren children = findMeshChildren(obj);
    const MeshNormals normals = readNormals(children.normals, faces);
    const MeshTexCoords texCoords = readTexCoords(children.texCoords, vertexCount);
    XMeshContent out;
    const std::vector<DWORD> faceMaterial = readMaterialList(children.materials, out.materials);

    out.geometry = newGeometry(positions, texCoords, normals.present, vertexCount);
    triangulate(*out.geometry, faces, normals, faceMaterial, vertexCount);
    return out;
}

}  // namespace vantrel::engine3d
