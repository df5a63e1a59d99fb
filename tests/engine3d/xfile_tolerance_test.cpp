// Files from other exporters: template names in any letter case, and objects
// of templates nobody declared, which are read past with a warning.

#include <string>
#include <vector>

#include "engine3d/device/recording_device.h"
#include "engine3d/scene/cd3d_frame.h"
#include "test_support.h"

namespace vantrel::engine3d {
namespace {

using namespace test;

const char* const kMaterialOf = "Material { 1;1;1;1;; 0; 0;0;0;; 0;0;0;; ";
const char* const kTriangle = "3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; ";

std::string meshWithTexture(const std::string& textureObject) {
    return std::string("Mesh m { ") + kTriangle + "MeshMaterialList { 1; 1; 0;; " + kMaterialOf + textureObject +
           " } } }\n";
}

TEST(XFileLetterCase, TemplateNamesMatchRegardlessOfCase) {
    struct Case {
        const char* what;
        std::string body;
    };
    const Case cases[] = {
        {"undeclared, exporter's spelling", meshWithTexture("TextureFileName { \"wood.bmp\"; }")},
        {"declared in the file with that spelling",
         "template TextureFileName { <A42790E1-7810-11cf-8F52-0040333594A3> STRING filename; }\n" +
             meshWithTexture("TextureFileName { \"wood.bmp\"; }")},
        {"every name in lower case", "mesh m { " + std::string(kTriangle) +
                                         "meshmateriallist { 1; 1; 0;; material { 1;1;1;1;; 0; 0;0;0;; 0;0;0;; "
                                         "texturefilename { \"wood.bmp\"; } } } }\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string file = "xof 0303txt 0032\n" + c.body;
        XFileEnumerator e = openText(file);
        const XFileData mesh = e.next();
        ASSERT_TRUE(mesh);
        EXPECT_TRUE(mesh.hasTemplate("Mesh"));
        EXPECT_EQ(mesh.templateId(), "TID_D3DRMMesh");
        const XFileData texture = mesh.child(0).child(0).child(0);
        EXPECT_TRUE(texture.hasTemplate("TextureFilename"));
        EXPECT_EQ(texture.templateId(), "TID_D3DRMTextureFilename");
        RecordingDevice dev;
        CD3DMesh loaded;
        ASSERT_TRUE(loaded.InitFromXOF(&dev, mesh));
        ASSERT_EQ(loaded.GetMaterialCount(), 1u);
        EXPECT_EQ(loaded.GetTextureName(0), "wood.bmp");
        EXPECT_TRUE(e.warnings().empty());
    }
}

TEST(XFileUnknownTemplates, ObjectsAreSkippedWholeWithAWarningAndTheRestReads) {
    const std::string text =
        "xof 0303txt 0032\n"
        "Gizmo g { 1; 2; \"}\"; Inner { 3; } { Ref } }\n"
        "Frame a {\n"
        "  Widget { <AAAAAAAA-BBBB-CCCC-DDDD-EEEEEEEEEEEE> 1.5; }\n"
        "  Frame b { }\n"
        "}\n";
    XFileEnumerator e = openText(text, "u.x");
    const XFileData a = e.next();
    ASSERT_TRUE(a);
    EXPECT_EQ(a.name(), "a");
    ASSERT_EQ(a.childCount(), 1u);
    EXPECT_EQ(a.child(0).name(), "b");
    EXPECT_FALSE(e.next());
    EXPECT_EQ(e.warnings(), (std::vector<std::string>{"u.x:2:1: unknown template 'Gizmo': object skipped",
                                                      "u.x:4:3: unknown template 'Widget': object skipped"}));

    // The binary encoding, number lists inside the skipped object included.
    BinaryXWriter w;
    w.name("Gizmo").open().ints({1, 2, 3}).floats({1.5}).name("Inner").open().close().close();
    w.name("Frame").name("after").open().close();
    const auto objects = topLevel(w.file(), "u.x");
    ASSERT_EQ(objects.size(), 1u);
    EXPECT_EQ(objects[0].name(), "after");
    XFileEnumerator binary = XFileReader().openMemory(w.file(), "u.x");
    EXPECT_EQ(binary.warnings(), (std::vector<std::string>{"u.x: byte 16: unknown template 'Gizmo': object skipped"}));
}

TEST(XFileUnknownTemplates, ManySkipsKeepTheFirstWarningsAndCountTheRest) {
    std::string text = "xof 0303txt 0032\n";
    for (int i = 0; i < 250; ++i) text += "Gizmo { }\n";
    XFileEnumerator e = openText(text, "u.x");
    EXPECT_FALSE(e.next());
    ASSERT_EQ(e.warnings().size(), 101u);
    EXPECT_EQ(e.warnings()[99], "u.x:101:1: unknown template 'Gizmo': object skipped");
    EXPECT_EQ(e.warnings()[100], "u.x: 150 more objects of unknown templates skipped");
}

}  // namespace
}  // namespace vantrel::engine3d
