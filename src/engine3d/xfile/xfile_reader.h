#pragma once
// Reading DirectX .x files: text, binary and compressed, 32- or 64-bit floats.
// Opening a file gives an enumerator over its top-level data objects in file
// order; each object has a name, a template identifier ("TID_D3DRMFrame" ...),
// child objects (references to named objects included) and its data as packed
// little-endian bytes in template order. FLOAT members always come out as 32-bit
// floats whatever the file's float size; a STRING is a 32-bit length followed by
// its bytes.

#include <cstdint>
#include <cstring>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine3d/xfile/xfile_error.h"

namespace vantrel::engine3d {

struct XDocument;

// A handle to one data object (or a reference to one) of an open file. It keeps
// the file's content alive. A default-constructed handle stands for "none".
class XFileData {
public:
    XFileData() = default;
    XFileData(std::shared_ptr<const XDocument> doc, std::uint32_t index) : doc_(std::move(doc)), index_(index) {}

    explicit operator bool() const { return doc_ != nullptr; }
    std::string_view name() const;          // empty when unnamed; the target name for a reference
    std::string templateId() const;         // of the object, or of a reference's target; empty if unresolved
    std::string_view templateName() const;  // "Frame", "Mesh", ... as the file declares it
    // Whether the object (or a reference's target) is of template name,
    // regardless of letter case.
    bool hasTemplate(std::string_view name) const;
    bool isReference() const;
    XFileData resolve() const;  // a reference's target (none if unresolved); the object itself otherwise
    std::size_t childCount() const;
    XFileData child(std::size_t i) const;  // throws std::out_of_range
    std::span<const std::uint8_t> data() const;  // of the object, or of a reference's target
    std::string position() const;                // "file:line:column" or "file: byte N"

private:
    std::shared_ptr<const XDocument> doc_;
    std::uint32_t index_ = 0;
};

class XFileEnumerator {
public:
    explicit XFileEnumerator(std::shared_ptr<const XDocument> doc) : doc_(std::move(doc)) {}
    XFileData next();  // none at the end
    const std::string& fileName() const;
    // Objects read past, each a line naming its place ("unknown template ...").
    const std::vector<std::string>& warnings() const;

private:
    std::shared_ptr<const XDocument> doc_;
    std::size_t cursor_ = 0;
};

// Opening parses and validates the whole file, so every malformed input fails
// here with an XFileError naming the file and the place.
class XFileReader {
public:
    XFileEnumerator open(const std::string& path) const;
    XFileEnumerator openMemory(std::span<const std::uint8_t> bytes, const std::string& name) const;
};

// Bounds-checked reading of an object's data bytes; a short object raises an
// XFileError at the object's position.
class XDataCursor {
public:
    explicit XDataCursor(const XFileData& object) : object_(object), bytes_(object.data()) {}
    // Inline: meshes read them by the million.
    std::uint32_t u32() {
        std::uint32_t v;
        std::memcpy(&v, take(4), 4);
        return v;
    }
    float f32() {
        float v;
        std::memcpy(&v, take(4), 4);
        return v;
    }
    std::string_view str();
    void skip(std::size_t n);
    // The next n bytes, in place.
    const std::uint8_t* take(std::size_t n) {
        if (remaining() < n) shortData();
        const std::uint8_t* p = bytes_.data() + pos_;
        pos_ += n;
        return p;
    }
    std::size_t remaining() const { return bytes_.size() - pos_; }

private:
    [[noreturn]] void shortData() const;
    const XFileData& object_;
    std::span<const std::uint8_t> bytes_;
    std::size_t pos_ = 0;
};

}  // namespace vantrel::engine3d
