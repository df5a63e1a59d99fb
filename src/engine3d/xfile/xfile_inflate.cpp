#include "engine3d/xfile/xfile_inflate.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "engine3d/xfile/xfile_error.h"

namespace vantrel::engine3d {
namespace {

constexpr std::size_t kHeaderSize = 16;
constexpr std::size_t kWindow = 32768;

[[noreturn]] void fail(const std::string& file, std::size_t offset, const std::string& what) {
    throw XFileError(file + ": byte " + std::to_string(offset + kHeaderSize) + ": " + what);
}

std::uint16_t u16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
std::uint32_t u32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

struct InflateStream {
    z_stream z{};
    InflateStream() {
        if (inflateInit2(&z, -MAX_WBITS) != Z_OK) throw XFileError("zlib could not be initialised");
    }
    ~InflateStream() { inflateEnd(&z); }
    InflateStream(const InflateStream&) = delete;
    InflateStream& operator=(const InflateStream&) = delete;
};

}  // namespace

text::ByteBuffer inflateMsZip(std::span<const std::uint8_t> body, const std::string& fileName) {
    if (body.size() < 4) fail(fileName, 0, "compressed file ends before its size field");
    const std::uint32_t declared = u32(body.data());
    // The size field counts the 16 header bytes as well.
    if (declared < kHeaderSize) fail(fileName, 0, "compressed size field is smaller than the header");
    const std::size_t expected = declared - kHeaderSize;
    if (expected > kMaxInflatedSize) fail(fileName, 0, "compressed file claims more than 256 MiB of data");

    text::ByteBuffer out;
    // Deflate cannot expand more than about 1032:1, so never trust the claim alone.
    out.reserve(std::min(expected, body.size() * 1032));
    InflateStream stream;
    std::size_t pos = 4;
    bool first = true;
    while (pos < body.size()) {
        const std::size_t blockStart = pos;
        if (body.size() - pos < 6) fail(fileName, pos, "truncated compressed block header");
        const std::size_t rawSize = u16(body.data() + pos);
        const std::size_t packedSize = u16(body.data() + pos + 2);
        if (packedSize < 2) fail(fileName, pos, "compressed block shorter than its signature");
        if (body[pos + 4] != 'C' || body[pos + 5] != 'K') fail(fileName, pos + 4, "compressed block lacks the CK signature");
        pos += 6;
        const std::size_t deflateSize = packedSize - 2;
        if (deflateSize > body.size() - pos) fail(fileName, blockStart, "compressed block runs past the end of the file");
        if (rawSize > expected - std::min(expected, out.size()))
            fail(fileName, blockStart, "compressed blocks inflate to more than the declared size");

        if (inflateReset(&stream.z) != Z_OK) fail(fileName, blockStart, "zlib reset failed");
        if (!first && !out.empty()) {
            const std::size_t dict = std::min(out.size(), kWindow);
            if (inflateSetDictionary(&stream.z, reinterpret_cast<const Bytef*>(out.data() + out.size() - dict),
                                     static_cast<uInt>(dict)) != Z_OK)
                fail(fileName, blockStart, "zlib rejected the previous block as dictionary");
        }
        const std::size_t before = out.size();
        out.resize(before + rawSize);
        stream.z.next_in = const_cast<Bytef*>(body.data() + pos);
        stream.z.avail_in = static_cast<uInt>(deflateSize);
        stream.z.next_out = reinterpret_cast<Bytef*>(out.data() + before);
        stream.z.avail_out = static_cast<uInt>(rawSize);
        const int rc = inflate(&stream.z, Z_FINISH);
        if (rc != Z_STREAM_END && !(rc == Z_BUF_ERROR && stream.z.avail_out == 0 && rawSize == 0)) {
            if (rc == Z_OK || rc == Z_BUF_ERROR) {
                if (stream.z.avail_out == 0)
                    fail(fileName, blockStart, "compressed block inflates to more than its stated size");
                fail(fileName, blockStart, "compressed block ends early");
            }
            fail(fileName, blockStart,
                 std::string("corrupt compressed block (") + (stream.z.msg ? stream.z.msg : "zlib error") + ")");
        }
        if (stream.z.avail_out != 0) fail(fileName, blockStart, "compressed block inflates to less than its stated size");
        pos += deflateSize;
        first = false;
    }
    if (out.size() != expected)
        fail(fileName, pos, "compressed data holds " + std::to_string(out.size()) + " bytes, the header says " +
                                std::to_string(expected));
    return out;
}

}  // namespace vantrel::engine3d
