#include "engine3d/scene/xfile_mesh_loader.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <tuple>

namespace vantrel::engine3d {
namespace {

constexpr DWORD kNone = 0xFFFFFFFFu;

[[noreturn]] void bad(const XFileData& obj, const std::string& what) {
    throw XFileError(obj.position() + ": " + what);
}

struct Polygons {
    std::vector<DWORD> counts;   // corners per polygon
    std::vector<DWORD> corners;  // all corner indices
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
        for (DWORD i = 0; i < k; ++i) {
            const DWORD idx = c.u32();
            if (idx >= limit)
                bad(obj, std::string(what) + " " + std::to_string(f) + " uses index " + std::to_string(idx) +
                             " of " + std::to_string(limit));
            p.corners.push_back(idx);
        }
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
        if (child.templateName() == "TextureFilename") {
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

XMeshContent loadXMesh(const XFileData& obj) {
    if (obj.templateName() != "Mesh") bad(obj, "not a Mesh object");
    XDataCursor c(obj);
    const DWORD vertexCount = c.u32();
    if (vertexCount > c.remaining() / 12) bad(obj, "vertex count is larger than the data");
    // Positions, normals and texture coordinates are copied straight from the
    // object's data into the vertices: no temporary arrays for large meshes.
    const std::uint8_t* positions = c.take(static_cast<std::size_t>(vertexCount) * 12);
    const Polygons faces = readPolygons(c, obj, vertexCount, "face");

    XFileData normalsObj, texObj, materialsObj;
    for (std::size_t i = 0; i < obj.childCount(); ++i) {
        const XFileData child = obj.child(i);
        const std::string_view t = child.templateName();
        if (t == "MeshNormals" && !normalsObj) normalsObj = child;
        if (t == "MeshTextureCoords" && !texObj) texObj = child;
        if (t == "MeshMaterialList" && !materialsObj) materialsObj = child;
    }

    const std::uint8_t* normals = nullptr;
    Polygons normalFaces;
    if (normalsObj) {
        XDataCursor n(normalsObj);
        const DWORD count = n.u32();
        if (count > n.remaining() / 12) bad(normalsObj, "normal count is larger than the data");
        normals = n.take(static_cast<std::size_t>(count) * 12);
        normalFaces = readPolygons(n, normalsObj, count, "normal face");
        // Some exporters write an empty list for a mesh without normals.
        if (count == 0 && normalFaces.counts.empty()) {
            normalsObj = {};
        } else if (normalFaces.counts != faces.counts) {
            bad(normalsObj, "MeshNormals faces do not match the Mesh faces");
        }
    }
    const std::uint8_t* uv = nullptr;
    if (texObj) {
        XDataCursor t(texObj);
        const DWORD count = t.u32();
        if (count > t.remaining() / 8) bad(texObj, "texture coordinate count is larger than the data");
        if (count == 0 && vertexCount > 0) {
            texObj = {};  // an empty list: no texture coordinates
        } else if (count < vertexCount) {
            bad(texObj, "fewer texture coordinates than vertices");
        } else {
            uv = t.take(static_cast<std::size_t>(vertexCount) * 8);
        }
    }

    DWORD fvf = D3DFVF_XYZ | (normalsObj ? D3DFVF_NORMAL : 0) | (texObj ? D3DFVF_TEX1 : 0);
    auto geo = std::make_shared<MeshGeometry>(fvf);
    const std::size_t stride = geo->floatsPerVertex();
    geo->vertices.assign(static_cast<std::size_t>(vertexCount) * stride, 0.0f);
    for (DWORD v = 0; v < vertexCount; ++v) {
        float* dst = geo->vertex(v);
        std::memcpy(dst, positions + static_cast<std::size_t>(v) * 12, 12);
        if (uv) std::memcpy(dst + geo->texOffset(), uv + static_cast<std::size_t>(v) * 8, 8);
    }
    // One normal per vertex; a position met with another normal gets a copy.
    std::vector<DWORD> slotNormal(normalsObj ? vertexCount : 0, kNone);
    std::vector<DWORD> nextCopy(normalsObj ? vertexCount : 0, kNone);
    auto vertexFor = [&](DWORD pos, DWORD normal) -> DWORD {
        DWORD v = pos;
        for (;;) {
            if (slotNormal[v] == kNone) {
                slotNormal[v] = normal;
                std::memcpy(geo->vertex(v) + 3, normals + static_cast<std::size_t>(normal) * 12, 12);
                return v;
            }
            if (slotNormal[v] == normal) return v;
            if (nextCopy[v] == kNone) break;
            v = nextCopy[v];
        }
        const auto copy = static_cast<DWORD>(geo->vertexCount());
        float copied[8];
        std::memcpy(copied, geo->vertex(pos), stride * sizeof(float));
        geo->vertices.insert(geo->vertices.end(), copied, copied + stride);
        std::memcpy(geo->vertex(copy) + 3, normals + static_cast<std::size_t>(normal) * 12, 12);
        slotNormal.push_back(normal);
        nextCopy.push_back(kNone);
        nextCopy[v] = copy;
        return copy;
    };

    // Material index per polygon: fewer indices than faces repeat the last one.
    std::vector<DWORD> faceMaterial;
    XMeshContent out;
    if (materialsObj) {
        XDataCursor m(materialsObj);
        const DWORD materialCount = m.u32();
        const DWORD faceMaterialCount = m.u32();
        if (faceMaterialCount > m.remaining() / 4) bad(materialsObj, "material index count is larger than the data");
        faceMaterial.resize(faceMaterialCount);
        for (DWORD& i : faceMaterial) i = m.u32();
        for (std::size_t i = 0; i < materialsObj.childCount(); ++i) {
            const XFileData child = materialsObj.child(i);
            if (child.templateName() == "Material") out.materials.push_back(readMaterial(child));
        }
        if (out.materials.size() < materialCount)
            bad(materialsObj, "MeshMaterialList names " + std::to_string(materialCount) + " materials but holds " +
                                  std::to_string(out.materials.size()));
        out.materials.resize(materialCount);
    } else {
        XMeshMaterial white;
        white.material.Diffuse = {1, 1, 1, 1};
        out.materials.push_back(white);
    }

    geo->indices.reserve(faces.corners.size() * 3 / 2);
    std::size_t corner = 0;
    for (std::size_t f = 0; f < faces.counts.size(); ++f) {
        const DWORD k = faces.counts[f];
        const DWORD subset = faceMaterial.empty() ? 0 : faceMaterial[std::min(f, faceMaterial.size() - 1)];
        auto vert = [&](DWORD i) {
            const DWORD pos = faces.corners[corner + i];
            return normalsObj ? vertexFor(pos, normalFaces.corners[corner + i]) : pos;
        };
        if (k >= 3) {
            const DWORD first = vert(0);
            DWORD prev = vert(1);
            for (DWORD i = 2; i < k; ++i) {
                const DWORD cur = vert(i);
                geo->indices.insert(geo->indices.end(), {first, prev, cur});
                geo->attributes.push_back(subset);
                prev = cur;
            }
        }
        corner += k;
    }
    out.geometry = std::move(geo);
    return out;
}

}  // namespace vantrel::engine3d
