// Malformed input of every kind fails with an XFileError that names the file and
// the place, and never crashes, hangs or allocates without bound.

#include <chrono>
#include <filesystem>
#include <string>
#include <utility>

#include "engine3d/xfile/xfile_inflate.h"
#include "engine3d/xfile/xfile_reader.h"
#include "model_fixture.h"
#include "test_support.h"

namespace vantrel::engine3d {
namespace {

using namespace test;

std::string errorOf(std::span<const std::uint8_t> bytes, const std::string& name = "bad.x") {
    try {
        topLevel(bytes, name);
    } catch (const XFileError& e) {
        return e.what();
    }
    return "(no error)";
}

struct TextCase {
    const char* body;  // after the header line "xof 0303txt 0032\n"
    const char* message;
};

TEST(XFileErrors, TextFaultsNameTheLineAndColumn) {
    const TextCase cases[] = {
        {"Frame a {\n", "bad.x:2:1: object Frame is missing its closing '}'"},
        {"Frame a { }\n}", "bad.x:3:1: expected a template name or 'template'"},
        {"Gizmo g { { }", "bad.x:2:1: object Gizmo is missing its closing '}'"},
        {"Vector v { 1; 2; }", "bad.x:2:18: expected a number"},
        {"Vector v { 1; 2; 3; 4; }", "bad.x:2:21: more values than template Vector holds"},
        {"MeshFace f { 1.5; }", "bad.x:2:14: expected an integer for 'nFaceVertexIndices'"},
        {"Header h { 70000; 0; 0; }", "bad.x:2:12: value does not fit 16 bits"},
        {"TextureFilename t { \"open", "bad.x:2:21: string without closing quote"},
        {"TextureFilename t { name; }", "bad.x:2:21: expected a string for 'filename'"},
        {"Frame a { { b }", "bad.x:2:1: object Frame is missing its closing '}'"},
        {"Frame a { { b c } }", "bad.x:2:15: expected '}' to close the reference"},
        {"Vector v { 1; 2; 3e99; }", "bad.x:2:18: number out of range"},
        {"template T { Gadget g; }", "bad.x:2:14: unknown type 'Gadget'"},
        {"template T { DWORD n; array DWORD v[m]; }", "bad.x:2:37: array size 'm' is not an earlier integer member"},
        {"template T { FLOAT n; array DWORD v[n]; }", "bad.x:2:37: array size 'n' is not an earlier integer member"},
        {"template T { DWORD n }", "bad.x:2:22: expected ';' after a member"},
        {"template T { DWORD n; [ ", "bad.x:2:23: restriction without closing ']'"},
        {"Vector v { 1; 2; 3; } $", "bad.x:2:23: unexpected character '$'"},
        {"template T { <abc DWORD n; }", "bad.x:2:14: GUID without closing '>'"},
        // An array claiming more elements than the file could ever hold.
        {"template T { DWORD n; array DWORD v[n]; }\nT t { 4000000000; 1; }", "bad.x:3:17: array 'v' is larger than the file"},
    };
    for (const auto& c : cases) {
        const std::string file = std::string("xof 0303txt 0032\n") + c.body;
        EXPECT_EQ(errorOf(bytesOf(file)), c.message) << c.body;
    }
}

TEST(XFileErrors, HeaderFaultsNameTheByte) {
    const TextCase cases[] = {
        {"", "bad.x: byte 0: not a .x file (no \"xof \" header)"},
        {"xof 0303txt", "bad.x: byte 0: not a .x file (no \"xof \" header)"},
        {"XOF 0303txt 0032", "bad.x: byte 0: not a .x file (no \"xof \" header)"},
        {"xof 03a3txt 0032", "bad.x: byte 4: bad version in the .x header"},
        {"xof 0303zip 0032", "bad.x: byte 8: unknown .x encoding 'zip '"},
        {"xof 0303txt 0016", "bad.x: byte 12: float size must be 0032 or 0064"},
    };
    for (const auto& c : cases) EXPECT_EQ(errorOf(bytesOf(c.body)), c.message) << c.body;
}

TEST(XFileErrors, BinaryFaultsNameTheByteOffset) {
    struct Case {
        std::vector<std::uint8_t> body;
        const char* message;
    };
    const Case cases[] = {
        {{0x01}, "bad.x: byte 16: truncated token"},
        {{0x63, 0x00}, "bad.x: byte 16: unknown binary token 99"},
        {{0x01, 0x00, 0xFF, 0xFF, 0xFF, 0x7F, 'a'}, "bad.x: byte 16: token runs past the end of the data"},
        {{0x06, 0x00, 0x10, 0x00, 0x00, 0x00, 1, 0, 0, 0}, "bad.x: byte 16: number list runs past the end of the data"},
        {{0x02, 0x00, 0x01, 0x00, 0x00, 0x00, 'a', 0x0A, 0x00}, "bad.x: byte 16: string without ';' or ',' terminator"},
    };
    for (const auto& c : cases) {
        std::vector<std::uint8_t> file = bytesOf("xof 0303bin 0032");
        file.insert(file.end(), c.body.begin(), c.body.end());
        EXPECT_EQ(errorOf(file), c.message);
    }
    // A float where the template wants an integer.
    BinaryXWriter w;
    w.name("MeshFace").open().floats({3}).close();
    EXPECT_EQ(errorOf(w.file()), "bad.x: byte 38: expected an integer for 'nFaceVertexIndices'");
}

std::vector<std::uint8_t> compressedWith(std::vector<std::uint8_t> afterHeader) {
    std::vector<std::uint8_t> file = bytesOf("xof 0303tzip0032");
    file.insert(file.end(), afterHeader.begin(), afterHeader.end());
    return file;
}

TEST(XFileErrors, CompressedFaultsNameTheByteAndNeverTrustTheSizeClaim) {
    const auto good = compressXFile(bytesOf("xof 0303txt 0032\nVector v { 1; 2; 3; }\n"));
    auto corrupt = good;
    corrupt[26] ^= 0xFF;  // first deflate byte
    auto wrongTotal = good;
    wrongTotal[16] += 1;
    auto noSignature = good;
    noSignature[24] = 'X';
    auto truncated = good;
    truncated.resize(truncated.size() - 3);
    struct Case {
        const char* what;
        std::vector<std::uint8_t> file;
        const char* message;
    };
    const Case cases[] = {
        {"no size", compressedWith({1, 0}), "bad.x: byte 16: compressed file ends before its size field"},
        {"size below header", compressedWith({4, 0, 0, 0}), "bad.x: byte 16: compressed size field is smaller than the header"},
        {"4 GiB claim", compressedWith({0xFF, 0xFF, 0xFF, 0xFF, 1, 0, 5, 0, 'C', 'K'}),
         "bad.x: byte 16: compressed file claims more than 256 MiB of data"},
        {"short block header", compressedWith({0x20, 0, 0, 0, 1, 0}), "bad.x: byte 20: truncated compressed block header"},
        {"block past end", compressedWith({0x20, 0, 0, 0, 4, 0, 0x40, 0, 'C', 'K', 1}),
         "bad.x: byte 20: compressed block runs past the end of the file"},
        {"more than declared", compressedWith({0x11, 0, 0, 0, 4, 0, 3, 0, 'C', 'K', 0}),
         "bad.x: byte 20: compressed blocks inflate to more than the declared size"},
        {"corrupt deflate", corrupt, nullptr},
        {"wrong total", wrongTotal, nullptr},
        {"no CK", noSignature, "bad.x: byte 24: compressed block lacks the CK signature"},
        {"truncated", truncated, "bad.x: byte 20: compressed block runs past the end of the file"},
    };
    for (const auto& c : cases) {
        const std::string message = errorOf(c.file);
        if (c.message) {
            EXPECT_EQ(message, c.message) << c.what;
        } else {
            EXPECT_EQ(message.rfind("bad.x: byte ", 0), 0u) << c.what << ": " << message;
        }
    }
}

TEST(XFileErrors, EveryTruncationOfValidFilesFailsCleanly) {
    const std::vector<std::uint8_t> files[] = {
        readBytes(testData("scene.x")),
        binaryModel(false),
        compressXFile(binaryModel(true), 64),
    };
    for (const auto& whole : files) {
        ASSERT_GT(whole.size(), 16u);
        // Cuts in the header, in tokens and in compressed blocks.
        for (std::size_t n = 0; n < whole.size(); ++n) {
            const std::span<const std::uint8_t> part(whole.data(), n);
            try {
                topLevel(part);
            } catch (const XFileError&) {
            }
        }
    }
    SUCCEED();
}

TEST(XFileErrors, DeepNestingAndRepetitionAreRefused) {
    std::string deep = "xof 0303txt 0032\n";
    for (int i = 0; i < 500; ++i) deep += "Frame {";
    EXPECT_EQ(errorOf(bytesOf(deep)), "bad.x:2:897: objects nested too deeply");
    // Arrays of a template without data would loop without consuming input.
    const std::string empty =
        "xof 0303txt 0032\ntemplate E { }\ntemplate R { array E e[1000000][1000000]; }\nR r { }\n";
    EXPECT_EQ(errorOf(bytesOf(empty)), "bad.x:4:7: array 'e' is larger than the file");
}

// template E { }, then A1 with 64 members of E, A2 with 64 of A1 ... and one
// object of the last: a few kilobytes that expand 64^levels times.
std::string nestedTemplates(int levels) {
    std::string file = "xof 0303txt 0032\ntemplate E { }\n";
    std::string below = "E";
    for (int level = 1; level <= levels; ++level) {
        const std::string name = "A" + std::to_string(level);
        file += "template " + name + " {";
        for (int m = 0; m < 64; ++m) file += " " + below + " m" + std::to_string(m) + ";";
        file += " }\n";
        below = name;
    }
    return file + below + " top { }\n";
}

TEST(XFileErrors, NestedTemplatesThatMultiplyFailFastNamingTheTemplate) {
    for (int levels : {5, 30}) {
        const std::string file = nestedTemplates(levels);
        const int line = levels + 3;
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(errorOf(bytesOf(file)), "bad.x:" + std::to_string(line) + ":1: template A" +
                                              std::to_string(levels) + " expands to more data than the file can hold");
        const auto took = std::chrono::steady_clock::now() - start;
        EXPECT_LT(took, std::chrono::milliseconds(500)) << levels << " levels";
    }
    // Two levels stay within what a file of this size may cost, and read.
    const auto two = topLevel(bytesOf(nestedTemplates(2)));
    ASSERT_EQ(two.size(), 1u);
    EXPECT_EQ(two[0].templateName(), "A2");
    EXPECT_TRUE(two[0].data().empty());
}

TEST(XFileErrors, PathsThatAreNotReadableFilesAreErrors) {
    const std::pair<std::string, std::string> cases[] = {
        {"/nonexistent/none.x", "/nonexistent/none.x: cannot open the file"},
        {std::filesystem::temp_directory_path().string(),
         std::filesystem::temp_directory_path().string() + ": is a folder, not a file"},
        {"/dev/null", "/dev/null: is not a regular file"},
    };
    for (const auto& [path, message] : cases) {
        try {
            XFileReader().open(path);
            ADD_FAILURE() << "no error for " << path;
        } catch (const XFileError& e) {
            EXPECT_EQ(e.what(), message);
        }
    }
}

}  // namespace
}  // namespace vantrel::engine3d
