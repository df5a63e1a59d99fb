#include "engine3d/xfile/xfile_reader.h"

#include <cstring>
#include <stdexcept>
#include <vector>

#include "engine3d/xfile/xfile_document.h"
#include "text/regular_file.h"

namespace vantrel::engine3d {

std::string_view XFileData::name() const { return doc_ ? doc_->nodes[index_].name : std::string_view(); }

std::string XFileData::templateId() const {
    const XFileData target = resolve();
    if (!target) return {};
    return XTemplateRegistry::identifierFor(*target.doc_->nodes[target.index_].templ);
}

std::string_view XFileData::templateName() const {
    const XFileData target = resolve();
    if (!target) return {};
    return target.doc_->nodes[target.index_].templ->name;
}

bool XFileData::hasTemplate(std::string_view name) const {
    const XFileData target = resolve();
    return target && sameTemplateName(target.doc_->nodes[target.index_].templ->name, name);
}

bool XFileData::isReference() const { return doc_ && doc_->nodes[index_].isReference; }

XFileData XFileData::resolve() const {
    if (!doc_) return {};
    const XNode& n = doc_->nodes[index_];
    if (!n.isReference) return *this;
    if (n.target == kNoObject) return {};
    return XFileData(doc_, n.target);
}

std::size_t XFileData::childCount() const {
    const XFileData target = resolve();
    return target ? target.doc_->nodes[target.index_].childCount : 0;
}

XFileData XFileData::child(std::size_t i) const {
    const XFileData target = resolve();
    if (!target || i >= target.childCount()) throw std::out_of_range("child object index out of range");
    const XNode& n = target.doc_->nodes[target.index_];
    return XFileData(doc_, doc_->childIds[n.childBegin + i]);
}

std::span<const std::uint8_t> XFileData::data() const {
    const XFileData target = resolve();
    if (!target) return {};
    const XNode& n = target.doc_->nodes[target.index_];
    return std::span<const std::uint8_t>(doc_->data.data() + n.dataOffset, n.dataSize);
}

std::string XFileData::position() const {
    if (!doc_) return {};
    return doc_->describePosition(doc_->nodes[index_].sourceOffset);
}

XFileData XFileEnumerator::next() {
    if (cursor_ >= doc_->topLevel.size()) return {};
    return XFileData(doc_, doc_->topLevel[cursor_++]);
}

const std::string& XFileEnumerator::fileName() const { return doc_->fileName; }

const std::vector<std::string>& XFileEnumerator::warnings() const { return doc_->warnings; }

XFileEnumerator XFileReader::open(const std::string& path) const {
    // Nothing the program shows comes near this; a larger file is not a model.
    constexpr std::uintmax_t kMaxBytes = std::uintmax_t{1} << 30;
    text::FileBytes file = text::readRegularFile(path, kMaxBytes);
    switch (file.check) {
        case text::FileCheck::Ok: break;
        case text::FileCheck::Missing: throw XFileError(path + ": cannot open the file");
        case text::FileCheck::TooLarge: throw XFileError(path + ": file larger than 1 GiB");
        default: throw XFileError(path + ": " + text::fileCheckText(file.check, kMaxBytes));
    }
    return XFileEnumerator(parseXFile(std::move(file.bytes), path));
}

XFileEnumerator XFileReader::openMemory(std::span<const std::uint8_t> bytes, const std::string& name) const {
    return XFileEnumerator(parseXFile(bytes, name));
}

void XDataCursor::shortData() const {
    throw XFileError(object_.position() + ": " + std::string(object_.templateName()) + " data ends early");
}

std::string_view XDataCursor::str() {
    const std::uint32_t n = u32();
    if (remaining() < n) shortData();
    std::string_view s(reinterpret_cast<const char*>(bytes_.data() + pos_), n);
    pos_ += n;
    return s;
}

void XDataCursor::skip(std::size_t n) {
    if (remaining() < n) shortData();
    pos_ += n;
}

}  // namespace vantrel::engine3d
