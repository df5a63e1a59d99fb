// Grammar of .x files over the tokens of XLexer: template declarations and data
// objects, the data written as packed little-endian bytes in template order.

#include <algorithm>
#include <charconv>
#include <cstring>
#include <limits>

#include "engine3d/xfile/xfile_document.h"
#include "engine3d/xfile/xfile_error.h"
#include "engine3d/xfile/xfile_lexer.h"
#include "engine3d/xfile/xfile_template_grammar.h"

namespace vantrel::engine3d {
namespace {

constexpr int kMaxObjectDepth = 128;
constexpr int kMaxTemplateDepth = 32;
constexpr std::size_t kMaxMembers = 64;

bool isInteger(XPrimitive p) {
    return p == XPrimitive::Word || p == XPrimitive::Dword || p == XPrimitive::Sword || p == XPrimitive::Sdword ||
           p == XPrimitive::Char || p == XPrimitive::Uchar;
}

class XParser {
public:
    XParser(XLexer& lex, XTemplateRegistry& templates, XDocument* doc, std::size_t sourceSize)
        : lex_(lex), templates_(templates), doc_(doc), budget_(sourceSize * 16 + 4096) {}

    void parseTemplatesOnly(bool standard) {
        while (lex_.peek().kind != XTok::End) {
            const XToken t = lex_.next();
            if (t.kind != XTok::Word || t.text != "template") lex_.fail(t.offset, "expected 'template'");
            parseTemplate(standard);
        }
    }

    void parseFile() {
        for (;;) {
            skipSeparators();
            const XToken t = lex_.next();
            if (t.kind == XTok::End) break;
            if (t.kind != XTok::Word) lex_.fail(t.offset, "expected a template name or 'template'");
            if (t.text == "template") {
                parseTemplate(false);
                continue;
            }
            doc_->topLevel.push_back(parseObject(t, 0));
        }
        resolveReferences();
    }

private:
    void skipSeparators() {
        while (lex_.peek().kind == XTok::Comma || lex_.peek().kind == XTok::Semicolon) lex_.next();
    }

    XToken expect(XTok kind, const char* what) {
        XToken t = lex_.next();
        if (t.kind != kind) lex_.fail(t.offset, std::string("expected ") + what);
        return t;
    }

    void spend(std::size_t n, std::size_t offset) {
        if (n > budget_) lex_.fail(offset, "data repeats more often than the file can hold");
        budget_ -= n;
    }

    // template Name { [<guid>] members [restriction] }
    void parseTemplate(bool standard) {
        const XToken name = expect(XTok::Word, "a template name");
        expect(XTok::OBrace, "'{' after the template name");
        XTemplate t;
        t.name = std::string(name.text);
        t.standard = standard;
        if (lex_.peek().kind == XTok::Guid) t.guid = std::string(lex_.next().text);
        for (;;) {
            XToken tok = lex_.next();
            if (tok.kind == XTok::CBrace) break;
            if (tok.kind == XTok::OBracket) {
                skipRestriction(tok.offset);
                continue;
            }
            if (tok.kind != XTok::Word) lex_.fail(tok.offset, "expected a member or '}' in template " + t.name);
            if (t.members.size() >= kMaxMembers) lex_.fail(tok.offset, "template " + t.name + " has too many members");
            XMember m;
            if (tok.text == "array") {
                m.isArray = true;
                tok = expect(XTok::Word, "the element type of an array");
            }
            if (!primitiveFromName(tok.text, m.type)) {
                m.type = XPrimitive::Template;
                m.templ = templates_.find(tok.text);
                if (!m.templ) lex_.fail(tok.offset, "unknown type '" + std::string(tok.text) + "'");
            }
            if (lex_.peek().kind == XTok::Word) m.name = std::string(lex_.next().text);
            while (m.isArray && lex_.peek().kind == XTok::OBracket) {
                lex_.next();
                const XToken d = lex_.next();
                XArrayDim dim;
                if (d.kind == XTok::Integer) {
                    dim.fixed = d.u;
                } else if (d.kind == XTok::Word && !d.text.empty() && d.text[0] >= '0' && d.text[0] <= '9') {
                    auto [ptr, ec] = std::from_chars(d.text.data(), d.text.data() + d.text.size(), dim.fixed);
                    if (ec != std::errc() || ptr != d.text.data() + d.text.size())
                        lex_.fail(d.offset, "bad array size");
                } else if (d.kind == XTok::Word) {
                    for (std::size_t i = 0; i < t.members.size(); ++i)
                        if (t.members[i].name == d.text && !t.members[i].isArray && isInteger(t.members[i].type))
                            dim.memberIndex = static_cast<int>(i);
                    if (dim.memberIndex < 0)
                        lex_.fail(d.offset, "array size '" + std::string(d.text) + "' is not an earlier integer member");
                } else {
                    lex_.fail(d.offset, "expected an array size");
                }
                expect(XTok::CBracket, "']' after the array size");
                m.dims.push_back(dim);
            }
            if (m.isArray && m.dims.empty()) lex_.fail(tok.offset, "array member without a size");
            expect(XTok::Semicolon, "';' after a member");
            t.members.push_back(std::move(m));
        }
        t.flatFloats = flatFloatsOf(t);
        templates_.add(std::move(t));
    }

