#pragma once
// A drawable triangle mesh with its materials and textures, drawn subset by
// subset (one subset per material), opaque and transparent subsets apart.

#include <memory>
#include <string>
#include <vector>

#include "engine3d/math/d3d_types.h"
#include "engine3d/scene/material_tint.h"
#include "engine3d/scene/mesh_geometry.h"
#include "engine3d/device/render_device.h"
#include "engine3d/xfile/xfile_reader.h"

namespace vantrel::engine3d {

class CD3DMesh {
public:
    std::string ObjectName;
    std::shared_ptr<MeshGeometry> mesh;
    bool UseMaterials = false;
    bool UseMaterialOverride = false;
    bool HasSphere = false;
    float SphereRadius = 0.0f;
    const D3DVECTOR& SphereCenter() const { return sphereCenter_; }

    void Init() { UseMaterials = true; }
    // Loads a Mesh data object; textures come through the device's cache.
    // Raises XFileError for a malformed object and Engine3dError without a device.
    bool InitFromXOF(RenderDevice* dev, const XFileData& meshObject);
    // Loads every Mesh object of the file (top level or inside frames) into this
    // one mesh, each keeping its own materials.
    bool InitFromFile(RenderDevice* dev, const std::string& name);
    void InitFromD3DXMesh(std::shared_ptr<MeshGeometry> geometry);
    void Destroy();

    // With a tint, every material is drawn tinted (materials of their own or
    // the override; a mesh without materials is drawn as it is).
    void RenderEx(RenderDevice& dev, bool drawOpaqueSubsets, bool drawAlphaSubsets,
                  const MaterialTint* tint = nullptr);
    void Render(RenderDevice& dev);

    DWORD GetMaterialCount() const { return static_cast<DWORD>(materials_.size()); }
    void SetMaterialCount(DWORD n);
    const D3DMATERIAL8& GetMaterial(DWORD i) const;
    void SetMaterial(DWORD i, const D3DMATERIAL8& material);
    TexturePtr GetMaterialTexture(DWORD i) const;
    void SetMaterialTexture(DWORD i, TexturePtr texture);
    const std::string& GetTextureName(DWORD i) const;
    void SetMaterialOverride(const D3DMATERIAL8& material);
    const D3DMATERIAL8& GetMaterialOverride() const { return override_; }
    // Neighbouring face across each triangle edge (0xFFFFFFFF for none), worked
    // out on first use: only Optimize and callers who ask need it.
    const std::vector<DWORD>& Adjacency() const;

    void SetFVF(RenderDevice* dev, DWORD fvf);
    void ComputeNormals();
    void FlipNormals();
    void Translate(float x, float y, float z);
    void GetLocalBox(D3DVECTOR& minExt, D3DVECTOR& maxExt) const;
    void ComputeBoundingVolumes();
    void Optimize();

    static const char* ClassName() { return "CD3DMesh"; }
    void InvalidateDeviceObjects() {}
    void RestoreDeviceObjects(RenderDevice*) {}

private:
    void checkIndex(DWORD i) const;
    void drawSubset(RenderDevice& dev, DWORD i, const D3DMATERIAL8& material, bool textured = true);

    std::vector<D3DMATERIAL8> materials_;
    std::vector<std::string> textureNames_;
    std::vector<TexturePtr> textures_;
    D3DMATERIAL8 override_;
    mutable std::vector<DWORD> adjacency_;
    mutable std::weak_ptr<const MeshGeometry> adjacencyOf_;  // the geometry adjacency_ was made for
    D3DVECTOR sphereCenter_;
};

}  // namespace vantrel::engine3d
