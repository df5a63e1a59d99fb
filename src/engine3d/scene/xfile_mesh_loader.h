#pragma once
// Builds triangle geometry and the material list from a .x Mesh data object and
// its MeshNormals, MeshTextureCoords and MeshMaterialList children.

#include <memory>
#include <string>
#include <vector>

#include "engine3d/math/d3d_types.h"
#include "engine3d/scene/mesh_geometry.h"
#include "engine3d/xfile/xfile_reader.h"

namespace vantrel::engine3d {

struct XMeshMaterial {
    D3DMATERIAL8 material;  // ambient left zero: the mesh derives it
    std::string textureName;
};

struct XMeshContent {
    std::shared_ptr<MeshGeometry> geometry;
    std::vector<XMeshMaterial> materials;
};

// Polygons are split into triangle fans. Vertices are split where one position
// carries different normals on different faces. A mesh without a material list
// gets one white material. Throws XFileError for malformed data.
XMeshContent loadXMesh(const XFileData& meshObject);

// Neighbouring triangle across each edge, matched by shared corner positions.
std::vector<DWORD> computeAdjacency(const MeshGeometry& mesh);

}  // namespace vantrel::engine3d
