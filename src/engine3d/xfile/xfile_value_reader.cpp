#include "engine3d/xfile/xfile_value_reader.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <limits>
#include <string>

namespace vantrel::engine3d {
namespace {

// Nesting of templates inside templates; declarations cannot form cycles, so
// this only stops long chains.
constexpr int kMaxTemplateDepth = 32;

}  // namespace

void XValueReader::spend(std::size_t n, std::size_t offset, const char* what) {
    if (n > budget_) lex_.fail(offset, what);
    budget_ -= n;
}

void XValueReader::spendExpansion(std::size_t n) {
    if (n > budget_)
        lex_.fail(objectOffset_, "template " + objectTemplate_->name + " expands to more data than the file can hold");
    budget_ -= n;
}

void XValueReader::readObjectData(const XTemplate& t, std::size_t objectOffset) {
    objectTemplate_ = &t;
    objectOffset_ = objectOffset;
    readMembers(t, 0);
}

void XValueReader::readMembers(const XTemplate& t, int depth) {
    if (depth >= kMaxTemplateDepth) lex_.fail(lex_.offset(), "template " + t.name + " nests too deeply");
    // Templates of templates multiply: every member expansion is paid for.
    spendExpansion(t.members.size());
    std::uint32_t values[XTemplate::kMaxMembers];
    for (std::size_t i = 0; i < t.members.size(); ++i) {
        const XMember& m = t.members[i];
        if (m.isArray) {
            readArray(m, elementCount(m, values), depth);
        } else {
            values[i] = readValue(m, depth);
        }
    }
}

std::uint64_t XValueReader::elementCount(const XMember& m, const std::uint32_t* values) {
    std::uint64_t count = 1;
    for (const XArrayDim& d : m.dims) {
        count *= d.memberIndex >= 0 ? values[d.memberIndex] : d.fixed;
        if (count > budget_) lex_.fail(lex_.offset(), "array '" + m.name + "' is larger than the file");
    }
    spendExpansion(static_cast<std::size_t>(count));
    return count;
}

void XValueReader::readArray(const XMember& m, std::uint64_t count, int depth) {
    const int flat = m.type == XPrimitive::Float ? 1 : m.type == XPrimitive::Template ? m.templ->flatFloats : -1;
    if (flat > 0) {
        const std::uint64_t floats = count * static_cast<std::uint64_t>(flat);
        // Every number takes at least one byte of the file.
        if (floats > lex_.remaining() + 1) lex_.fail(lex_.offset(), "array '" + m.name + "' is larger than the file");
        spendExpansion(static_cast<std::size_t>(floats));
        reserveData(static_cast<std::size_t>(floats) * 4);
        for (std::uint64_t k = 0; k < floats; ++k) readFloat();
        return;
    }
    if (m.type == XPrimitive::Dword) {
        reserveData(static_cast<std::size_t>(std::min<std::uint64_t>(count, lex_.remaining() + 1)) * 4);
        for (std::uint64_t k = 0; k < count; ++k) {
            std::int64_t v;
            if (lex_.textNumber(v)) {
                putInteger(v, m, lex_.lastNumberOffset());
            } else {
                readValue(m, depth);
            }
        }
        return;
    }
    for (std::uint64_t k = 0; k < count; ++k) readValue(m, depth);
}

// Data goes into one arena; it grows by doubling and is trimmed at the end.
void XValueReader::reserveData(std::size_t n) {
    XByteArena& d = doc_.data;
    if (d.capacity - d.size >= n) return;
    if (n > std::numeric_limits<std::uint32_t>::max() - d.size) lex_.fail(lex_.offset(), "data larger than 4 GiB");
    d.reserve(std::max(d.capacity * 2, d.size + n + 4096));
}

template <class T>
void XValueReader::put(T v) {
    reserveData(sizeof(T));
    std::memcpy(doc_.data.data() + doc_.data.size, &v, sizeof(T));
    doc_.data.size += sizeof(T);
}

void XValueReader::putBytes(std::string_view s) {
    reserveData(s.size());
    if (!s.empty()) std::memcpy(doc_.data.data() + doc_.data.size, s.data(), s.size());
    doc_.data.size += s.size();
}

void XValueReader::skipSeparators() {
    while (lex_.peek().kind == XTok::Comma || lex_.peek().kind == XTok::Semicolon) lex_.next();
}

template <class T>
bool XValueReader::putTextNumber() {
    T v;
    if (!lex_.textNumber(v)) return false;
    put(v);
    return true;
}

void XValueReader::readFloat() {
    if (putTextNumber<float>()) return;
    skipSeparators();
    put(toNumber<float>(lex_.next()));
}

// Returns the value for integer members (array sizes refer to it).
std::uint32_t XValueReader::readValue(const XMember& m, int depth) {
    switch (m.type) {
        case XPrimitive::Template: readMembers(*m.templ, depth + 1); return 0;
        case XPrimitive::Float:
            if (putTextNumber<float>()) return 0;
            break;
        case XPrimitive::Double:
            if (putTextNumber<double>()) return 0;
            break;
        case XPrimitive::String: break;
        default: {
            std::int64_t v;
            if (lex_.textNumber(v)) return putInteger(v, m, lex_.lastNumberOffset());
            break;
        }
    }
    return readTokenValue(m);
}

// The slow path of readValue: binary values, and text the fast path refused.
std::uint32_t XValueReader::readTokenValue(const XMember& m) {
    skipSeparators();
    const XToken t = lex_.next();
    switch (m.type) {
        case XPrimitive::Float: put(toNumber<float>(t)); return 0;
        case XPrimitive::Double: put(toNumber<double>(t)); return 0;
        case XPrimitive::String: {
            if (t.kind != XTok::String) lex_.fail(t.offset, "expected a string for '" + m.name + "'");
            put(static_cast<std::uint32_t>(t.text.size()));
            putBytes(t.text);
            return 0;
        }
        default: return putInteger(toInteger(t, m), m, t.offset);
    }
}

std::uint32_t XValueReader::putInteger(std::int64_t v, const XMember& m, std::size_t offset) {
    switch (m.type) {
        case XPrimitive::Word:
        case XPrimitive::Sword:
            if (v < -32768 || v > 65535) lex_.fail(offset, "value does not fit 16 bits");
            put(static_cast<std::uint16_t>(v));
            break;
        case XPrimitive::Char:
        case XPrimitive::Uchar:
            if (v < -128 || v > 255) lex_.fail(offset, "value does not fit 8 bits");
            put(static_cast<std::uint8_t>(v));
            break;
        default:
            if (v < -2147483648LL || v > 4294967295LL) lex_.fail(offset, "expected an integer for '" + m.name + "'");
            put(static_cast<std::uint32_t>(v));
            break;
    }
    return static_cast<std::uint32_t>(v);
}

std::int64_t XValueReader::toInteger(const XToken& t, const XMember& m) {
    if (t.kind == XTok::Integer) return t.u;
    if (t.kind == XTok::Word) {
        const char* b = t.text.data();
        const char* e = b + t.text.size();
        if (b != e && *b == '+') ++b;
        std::int64_t v = 0;
        auto [ptr, ec] = std::from_chars(b, e, v);
        if (ec == std::errc() && ptr == e && v >= -2147483648LL && v <= 4294967295LL) return v;
    }
    lex_.fail(t.offset, "expected an integer for '" + m.name + "'");
}

template <class T>
T XValueReader::toNumber(const XToken& t) {
    if (t.kind == XTok::Float) return static_cast<T>(t.f);
    if (t.kind == XTok::Integer) return static_cast<T>(t.u);
    if (t.kind == XTok::Word) {
        const char* b = t.text.data();
        const char* e = b + t.text.size();
        if (b != e && *b == '+') ++b;
        T v = 0;
        auto [ptr, ec] = std::from_chars(b, e, v);
        if (ec == std::errc() && ptr == e) return v;
        if (ec == std::errc::result_out_of_range && ptr == e) lex_.fail(t.offset, "number out of range");
    }
    lex_.fail(t.offset, "expected a number");
}

}  // namespace vantrel::engine3d
