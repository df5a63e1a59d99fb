#include "test_support.h"

#include <zlib.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>

namespace vantrel::engine3d::test {

std::filesystem::path sharedXFiles() { return std::filesystem::path(VANTREL_SHARED_FIXTURES) / "xfiles"; }

bool haveSharedXFiles() { return std::filesystem::is_directory(sharedXFiles()); }

std::filesystem::path testData(const std::string& name) {
    return std::filesystem::path(VANTREL_ENGINE3D_TEST_DATA) / name;
}

std::vector<std::uint8_t> readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::uint8_t> bytesOf(std::string_view text) { return std::vector<std::uint8_t>(text.begin(), text.end()); }

XFileEnumerator openText(std::string_view text, const std::string& name) {
    const auto bytes = bytesOf(text);
    return XFileReader().openMemory(bytes, name);
}

std::vector<XFileData> topLevel(std::span<const std::uint8_t> bytes, const std::string& name) {
    XFileEnumerator e = XFileReader().openMemory(bytes, name);
    std::vector<XFileData> out;
    while (XFileData d = e.next()) out.push_back(d);
    return out;
}

BinaryXWriter::BinaryXWriter(bool doubles) : doubles_(doubles) {}

void BinaryXWriter::u16(std::uint16_t v) {
    body.push_back(static_cast<std::uint8_t>(v));
    body.push_back(static_cast<std::uint8_t>(v >> 8));
}

void BinaryXWriter::u32(std::uint32_t v) {
    for (int i = 0; i < 4; ++i) body.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

BinaryXWriter& BinaryXWriter::token(std::uint16_t code) {
    u16(code);
    return *this;
}

BinaryXWriter& BinaryXWriter::name(std::string_view n) {
    u16(1);
    u32(static_cast<std::uint32_t>(n.size()));
    body.insert(body.end(), n.begin(), n.end());
    return *this;
}

BinaryXWriter& BinaryXWriter::str(std::string_view s) {
    u16(2);
    u32(static_cast<std::uint32_t>(s.size()));
    body.insert(body.end(), s.begin(), s.end());
    u16(20);
    return *this;
}

BinaryXWriter& BinaryXWriter::integer(std::uint32_t v) {
    u16(3);
    u32(v);
    return *this;
}

BinaryXWriter& BinaryXWriter::ints(const std::vector<std::uint32_t>& v) {
    u16(6);
    u32(static_cast<std::uint32_t>(v.size()));
    for (auto x : v) u32(x);
    return *this;
}

BinaryXWriter& BinaryXWriter::floats(const std::vector<double>& v) {
    u16(7);
    u32(static_cast<std::uint32_t>(v.size()));
    for (double x : v) {
        if (doubles_) {
            std::uint8_t b[8];
            std::memcpy(b, &x, 8);
            body.insert(body.end(), b, b + 8);
        } else {
            const float f = static_cast<float>(x);
            std::uint8_t b[4];
            std::memcpy(b, &f, 4);
            body.insert(body.end(), b, b + 4);
        }
    }
    return *this;
}

std::vector<std::uint8_t> BinaryXWriter::file() const {
    const std::string header = doubles_ ? "xof 0303bin 0064" : "xof 0303bin 0032";
    std::vector<std::uint8_t> out(header.size() + body.size());
    std::copy(header.begin(), header.end(), out.begin());
    std::copy(body.begin(), body.end(), out.begin() + static_cast<std::ptrdiff_t>(header.size()));
    return out;
}

std::vector<std::uint8_t> compressXFile(std::span<const std::uint8_t> plain, std::size_t blockSize) {
    std::vector<std::uint8_t> out(plain.begin(), plain.begin() + 16);
    const bool binary = std::memcmp(plain.data() + 8, "bin ", 4) == 0;
    std::memcpy(out.data() + 8, binary ? "bzip" : "tzip", 4);
    const std::uint32_t total = static_cast<std::uint32_t>(plain.size());
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(total >> (8 * i)));
    const auto body = plain.subspan(16);
    for (std::size_t pos = 0; pos < body.size(); pos += blockSize) {
        const std::size_t n = std::min(blockSize, body.size() - pos);
        z_stream z{};
        deflateInit2(&z, 9, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
        if (pos > 0) {
            const std::size_t dict = std::min<std::size_t>(pos, 32768);
            deflateSetDictionary(&z, body.data() + pos - dict, static_cast<uInt>(dict));
        }
        std::vector<std::uint8_t> packed(deflateBound(&z, static_cast<uLong>(n)) + 16);
        z.next_in = const_cast<Bytef*>(body.data() + pos);
        z.avail_in = static_cast<uInt>(n);
        z.next_out = packed.data();
        z.avail_out = static_cast<uInt>(packed.size());
        deflate(&z, Z_FINISH);
        const std::size_t packedSize = packed.size() - z.avail_out;
        deflateEnd(&z);
        const std::uint16_t raw = static_cast<std::uint16_t>(n), comp = static_cast<std::uint16_t>(packedSize + 2);
        out.push_back(static_cast<std::uint8_t>(raw));
        out.push_back(static_cast<std::uint8_t>(raw >> 8));
        out.push_back(static_cast<std::uint8_t>(comp));
        out.push_back(static_cast<std::uint8_t>(comp >> 8));
        out.push_back('C');
        out.push_back('K');
        out.insert(out.end(), packed.begin(), packed.begin() + static_cast<std::ptrdiff_t>(packedSize));
    }
    return out;
}

::testing::AssertionResult near(const D3DVECTOR& a, const D3DVECTOR& b, float eps) {
    if (std::fabs(a.x - b.x) <= eps && std::fabs(a.y - b.y) <= eps && std::fabs(a.z - b.z) <= eps)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "(" << a.x << ", " << a.y << ", " << a.z << ") != (" << b.x << ", " << b.y
                                         << ", " << b.z << ")";
}

::testing::AssertionResult near(const D3DMATRIX& a, const D3DMATRIX& b, float eps) {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            if (!(std::fabs(a(r, c) - b(r, c)) <= eps))
                return ::testing::AssertionFailure()
                       << "element _" << r + 1 << c + 1 << ": " << a(r, c) << " != " << b(r, c);
    return ::testing::AssertionSuccess();
}

D3DMATRIX matrixOf(std::initializer_list<float> rowByRow) {
    D3DMATRIX m;
    int i = 0;
    for (float v : rowByRow) {
        m.m[i / 4][i % 4] = v;
        ++i;
    }
    return m;
}

}  // namespace vantrel::engine3d::test
