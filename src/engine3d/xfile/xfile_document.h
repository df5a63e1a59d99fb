#pragma once
// The parsed content of one .x file: every data object in one flat table, their
// data bytes in one arena, names as views into the file's own (decompressed)
// bytes. Built once by parseXFile, then read-only and shared.

#include <cstdint>
#include <cstring>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine3d/xfile/xfile_template.h"
#include "text/large_block.h"
#include "text/byte_buffer.h"

namespace vantrel::engine3d {

inline constexpr std::uint32_t kNoObject = 0xFFFFFFFFu;

// Grows like a vector but never zero-fills: every byte is written before use.
struct XByteArena {
    XByteArena() = default;
    XByteArena(const XByteArena&) = delete;
    XByteArena& operator=(const XByteArena&) = delete;
    XByteArena(XByteArena&& o) noexcept
        : bytes(std::exchange(o.bytes, nullptr)), size(std::exchange(o.size, 0)), capacity(std::exchange(o.capacity, 0)) {}
    XByteArena& operator=(XByteArena&& o) noexcept {
        if (this != &o) {
            text::freeBlock(bytes, capacity);
            bytes = std::exchange(o.bytes, nullptr);
            size = std::exchange(o.size, 0);
            capacity = std::exchange(o.capacity, 0);
        }
        return *this;
    }
    ~XByteArena() { text::freeBlock(bytes, capacity); }
    std::uint8_t* bytes = nullptr;
    std::size_t size = 0, capacity = 0;
    const std::uint8_t* data() const { return bytes; }
    std::uint8_t* data() { return bytes; }
    void reserve(std::size_t n) {
        if (n <= capacity) return;
        auto* grown = static_cast<std::uint8_t*>(text::allocateBlock(n));
        if (size) std::memcpy(grown, bytes, size);
        text::freeBlock(bytes, capacity);
        bytes = grown;
        capacity = n;
    }
};

struct XNode {
    std::string_view name;             // object name, or the target name of a reference
    const XTemplate* templ = nullptr;  // null for a reference
    std::uint32_t dataOffset = 0, dataSize = 0;
    std::uint32_t childBegin = 0, childCount = 0;  // range in XDocument::childIds
    std::uint32_t target = kNoObject;              // a reference's resolved object
    std::uint32_t sourceOffset = 0;                // where the object starts in the file
    bool isReference = false;
};

struct XDocument {
    std::string fileName;
    text::ByteBuffer source;      // the whole file, or the inflated body of a compressed one
    std::size_t bodyOffset = 0;   // where the body starts in source
    std::string_view body() const { return {source.data() + bodyOffset, source.size() - bodyOffset}; }
    bool binary = false;
    bool compressed = false;
    bool doubles = false;  // 64-bit floats in the file
    XTemplateRegistry templates;
    std::vector<XNode> nodes;
    std::vector<std::uint32_t> childIds;
    std::vector<std::uint32_t> topLevel;
    XByteArena data;
    // What was read past rather than failed on (objects of unknown templates),
    // each with its position, in file order.
    std::vector<std::string> warnings;

    // "file:line:column" for text, "file: byte N" for binary.
    std::string describePosition(std::size_t sourceOffset) const;
};

// Describes positions given in increasing order in one pass over the text.
class XPositionCursor {
public:
    explicit XPositionCursor(const XDocument& doc) : doc_(doc) {}
    std::string describe(std::size_t sourceOffset);

private:
    const XDocument& doc_;
    std::size_t scanned_ = 0, line_ = 1, lineStart_ = 0;
};

// Parses a whole file image (header included). Throws XFileError.
std::shared_ptr<const XDocument> parseXFile(std::span<const std::uint8_t> bytes, std::string fileName);
std::shared_ptr<const XDocument> parseXFile(text::ByteBuffer&& file, std::string fileName);

// Parses doc.body() into doc's objects (the grammar; see xfile_object_grammar.cpp).
void parseXBody(XDocument& doc);

}  // namespace vantrel::engine3d
