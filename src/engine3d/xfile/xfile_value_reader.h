#pragma once
// The data half of reading an object: the values of a template's members,
// written to the document's arena as packed little-endian bytes in template
// order. Every value, array element and member expansion is charged against a
// budget set from the file's size, so that no file makes the reader work much
// longer than it takes to read it, however its templates nest.

#include <cstddef>
#include <cstdint>

#include "engine3d/xfile/xfile_document.h"
#include "engine3d/xfile/xfile_lexer.h"

namespace vantrel::engine3d {

class XValueReader {
public:
    // Units of work a file of sourceSize bytes may cost: a small multiple of its
    // size plus a fixed allowance for tiny files.
    static constexpr std::size_t budgetFor(std::size_t sourceSize) { return sourceSize * 16 + 4096; }

    XValueReader(XLexer& lex, XDocument& doc) : lex_(lex), doc_(doc), budget_(budgetFor(doc.body().size())) {}

    // Reads the values of an object of template t that starts at objectOffset.
    void readObjectData(const XTemplate& t, std::size_t objectOffset);
    // Charges n units of work; fails at offset with what when the budget is spent.
    void spend(std::size_t n, std::size_t offset, const char* what);

private:
    void readMembers(const XTemplate& t, int depth);
    void readArray(const XMember& m, std::uint64_t count, int depth);
    std::uint64_t elementCount(const XMember& m, const std::uint32_t* values);
    void spendExpansion(std::size_t n);
    std::uint32_t readValue(const XMember& m, int depth);
    std::uint32_t readTokenValue(const XMember& m);
    // The text fast path: a clean number in place, or false with nothing read.
    template <class T>
    bool putTextNumber();
    void readFloat();
    void reserveData(std::size_t n);
    template <class T>
    void put(T v);
    void putBytes(std::string_view s);
    std::uint32_t putInteger(std::int64_t v, const XMember& m, std::size_t offset);
    void skipSeparators();
    std::int64_t toInteger(const XToken& t, const XMember& m);
    template <class T>
    T toNumber(const XToken& t);

    XLexer& lex_;
    XDocument& doc_;
    std::size_t budget_;
    // The object being read, for messages.
    const XTemplate* objectTemplate_ = nullptr;
    std::size_t objectOffset_ = 0;
};

}  // namespace vantrel::engine3d
