// Binary and compressed encodings give exactly the objects and bytes of the
// text encoding.

#include <cstring>

#include "engine3d/xfile/xfile_reader.h"
#include "model_fixture.h"
#include "test_support.h"

namespace vantrel::engine3d {
namespace {

using namespace test;

void expectSameTree(const XFileData& a, const XFileData& b) {
    EXPECT_EQ(a.name(), b.name());
    EXPECT_EQ(a.templateId(), b.templateId());
    EXPECT_EQ(a.isReference(), b.isReference());
    ASSERT_EQ(a.data().size(), b.data().size()) << a.templateId() << " " << a.name();
    EXPECT_EQ(std::memcmp(a.data().data(), b.data().data(), a.data().size()), 0) << a.templateId();
    ASSERT_EQ(a.childCount(), b.childCount());
    for (std::size_t i = 0; i < a.childCount(); ++i) expectSameTree(a.child(i), b.child(i));
}

void expectSameFile(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b) {
    const auto x = topLevel(a), y = topLevel(b);
    ASSERT_EQ(x.size(), y.size());
    for (std::size_t i = 0; i < x.size(); ++i) expectSameTree(x[i], y[i]);
}

TEST(XFileBinary, BinaryModelMatchesTextModelWithBothFloatSizes) {
    const auto text = readBytes(testData("model.x"));
    ASSERT_FALSE(text.empty());
    expectSameFile(text, binaryModel(false));
    expectSameFile(text, binaryModel(true));
}

TEST(XFileBinary, TemplatesDeclaredInBinaryAreUsedForLaterData) {
    BinaryXWriter w;
    w.token(31).name("Pair").open().token(5);  // template Pair { <guid>
    w.body.insert(w.body.end(), 16, 0xAB);
    w.token(41).name("a").token(20);                                           // DWORD a;
    w.token(52).token(42).name("v").token(14).integer(2).token(15).token(20);  // array FLOAT v[2];
    w.token(14).token(18).token(18).token(18).token(15);                       // [...]
    w.close();
    w.name("Pair").name("p").open().ints({7}).floats({1.5, 2.5}).close();
    const auto objs = topLevel(w.file());
    ASSERT_EQ(objs.size(), 1u);
    EXPECT_EQ(objs[0].templateId(), "TID_Pair");
    ASSERT_EQ(objs[0].data().size(), 12u);
    float v[2];
    std::memcpy(v, objs[0].data().data() + 4, 8);
    EXPECT_EQ(v[0], 1.5f);
    EXPECT_EQ(v[1], 2.5f);
}

TEST(XFileBinary, NumberListsMaySpanMembersAndObjectsMayReferenceOthers) {
    BinaryXWriter w;
    // One integer list feeds nFaceVertexIndices and the indices of two faces.
    w.name("Mesh").name("m").open().ints({3}).floats({0, 0, 0, 1, 0, 0, 0, 1, 0}).ints({2, 3, 0, 1, 2, 3, 2, 1, 0});
    w.open().name("m").close();  // a reference to itself is still just a reference
    w.close();
    const auto objs = topLevel(w.file());
    ASSERT_EQ(objs.size(), 1u);
    EXPECT_EQ(objs[0].data().size(), 4u + 36 + 4 + 2 * 16);
    ASSERT_EQ(objs[0].childCount(), 1u);
    EXPECT_TRUE(objs[0].child(0).isReference());
    EXPECT_EQ(objs[0].child(0).resolve().name(), "m");
}

struct BlockCase {
    const char* what;
    std::size_t blockSize;
};

TEST(XFileCompressed, CompressedCopiesReadLikeTheirPlainFilesForEveryBlockSize) {
    const auto text = readBytes(testData("scene.x"));
    const auto binary = binaryModel(false);
    // Small blocks make every block lean on the previous one's window.
    const BlockCase cases[] = {{"one block", 32768}, {"many blocks", 64}, {"tiny blocks", 7}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto tzip = compressXFile(text, c.blockSize);
        ASSERT_EQ(std::string(tzip.begin() + 8, tzip.begin() + 12), "tzip");
        expectSameFile(text, tzip);
        const auto bzip = compressXFile(binary, c.blockSize);
        ASSERT_EQ(std::string(bzip.begin() + 8, bzip.begin() + 12), "bzip");
        expectSameFile(binary, bzip);
    }
}

TEST(XFileCompressed, TextErrorsInsideCompressedFilesReportLineAndColumnOfTheInflatedText) {
    const auto plain = bytesOf("xof 0303txt 0032\nFrame a {\n  Vector v { 1; 2; x; }\n}\n");
    const auto tzip = compressXFile(plain, 8);
    try {
        topLevel(tzip, "c.x");
        FAIL() << "no error";
    } catch (const XFileError& e) {
        EXPECT_STREQ(e.what(), "c.x: inflated 3:20: expected a number");
    }
}

}  // namespace
}  // namespace vantrel::engine3d
