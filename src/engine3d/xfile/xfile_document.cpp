// Opening a .x file image: the 16-byte header, inflating compressed bodies,
// and positions for error messages.

#include <algorithm>
#include <cstring>

#include "engine3d/xfile/xfile_document.h"
#include "engine3d/xfile/xfile_error.h"
#include "engine3d/xfile/xfile_inflate.h"

namespace vantrel::engine3d {

std::string XDocument::describePosition(std::size_t offset) const { return XPositionCursor(*this).describe(offset); }

std::string XPositionCursor::describe(std::size_t offset) {
    const XDocument& d = doc_;
    if (d.binary) {
        if (d.compressed) return d.fileName + ": inflated byte " + std::to_string(offset);
        return d.fileName + ": byte " + std::to_string(offset + 16);
    }
    const std::string_view text = d.body();
    const std::size_t end = std::min(offset, text.size());
    for (; scanned_ < end; ++scanned_)
        if (text[scanned_] == '\n') {
            ++line_;
            lineStart_ = scanned_ + 1;
        }
    // The header line "xof 0303txt 0032" shares line 1 with whatever follows it.
    const std::size_t column = offset - lineStart_ + 1 + (line_ == 1 && !d.compressed ? 16 : 0);
    return d.fileName + (d.compressed ? ": inflated " : ":") + std::to_string(line_) + ":" + std::to_string(column);
}

std::shared_ptr<const XDocument> parseXFile(std::span<const std::uint8_t> bytes, std::string fileName) {
    return parseXFile(text::ByteBuffer(bytes.begin(), bytes.end()), std::move(fileName));
}

std::shared_ptr<const XDocument> parseXFile(text::ByteBuffer&& file, std::string fileName) {
    auto doc = std::make_shared<XDocument>();
    doc->fileName = std::move(fileName);
    if (file.size() < 16 || std::memcmp(file.data(), "xof ", 4) != 0)
        throw XFileError(doc->fileName + ": byte 0: not a .x file (no \"xof \" header)");
    const std::string_view header(file.data(), 16);
    const auto digits = [](std::string_view s) {
        return std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    if (!digits(header.substr(4, 4))) throw XFileError(doc->fileName + ": byte 4: bad version in the .x header");
    const std::string_view format = header.substr(8, 4);
    const std::string_view floatSize = header.substr(12, 4);
    if (format == "txt ") {
    } else if (format == "bin ") {
        doc->binary = true;
    } else if (format == "tzip") {
        doc->compressed = true;
    } else if (format == "bzip") {
        doc->binary = doc->compressed = true;
    } else {
        throw XFileError(doc->fileName + ": byte 8: unknown .x encoding '" + std::string(format) + "'");
    }
    if (floatSize == "0064") {
        doc->doubles = true;
    } else if (floatSize != "0032") {
        throw XFileError(doc->fileName + ": byte 12: float size must be 0032 or 0064");
    }
    if (doc->compressed) {
        const std::span<const std::uint8_t> body(reinterpret_cast<const std::uint8_t*>(file.data()) + 16, file.size() - 16);
        doc->source = inflateMsZip(body, doc->fileName);
        doc->bodyOffset = 0;
    } else {
        doc->source = std::move(file);
        doc->bodyOffset = 16;
    }
    // Text packs about two bytes of data per four characters; binary about one to one.
    doc->data.reserve(doc->binary ? doc->body().size() : doc->body().size() / 2);
    parseXBody(*doc);
    return doc;
}

}  // namespace vantrel::engine3d
