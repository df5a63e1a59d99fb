// Third-party .x files in every encoding load into frames with the content they
// hold. Skipped when the shared fixture folder is not there.

#include <fstream>
#include <set>

#include "engine3d/scene/cd3d_animation.h"
#include "engine3d/scene/cd3d_frame.h"
#include "engine3d/device/recording_device.h"
#include "engine3d/scene/scene_json.h"
#include "engine3d/xfile/xfile_inflate.h"
#include "test_support.h"

namespace vantrel::engine3d {
namespace {

using namespace test;

struct Totals {
    int frames = 0, meshes = 0, faces = 0, materials = 0;
    std::set<std::string> textures;
};

void addUp(const CD3DFrame& f, Totals& t) {
    for (DWORD i = 0; i < f.GetChildMeshCount(); ++i) {
        const CD3DMesh& m = *f.GetChildMesh(i);
        ++t.meshes;
        t.faces += static_cast<int>(m.mesh->faceCount());
        t.materials += static_cast<int>(m.GetMaterialCount());
        for (DWORD k = 0; k < m.GetMaterialCount(); ++k)
            if (!m.GetTextureName(k).empty()) t.textures.insert(m.GetTextureName(k));
    }
    for (DWORD i = 0; i < f.GetChildFrameCount(); ++i) {
        ++t.frames;
        addUp(*f.GetChildFrame(i), t);
    }
}

struct FixtureCase {
    const char* file;
    const char* header;
    int frames, meshes, faces, materials;
    std::set<std::string> textures;
};

class SharedXFiles : public ::testing::Test {
protected:
    void SetUp() override {
        if (!haveSharedXFiles()) GTEST_SKIP() << "no shared fixtures at " << sharedXFiles();
    }
};

TEST_F(SharedXFiles, EveryEncodingLoadsWithItsFramesMeshesFacesAndTextures) {
    const FixtureCase cases[] = {
        {"Cube.x", "xof 0303txt 0032", 1, 1, 12, 1, {}},
        {"airplane 2.x", "xof 0303txt 0032", 9, 8, 596, 8, {"bihull.bmp", "wings.bmp"}},
        {"car.x", "xof 0303txt 0032", 6, 5, 1850, 5, {}},
        {"room.x", "xof 0303txt 0032", 0, 1, 24, 3, {"misc\\\\env2.bmp", "misc\\\\ground2.bmp", "misc\\\\seafloor.bmp"}},
        {"tiny.x", "xof 0303txt 0032", 48, 1, 6841, 1, {"Tiny_skin.dds"}},
        {"heli.x", "xof 0302txt 0064", 10, 9, 793, 9, {}},
        {"lobby_skybox.x", "xof 0302txt 0064", 1, 6, 12, 6,
         {"LobbyXNeg.jpg", "LobbyXPos.jpg", "LobbyYNeg.jpg", "LobbyYPos.jpg", "LobbyZNeg.jpg", "LobbyZPos.jpg"}},
        {"tiger.x", "xof 0302txt 0064", 0, 1, 602, 1, {"tiger.bmp"}},
        {"bigship1.x", "xof 0303bin 0032", 1, 1, 8686, 5, {}},
        {"scannerarm.x", "xof 0303bin 0032", 1, 1, 6104, 1, {"scannerarm_diff.dds"}},
        {"skysphere.x", "xof 0303bin 0032", 0, 1, 760, 1, {"sky_v2b_tex.dds"}},
        {"sphere0.x", "xof 0302bin 0032", 0, 1, 108, 1, {}},
        {"teapot.x", "xof 0303bin 0032", 0, 1, 2256, 1, {}},
        {"Dwarf.x", "xof 0303bzip0032", 13, 6, 5270, 9,
         {"Armor.dds", "Body.dds", "DwarfHead.dds", "Headgear.dds", "Pack.dds", "Weapons.dds"}},
        {"cube_on_plane.x", "xof 0303bzip0032", 1, 1, 1073, 2, {}},
        {"wine_compressed_object.x", "xof 0302tzip0064", 0, 0, 0, 0, {}},
        {"wine_compressed_template.x", "xof 0302tzip0064", 0, 0, 0, 0, {}},
        {"wine_empty_tzip.x", "xof 0302tzip0064", 0, 0, 0, 0, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const auto path = sharedXFiles() / c.file;
        const auto bytes = readBytes(path);
        ASSERT_GE(bytes.size(), 16u);
        EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 16), c.header);
        RecordingDevice dev;
        auto root = CD3DFrame::Create();
        ASSERT_NO_THROW(loadXFileScene(&dev, path.string(), root));
        Totals t;
        addUp(*root, t);
        EXPECT_EQ(t.frames, c.frames);
        EXPECT_EQ(t.meshes, c.meshes);
        EXPECT_EQ(t.faces, c.faces);
        EXPECT_EQ(t.materials, c.materials);
        EXPECT_EQ(t.textures, c.textures);
    }
}

TEST_F(SharedXFiles, CompressedObjectFromAnotherWriterInflatesToItsHeader) {
    const auto objs = topLevel(readBytes(sharedXFiles() / "wine_compressed_object.x"));
    ASSERT_EQ(objs.size(), 1u);
    EXPECT_EQ(objs[0].name(), "Object");
    EXPECT_EQ(objs[0].templateId(), "TID_D3DRMHeader");
    const auto d = objs[0].data();
    ASSERT_EQ(d.size(), 8u);
    EXPECT_EQ(d[0], 1);
    EXPECT_EQ(d[2], 2);
    EXPECT_EQ(d[4], 3);
}

std::string sceneJson(std::span<const std::uint8_t> bytes, const std::string& name) {
    const auto path = std::filesystem::temp_directory_path() / name;
    {
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    RecordingDevice dev;
    auto root = CD3DFrame::Create();
    CD3DAnimation anim;
    EXPECT_NO_THROW(loadXFileScene(&dev, path.string(), root, animationSetsInto(anim, root, &dev)));
    std::filesystem::remove(path);
    return describeSceneJson(*root, &anim);
}

TEST_F(SharedXFiles, SameModelGivesTheSameSceneInEveryEncoding) {
    // A multi-block bzip file against its own inflated binary form.
    const auto bzip = readBytes(sharedXFiles() / "cube_on_plane.x");
    std::vector<std::uint8_t> bin = bytesOf("xof 0303bin 0032");
    const auto inflated = inflateMsZip(std::span(bzip).subspan(16), "cube_on_plane.x");
    bin.insert(bin.end(), inflated.begin(), inflated.end());
    EXPECT_EQ(sceneJson(bzip, "e3d_bzip.x"), sceneJson(bin, "e3d_bin.x"));
    // A large text file against tzip copies of it.
    const auto text = readBytes(sharedXFiles() / "tiny.x");
    const std::string expected = sceneJson(text, "e3d_txt.x");
    EXPECT_EQ(expected, sceneJson(compressXFile(text), "e3d_tzip.x"));
    EXPECT_EQ(expected, sceneJson(compressXFile(text, 1000), "e3d_tzip_small.x"));
}

}  // namespace
}  // namespace vantrel::engine3d
