#pragma once
// Inflates the body of a compressed .x file ("tzip"/"bzip"): a 32-bit total
// size, then MSZIP blocks. Every block after the first continues the deflate
// stream of the one before, so it is inflated with the previous 32 KiB of
// output as its dictionary.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "text/byte_buffer.h"

namespace vantrel::engine3d {

// Decompressed output is capped so a tiny file cannot claim gigabytes.
inline constexpr std::size_t kMaxInflatedSize = 256u * 1024u * 1024u;

// body: the bytes after the 16-byte header. Throws XFileError naming fileName
// and the byte offset (counted from the start of the file) of the fault.
text::ByteBuffer inflateMsZip(std::span<const std::uint8_t> body, const std::string& fileName);

}  // namespace vantrel::engine3d