    static int flatFloatsOf(const XTemplate& t) {
        long total = 0;
        for (const XMember& m : t.members) {
            long each = 0;
            if (m.type == XPrimitive::Float) {
                each = 1;
            } else if (m.type == XPrimitive::Template && m.templ->flatFloats > 0) {
                each = m.templ->flatFloats;
            } else {
                return -1;
            }
            for (const XArrayDim& d : m.dims) {
                if (d.memberIndex >= 0) return -1;
                each *= d.fixed;
                if (each > 4096) return -1;
            }
            total += each;
        }
        return total > 0 && total <= 4096 ? static_cast<int>(total) : -1;
    }

    // [...] or [Name <guid>, ...] or [BINARY]: which children are allowed. Not
    // enforced: files in the wild break it and nothing here depends on it.
    void skipRestriction(std::size_t start) {
        for (;;) {
            const XToken t = lex_.next();
            if (t.kind == XTok::CBracket) return;
            if (t.kind == XTok::End || t.kind == XTok::OBrace || t.kind == XTok::CBrace)
                lex_.fail(start, "restriction without closing ']'");
        }
    }

    std::uint32_t parseObject(const XToken& templName, int depth) {
        if (depth >= kMaxObjectDepth) lex_.fail(templName.offset, "objects nested too deeply");
        const XTemplate* templ = templates_.find(templName.text);
        if (!templ) lex_.fail(templName.offset, "unknown template '" + std::string(templName.text) + "'");
        spend(1, templName.offset);
        const auto index = static_cast<std::uint32_t>(doc_->nodes.size());
        doc_->nodes.emplace_back();
        std::string_view name;
        if (lex_.peek().kind == XTok::Word) name = lex_.next().text;
        expect(XTok::OBrace, "'{' to open the object");
        if (lex_.peek().kind == XTok::Guid) lex_.next();
        const auto dataOffset = static_cast<std::uint32_t>(doc_->data.size);
        readMembers(*templ, 0);
        const auto dataSize = static_cast<std::uint32_t>(doc_->data.size - dataOffset);

        const std::size_t base = scratch_.size();
        for (;;) {
            skipSeparators();
            const XToken t = lex_.next();
            if (t.kind == XTok::CBrace) break;
            if (t.kind == XTok::OBrace) {
                scratch_.push_back(parseReference(t));
            } else if (t.kind == XTok::Word) {
                const char c0 = t.text[0];
                if ((c0 >= '0' && c0 <= '9') || c0 == '-' || c0 == '+' || c0 == '.')
                    lex_.fail(t.offset, "more values than template " + templ->name + " holds");
                scratch_.push_back(parseObject(t, depth + 1));
            } else if (t.kind == XTok::End) {
                lex_.fail(templName.offset, "object " + std::string(templName.text) + " is missing its closing '}'");
            } else {
                lex_.fail(t.offset, "expected a child object, a reference or '}'");
            }
        }
        XNode& node = doc_->nodes[index];
        node.name = name;
        node.templ = templ;
        node.dataOffset = dataOffset;
        node.dataSize = dataSize;
        node.sourceOffset = static_cast<std::uint32_t>(templName.offset);
        node.childBegin = static_cast<std::uint32_t>(doc_->childIds.size());
        node.childCount = static_cast<std::uint32_t>(scratch_.size() - base);
        doc_->childIds.insert(doc_->childIds.end(), scratch_.begin() + static_cast<std::ptrdiff_t>(base),
                              scratch_.end());
        scratch_.resize(base);
        return index;
    }

    // { name } or { name <guid> } or { <guid> }
    std::uint32_t parseReference(const XToken& open) {
        spend(1, open.offset);
        XNode node;
        node.isReference = true;
        node.sourceOffset = static_cast<std::uint32_t>(open.offset);
        XToken t = lex_.next();
        if (t.kind == XTok::Word) {
            node.name = t.text;
            t = lex_.next();
        }
        if (t.kind == XTok::Guid) t = lex_.next();
        if (t.kind != XTok::CBrace) lex_.fail(t.offset, "expected '}' to close the reference");
        doc_->nodes.push_back(node);
        return static_cast<std::uint32_t>(doc_->nodes.size() - 1);
    }

