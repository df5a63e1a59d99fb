// Meshes: building geometry and materials from Mesh objects, textures through
// the cache, and the geometry operations.

#include <algorithm>
#include <cmath>
#include <tuple>
#include <filesystem>
#include <fstream>

#include "engine3d/scene/cd3d_frame.h"
#include "engine3d/engine3d_error.h"
#include "engine3d/device/recording_device.h"
#include "scene_builders.h"
#include "test_support.h"

namespace vantrel::engine3d {
namespace {

using namespace test;

MeshPtr loadMesh(RenderDevice& dev, const std::string& text) {
    XFileEnumerator e = openText(text, "m.x");
    auto m = std::make_shared<CD3DMesh>();
    m->InitFromXOF(&dev, e.next());
    return m;
}

TEST(CD3DMeshLoading, PolygonsSplitIntoTrianglesAndVerticesSplitWhereNormalsDiffer) {
    RecordingDevice dev;
    XFileEnumerator e = XFileReader().open(testData("scene.x").string());
    e.next();  // Material Red
    const XFileData panel = e.next().child(1);
    CD3DMesh mesh;
    ASSERT_TRUE(mesh.InitFromXOF(&dev, panel));
    EXPECT_EQ(mesh.ObjectName, "Panel");
    const MeshGeometry& g = *mesh.mesh;
    EXPECT_EQ(g.fvf(), D3DFVF_VERTEX);
    EXPECT_EQ(g.faceCount(), 3u);
    EXPECT_EQ(g.attributes, (std::vector<DWORD>{0, 0, 1}));
    // Corners 1 and 2 are shared by faces with different normals: two copies.
    ASSERT_EQ(g.vertexCount(), 7u);
    for (std::size_t f = 0; f < 3; ++f) {
        const float expectedZ = f < 2 ? -1.0f : 1.0f;
        for (int k = 0; k < 3; ++k) EXPECT_EQ(g.vertex(g.indices[f * 3 + k])[5], expectedZ) << f;
    }
    // The quad 0,3,2,1 became the fan (0,3,2), (0,2,1).
    EXPECT_TRUE(near(g.position(g.indices[1]), {0, 1, 0}));
    EXPECT_TRUE(near(g.position(g.indices[5]), {1, 0, 0}));
    // Texture coordinates follow their position into the copies.
    const float* copy = g.vertex(g.indices[8]);
    EXPECT_EQ(copy[6], 2.0f);
    EXPECT_EQ(copy[7], 1.0f);
    EXPECT_EQ(g.vertex(g.indices[7])[6], 1.0f);
    EXPECT_EQ(g.vertex(g.indices[7])[7], 0.0f);

    ASSERT_EQ(mesh.GetMaterialCount(), 2u);
    EXPECT_EQ(mesh.GetMaterial(0).Diffuse, (D3DCOLORVALUE{1, 0, 0, 1}));
    EXPECT_EQ(mesh.GetMaterial(0).Power, 20.0f);
    EXPECT_EQ(mesh.GetMaterial(0).Specular, (D3DCOLORVALUE{0.5f, 0.5f, 0.5f, 0}));
    EXPECT_EQ(mesh.GetMaterial(1).Emissive, (D3DCOLORVALUE{0.1f, 0.2f, 0.3f, 0}));
    for (DWORD i = 0; i < 2; ++i) EXPECT_EQ(mesh.GetMaterial(i).Ambient, mesh.GetMaterial(i).Diffuse);
    EXPECT_EQ(mesh.GetTextureName(0), "red.bmp");
    EXPECT_EQ(mesh.GetTextureName(1), "");
    EXPECT_EQ(mesh.GetMaterialTexture(0), nullptr);  // no such image here
    EXPECT_TRUE(mesh.UseMaterials);
    // The two triangles of the quad are neighbours; the third touches them by position.
    const auto& adj = mesh.Adjacency();
    ASSERT_EQ(adj.size(), 9u);
    EXPECT_EQ(adj[2], 1u);  // edge (2,0) of the first triangle
    EXPECT_EQ(adj[3], 0u);
    EXPECT_EQ(adj[4], 2u);  // edge (2,1) of the second triangle meets the third
    EXPECT_EQ(adj[6], 1u);
    EXPECT_EQ(adj[5], 0xFFFFFFFFu);
}

TEST(CD3DMeshLoading, MaterialListRulesForShortIndexListsAndMissingLists) {
    RecordingDevice dev;
    auto shortList = loadMesh(dev, R"(xof 0303txt 0032
Mesh { 4; 0;0;0;, 1;0;0;, 1;1;0;, 0;1;0;; 3; 3;0,1,2;, 3;0,2,3;, 3;1,2,3;;
  MeshMaterialList { 2; 2; 1, 0;;
    Material { 1;1;1;1;; 0; 0;0;0;; 0;0;0;; }
    Material { 0;0;1;0.5;; 0; 0;0;0;; 0;0;0;; } } })");
    EXPECT_EQ(shortList->mesh->attributes, (std::vector<DWORD>{1, 0, 0}));
    EXPECT_EQ(shortList->mesh->fvf(), D3DFVF_XYZ);

    auto bare = loadMesh(dev, "xof 0303txt 0032\nMesh plain { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; }");
    ASSERT_EQ(bare->GetMaterialCount(), 1u);
    EXPECT_EQ(bare->GetMaterial(0).Diffuse, (D3DCOLORVALUE{1, 1, 1, 1}));
    EXPECT_EQ(bare->GetMaterial(0).Ambient, bare->GetMaterial(0).Diffuse);
}

TEST(CD3DMeshLoading, EmptyNormalAndTextureCoordinateListsCountAsAbsent) {
    RecordingDevice dev;
    auto m = loadMesh(dev, "xof 0303txt 0032\nMesh { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;;\n"
                           " MeshNormals { 0;; 0;; } MeshTextureCoords { 0;; } }");
    EXPECT_EQ(m->mesh->fvf(), D3DFVF_XYZ);
    EXPECT_EQ(m->mesh->vertexCount(), 3u);
}

TEST(CD3DMeshLoading, InconsistentMeshDataIsAnErrorWithThePosition) {
    struct Case {
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {"Mesh { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,3;; }", "m.x:2:1: face 0 uses index 3 of 3"},
        {"Mesh { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;;\n MeshNormals { 1; 0;0;1;; 1; 4;0,0,0,0;; } }",
         "m.x:3:2: MeshNormals faces do not match the Mesh faces"},
        {"Mesh { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;;\n MeshTextureCoords { 2; 0;0;, 1;1;; } }",
         "m.x:3:2: fewer texture coordinates than vertices"},
        {"Mesh { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;;\n MeshMaterialList { 2; 1; 0;; Material { 1;1;1;1;; 0; 0;0;0;; 0;0;0;; } } }",
         "m.x:3:2: MeshMaterialList names 2 materials but holds 1"},
        {"template Mesh { DWORD nVertices; array Vector v[nVertices]; }\nMesh { 1; 0;0;0;; }", "m.x:3:1: Mesh data ends early"},
        {"Frame { }", "m.x:2:1: not a Mesh object"},
    };
    RecordingDevice dev;
    for (const auto& c : cases) {
        try {
            loadMesh(dev, std::string("xof 0303txt 0032\n") + c.text);
            ADD_FAILURE() << "no error for " << c.text;
        } catch (const XFileError& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
    }
    CD3DMesh m;
    EXPECT_THROW(m.InitFromXOF(nullptr, openText("xof 0303txt 0032\nMesh { 0; 0; }").next()), Engine3dError);
}

TEST(CD3DMeshLoading, TexturesAreSharedThroughTheCacheAndMissingOnesLeaveNone) {
    const auto dir = std::filesystem::temp_directory_path() / "e3d_textures";
    std::filesystem::create_directories(dir);
    const auto image = dir / "wood.bmp";
    std::ofstream(image) << "BM-not-decoded-here";
    const std::string material = "Material { 1;1;1;1;; 0; 0;0;0;; 0;0;0;; TextureFilename { \"" + image.string() +
                                 "\"; } }\nMaterial { 1;1;1;1;; 0; 0;0;0;; 0;0;0;; TextureFilename { \"" +
                                 (dir / "gone.bmp").string() + "\"; } }";
    const std::string mesh = "Mesh { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; MeshMaterialList { 2; 1; 0;; " +
                             material + " } }";
    RecordingDevice dev;
    auto first = loadMesh(dev, "xof 0303txt 0032\n" + mesh);
    auto second = loadMesh(dev, "xof 0303txt 0032\n" + mesh);
    EXPECT_EQ(dev.textureLoads(), 1);
    ASSERT_NE(first->GetMaterialTexture(0), nullptr);
    EXPECT_EQ(first->GetMaterialTexture(0), second->GetMaterialTexture(0));
    EXPECT_EQ(first->GetMaterialTexture(1), nullptr);
    // Drawn with its colour and no texture.
    dev.clearCalls();
    first->SetMaterial(0, materialWithAlpha(0.5f));
    first->RenderEx(dev, true, false);
    const auto draws = dev.callsOf(DeviceCallKind::DrawSubset);
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(draws[0].a, 1u);
    EXPECT_EQ(draws[0].texture, nullptr);
    std::filesystem::remove_all(dir);
}

TEST(CD3DMeshLoading, InitFromFileGathersEveryMeshOfTheFileIntoOne) {
    RecordingDevice dev;
    CD3DMesh m;
    ASSERT_TRUE(m.InitFromFile(&dev, testData("scene.x").string()));
    EXPECT_EQ(m.mesh->faceCount(), 4u);
    EXPECT_EQ(m.GetMaterialCount(), 3u);
    EXPECT_EQ(m.mesh->attributes, (std::vector<DWORD>{0, 0, 1, 2}));
    EXPECT_EQ(m.ObjectName, "Panel");
}

TEST(CD3DMeshMaterials, AccessorsCheckTheIndexAndCountChangesKeepEntries) {
    auto m = meshWithMaterials(squares(0, {0}), {0.5f});
    EXPECT_THROW(m->GetMaterial(1), Engine3dError);
    EXPECT_THROW(m->SetMaterial(1, {}), Engine3dError);
    EXPECT_THROW(m->GetMaterialTexture(1), Engine3dError);
    EXPECT_THROW(m->SetMaterialTexture(1, nullptr), Engine3dError);
    m->SetMaterialCount(3);
    EXPECT_EQ(m->GetMaterial(0).Diffuse.a, 0.5f);
    EXPECT_EQ(m->GetMaterialCount(), 3u);
    m->Destroy();
    EXPECT_EQ(m->GetMaterialCount(), 0u);
    EXPECT_EQ(m->mesh, nullptr);
    EXPECT_TRUE(m->UseMaterials);
}

TEST(CD3DMeshGeometry, NormalsFlipOnlyInTheFullVertexFormat) {
    auto m = meshWithMaterials(squares(0, {0}), {1.0f});
    m->ComputeNormals();  // adds normals: the square faces -z
    EXPECT_EQ(m->mesh->fvf(), D3DFVF_XYZ | D3DFVF_NORMAL);
    EXPECT_TRUE(near(D3DVECTOR{m->mesh->vertex(0)[3], m->mesh->vertex(0)[4], m->mesh->vertex(0)[5]}, {0, 0, -1}));
    m->FlipNormals();  // no texture coordinates: unchanged
    EXPECT_EQ(m->mesh->vertex(0)[5], -1.0f);
    m->Translate(1, 1, 1);
    EXPECT_TRUE(near(m->mesh->position(0), {-0.5f, -0.5f, 0}));
    m->SetFVF(nullptr, D3DFVF_VERTEX);
    EXPECT_EQ(m->mesh->vertex(0)[5], -1.0f);  // kept through the conversion
    m->FlipNormals();
    EXPECT_EQ(m->mesh->vertex(0)[5], 1.0f);
    m->Translate(1, 2, 3);
    D3DVECTOR lo, hi;
    m->GetLocalBox(lo, hi);
    EXPECT_TRUE(near(lo, {0.5f, 1.5f, 3}));
    EXPECT_TRUE(near(hi, {1.5f, 2.5f, 3}));
    EXPECT_THROW(m->SetFVF(nullptr, D3DFVF_NORMAL), Engine3dError);
}

TEST(CD3DMeshGeometry, BoundingSphereCoversEveryVertex) {
    auto m = meshWithMaterials(squares(4, {0, 0}), {1.0f});
    EXPECT_FALSE(m->HasSphere);
    m->ComputeBoundingVolumes();
    EXPECT_TRUE(m->HasSphere);
    EXPECT_TRUE(near(m->SphereCenter(), {0.5f, 0, 4}));
    EXPECT_NEAR(m->SphereRadius, std::sqrt(1.25f), 1e-5f);
}

TEST(CD3DMeshGeometry, OptimizeGroupsFacesBySubsetAndKeepsTheSameTriangles) {
    auto g = squares(0, {2, 0, 1, 0});
    g->vertices.insert(g->vertices.end(), {9, 9, 9});  // unused vertex
    auto m = meshWithMaterials(g, {1, 1, 1});
    auto triangles = [](const MeshGeometry& geo) {
        std::vector<std::tuple<DWORD, float, float, float>> out;
        for (std::size_t f = 0; f < geo.faceCount(); ++f)
            for (int k = 0; k < 3; ++k) {
                const D3DVECTOR p = geo.position(geo.indices[f * 3 + k]);
                out.emplace_back(geo.attributes[f], p.x, p.y, p.z);
            }
        std::sort(out.begin(), out.end());
        return out;
    };
    const auto before = triangles(*m->mesh);
    m->Optimize();
    EXPECT_EQ(m->mesh->attributes, (std::vector<DWORD>{0, 0, 0, 0, 1, 1, 2, 2}));
    EXPECT_EQ(triangles(*m->mesh), before);
    EXPECT_EQ(m->mesh->vertexCount(), 16u);
    EXPECT_EQ(m->Adjacency().size(), 24u);
}

}  // namespace
}  // namespace vantrel::engine3d
