// The text encoding: grammar, separators, comments, declared templates,
// references and the bytes the reader gives for each object.

#include <cstring>

#include "engine3d/xfile/xfile_reader.h"
#include "test_support.h"

namespace vantrel::engine3d {
namespace {

using test::bytesOf;
using test::topLevel;

std::vector<std::uint32_t> u32s(std::span<const std::uint8_t> d) {
    std::vector<std::uint32_t> out(d.size() / 4);
    std::memcpy(out.data(), d.data(), out.size() * 4);
    return out;
}

std::vector<float> f32s(std::span<const std::uint8_t> d) {
    std::vector<float> out(d.size() / 4);
    std::memcpy(out.data(), d.data(), out.size() * 4);
    return out;
}

TEST(XFileText, DeclaredTemplateWithNestedMembersAndTwoDimensionalArrayPacksBytesInOrder) {
    const auto objs = topLevel(bytesOf(R"(xof 0303txt 0032
template Grid {
  <11111111-2222-3333-4444-555555555555>
  WORD rows;
  DWORD cols;
  array DWORD cells[rows][cols];
  Coords2d origin;
  STRING label;
  UCHAR flag;
}
Grid g1 { 2; 3; 1, 2, 3, 4, 5, 6; 0.5; 0.25;; "hi there"; 255; }
)"));
    ASSERT_EQ(objs.size(), 1u);
    EXPECT_EQ(objs[0].name(), "g1");
    EXPECT_EQ(objs[0].templateId(), "TID_Grid");
    const auto d = objs[0].data();
    ASSERT_EQ(d.size(), 2u + 4 + 6 * 4 + 8 + 4 + 8 + 1);
    std::uint16_t rows;
    std::memcpy(&rows, d.data(), 2);
    EXPECT_EQ(rows, 2);
    const auto ints = u32s(d.subspan(2, 28));
    EXPECT_EQ(ints, (std::vector<std::uint32_t>{3, 1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(f32s(d.subspan(30, 8)), (std::vector<float>{0.5f, 0.25f}));
    EXPECT_EQ(u32s(d.subspan(38, 4))[0], 8u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(d.data() + 42), 8), "hi there");
    EXPECT_EQ(d[50], 255);
}

TEST(XFileText, SeparatorsAndCommentsAreToleratedWherePeopleWriteThem) {
    // Doubled, missing and mixed separators, comments of both kinds, CR LF ends.
    const char* variants[] = {
        "xof 0303txt 0032\nVector v { 1.0; 2.0; 3.0; }\n",
        "xof 0303txt 0032\r\nVector v {1.0,2.0,3.0;;}\r\n",
        "xof 0303txt 0032\n# hash comment\nVector v { // line comment\n 1 2 3 }\n",
        "xof 0303txt 0032\nVector v\n{\n\t1.0;;; 2.0,, 3.0 ;\n} // trailing\n",
    };
    for (const char* text : variants) {
        const auto objs = topLevel(bytesOf(text));
        ASSERT_EQ(objs.size(), 1u) << text;
        EXPECT_EQ(f32s(objs[0].data()), (std::vector<float>{1, 2, 3})) << text;
    }
}

TEST(XFileText, NamesMayHoldDashesAndDotsAndObjectsMayBeUnnamed) {
    const auto objs = topLevel(bytesOf(
        "xof 0303txt 0032\nFrame mesh-guard.001 { Frame { } }\nFrame { <AAAAAAAA-BBBB-CCCC-DDDD-EEEEEEEEEEEE> }\n"));
    ASSERT_EQ(objs.size(), 2u);
    EXPECT_EQ(objs[0].name(), "mesh-guard.001");
    ASSERT_EQ(objs[0].childCount(), 1u);
    EXPECT_EQ(objs[0].child(0).name(), "");
    EXPECT_EQ(objs[1].name(), "");
}

TEST(XFileText, StandardTemplatesKeepTheirIdentifiersEvenWhenTheFileRedeclaresThem) {
    const auto objs = topLevel(bytesOf(R"(xof 0303txt 0032
template Vector { <3D82AB5E-62DA-11cf-AB39-0020AF71E433> FLOAT x; FLOAT y; FLOAT z; }
Header { 1; 0; 1; }
Frame f { FrameTransformMatrix { 1,0,0,0,0,1,0,0,0,0,1,0,0,0,0,1;; } }
AnimationSet s { Animation a { AnimationKey { 2; 0; } AnimationOptions { 1; 0; } } }
Vector v { 1; 2; 3; }
XSkinMeshHeader h { 1; 2; 3; }
)"));
    ASSERT_EQ(objs.size(), 5u);
    EXPECT_EQ(objs[0].templateId(), "TID_D3DRMHeader");
    EXPECT_EQ(objs[1].templateId(), "TID_D3DRMFrame");
    EXPECT_EQ(objs[1].child(0).templateId(), "TID_D3DRMFrameTransformMatrix");
    EXPECT_EQ(objs[2].templateId(), "TID_D3DRMAnimationSet");
    EXPECT_EQ(objs[2].child(0).templateId(), "TID_D3DRMAnimation");
    EXPECT_EQ(objs[2].child(0).child(0).templateId(), "TID_D3DRMAnimationKey");
    EXPECT_EQ(objs[2].child(0).child(1).templateId(), "TID_D3DRMAnimationOptions");
    EXPECT_EQ(objs[3].templateId(), "TID_D3DRMVector");
    EXPECT_EQ(objs[4].templateId(), "TID_XSkinMeshHeader");
}

TEST(XFileText, ReferencesResolveForwardAndBackwardAndUnknownOnesStayUnresolved) {
    const auto objs = topLevel(bytesOf(R"(xof 0303txt 0032
Material Early { 1;0;0;1;; 5; 0;0;0;; 0;0;0;; }
Frame Holder {
  { Early }
  { Late <01234567-89ab-cdef-0123-456789abcdef> }
  { Nowhere }
}
Material Late { 0;1;0;1;; 7; 0;0;0;; 0;0;0;; }
)"));
    ASSERT_EQ(objs.size(), 3u);
    const XFileData holder = objs[1];
    ASSERT_EQ(holder.childCount(), 3u);
    for (std::size_t i = 0; i < 3; ++i) EXPECT_TRUE(holder.child(i).isReference());
    EXPECT_EQ(holder.child(0).name(), "Early");
    EXPECT_EQ(holder.child(0).templateId(), "TID_D3DRMMaterial");
    EXPECT_EQ(f32s(holder.child(0).data())[4], 5.0f);
    EXPECT_EQ(f32s(holder.child(1).data())[4], 7.0f);
    EXPECT_EQ(holder.child(1).resolve().name(), "Late");
    EXPECT_FALSE(holder.child(2).resolve());
    EXPECT_EQ(holder.child(2).templateId(), "");
    EXPECT_TRUE(holder.child(2).data().empty());
    EXPECT_THROW(holder.child(3), std::out_of_range);
}

TEST(XFileText, SixtyFourBitFilesStillGiveThirtyTwoBitFloatsButDoubleMembersStayWide) {
    const auto objs = topLevel(bytesOf(R"(xof 0302txt 0064
template Wide { DOUBLE d; }
Vector v { 1.5; -2.25; 1e3; }
Wide w { 0.1; }
)"));
    ASSERT_EQ(objs.size(), 2u);
    EXPECT_EQ(f32s(objs[0].data()), (std::vector<float>{1.5f, -2.25f, 1000.0f}));
    ASSERT_EQ(objs[1].data().size(), 8u);
    double d;
    std::memcpy(&d, objs[1].data().data(), 8);
    EXPECT_EQ(d, 0.1);
}

}  // namespace
}  // namespace vantrel::engine3d