    void readMembers(const XTemplate& t, int depth) {
        if (depth >= kMaxTemplateDepth) lex_.fail(lex_.offset(), "template " + t.name + " nests too deeply");
        std::uint32_t values[kMaxMembers];
        for (std::size_t i = 0; i < t.members.size(); ++i) {
            const XMember& m = t.members[i];
            if (!m.isArray) {
                values[i] = readValue(m, depth);
                continue;
            }
            std::uint64_t count = 1;
            for (const XArrayDim& d : m.dims) {
                count *= d.memberIndex >= 0 ? values[d.memberIndex] : d.fixed;
                if (count > budget_) lex_.fail(lex_.offset(), "array '" + m.name + "' is larger than the file");
            }
            spend(static_cast<std::size_t>(count), lex_.offset());
            const int flat = m.type == XPrimitive::Float ? 1
                             : m.type == XPrimitive::Template ? m.templ->flatFloats
                                                              : -1;
            if (flat > 0) {
                const std::uint64_t floats = count * static_cast<std::uint64_t>(flat);
                // Every number takes at least one byte of the file.
                if (floats > lex_.remaining() + 1) lex_.fail(lex_.offset(), "array '" + m.name + "' is larger than the file");
                spend(static_cast<std::size_t>(floats), lex_.offset());
                reserveData(static_cast<std::size_t>(floats) * 4);
                for (std::uint64_t k = 0; k < floats; ++k) readFloat();
                continue;
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
                continue;
            }
            for (std::uint64_t k = 0; k < count; ++k) readValue(m, depth);
        }
    }

    // Data goes into one arena; it grows by doubling and is trimmed at the end.
    void reserveData(std::size_t n) {
        XByteArena& d = doc_->data;
        if (d.capacity - d.size >= n) return;
        if (n > std::numeric_limits<std::uint32_t>::max() - d.size) lex_.fail(lex_.offset(), "data larger than 4 GiB");
        d.reserve(std::max(d.capacity * 2, d.size + n + 4096));
    }

    template <class T>
    void put(T v) {
        reserveData(sizeof(T));
        std::memcpy(doc_->data.data() + doc_->data.size, &v, sizeof(T));
        doc_->data.size += sizeof(T);
    }

    void putBytes(std::string_view s) {
        reserveData(s.size());
        if (!s.empty()) std::memcpy(doc_->data.data() + doc_->data.size, s.data(), s.size());
        doc_->data.size += s.size();
    }

    void readFloat() {
        float f;
        if (lex_.textNumber(f)) {
            put(f);
            return;
        }
        skipSeparators();
        put(toNumber<float>(lex_.next()));
    }

    // Returns the value for integer members (array sizes refer to it).
    std::uint32_t readValue(const XMember& m, int depth) {
        switch (m.type) {
            case XPrimitive::Template: readMembers(*m.templ, depth + 1); return 0;
            case XPrimitive::Float: {
                float f;
                if (lex_.textNumber(f)) {
                    put(f);
                    return 0;
                }
                break;
            }
            case XPrimitive::Double: {
                double d;
                if (lex_.textNumber(d)) {
                    put(d);
                    return 0;
                }
                break;
            }
            case XPrimitive::String: break;
            default: {
                std::int64_t v;
                if (lex_.textNumber(v)) return putInteger(v, m, lex_.lastNumberOffset());
                break;
            }
        }
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

    std::uint32_t putInteger(std::int64_t v, const XMember& m, std::size_t offset) {
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

    std::int64_t toInteger(const XToken& t, const XMember& m) {
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
    T toNumber(const XToken& t) {
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

    // References name objects anywhere in the file; the first object of that
    // name wins. Unresolved references stay in place with no target.
    void resolveReferences() {
        std::vector<std::pair<std::string_view, std::uint32_t>> named;
        for (std::uint32_t i = 0; i < doc_->nodes.size(); ++i)
            if (!doc_->nodes[i].isReference && !doc_->nodes[i].name.empty())
                named.emplace_back(doc_->nodes[i].name, i);
        std::stable_sort(named.begin(), named.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        for (XNode& n : doc_->nodes) {
            if (!n.isReference || n.name.empty()) continue;
            auto it = std::lower_bound(named.begin(), named.end(), n.name,
                                       [](const auto& a, std::string_view key) { return a.first < key; });
            if (it != named.end() && it->first == n.name) n.target = it->second;
        }
    }

    XLexer& lex_;
    XTemplateRegistry& templates_;
    XDocument* doc_;
    std::size_t budget_;
    std::vector<std::uint32_t> scratch_;
};

}  // namespace

void parseTemplateText(std::string_view text, XTemplateRegistry& into, bool standard) {
    XLexer lex(text, false, false, nullptr);
    XParser parser(lex, into, nullptr, text.size());
    parser.parseTemplatesOnly(standard);
}

void parseXBody(XDocument& doc) {
    XLexer lex(doc.body(), doc.binary, doc.doubles, &doc);
    XParser parser(lex, doc.templates, &doc, doc.body().size());
    parser.parseFile();
}

}  // namespace vantrel::engine3d
