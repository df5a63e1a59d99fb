#include "engine3d/xfile/xfile_template_grammar.h"

#include <charconv>
#include <string>

#include "engine3d/xfile/xfile_error.h"

namespace vantrel::engine3d {
namespace {

bool isInteger(XPrimitive p) {
    return p == XPrimitive::Word || p == XPrimitive::Dword || p == XPrimitive::Sword || p == XPrimitive::Sdword ||
           p == XPrimitive::Char || p == XPrimitive::Uchar;
}

// [n] or [earlierMember]; the '[' is already read.
XArrayDim readArrayDim(XLexer& lex, const XTemplate& t) {
    const XToken d = lex.next();
    XArrayDim dim;
    if (d.kind == XTok::Integer) {
        dim.fixed = d.u;
    } else if (d.kind == XTok::Word && !d.text.empty() && d.text[0] >= '0' && d.text[0] <= '9') {
        auto [ptr, ec] = std::from_chars(d.text.data(), d.text.data() + d.text.size(), dim.fixed);
        if (ec != std::errc() || ptr != d.text.data() + d.text.size()) lex.fail(d.offset, "bad array size");
    } else if (d.kind == XTok::Word) {
        for (std::size_t i = 0; i < t.members.size(); ++i)
            if (t.members[i].name == d.text && !t.members[i].isArray && isInteger(t.members[i].type))
                dim.memberIndex = static_cast<int>(i);
        if (dim.memberIndex < 0)
            lex.fail(d.offset, "array size '" + std::string(d.text) + "' is not an earlier integer member");
    } else {
        lex.fail(d.offset, "expected an array size");
    }
    lex.expect(XTok::CBracket, "']' after the array size");
    return dim;
}

// [array] Type [name] [dims] ; starting at the member's first word tok.
XMember readMember(XLexer& lex, const XTemplateRegistry& templates, const XTemplate& t, XToken tok) {
    XMember m;
    if (tok.text == "array") {
        m.isArray = true;
        tok = lex.expect(XTok::Word, "the element type of an array");
    }
    if (!primitiveFromName(tok.text, m.type)) {
        m.type = XPrimitive::Template;
        m.templ = templates.find(tok.text);
        if (!m.templ) lex.fail(tok.offset, "unknown type '" + std::string(tok.text) + "'");
    }
    if (lex.peek().kind == XTok::Word) m.name = std::string(lex.next().text);
    while (m.isArray && lex.peek().kind == XTok::OBracket) {
        lex.next();
        m.dims.push_back(readArrayDim(lex, t));
    }
    if (m.isArray && m.dims.empty()) lex.fail(tok.offset, "array member without a size");
    lex.expect(XTok::Semicolon, "';' after a member");
    return m;
}

// Number of FLOATs when the template is a fixed run of them, else -1.
int flatFloatsOf(const XTemplate& t) {
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
void skipRestriction(XLexer& lex, std::size_t start) {
    for (;;) {
        const XToken t = lex.next();
        if (t.kind == XTok::CBracket) return;
        if (t.kind == XTok::End || t.kind == XTok::OBrace || t.kind == XTok::CBrace)
            lex.fail(start, "restriction without closing ']'");
    }
}

}  // namespace

XTemplate parseTemplateDeclaration(XLexer& lex, const XTemplateRegistry& templates, bool standard) {
    const XToken name = lex.expect(XTok::Word, "a template name");
    lex.expect(XTok::OBrace, "'{' after the template name");
    XTemplate t;
    t.name = std::string(name.text);
    t.standard = standard;
    if (lex.peek().kind == XTok::Guid) t.guid = std::string(lex.next().text);
    for (;;) {
        const XToken tok = lex.next();
        if (tok.kind == XTok::CBrace) break;
        if (tok.kind == XTok::OBracket) {
            skipRestriction(lex, tok.offset);
            continue;
        }
        if (tok.kind != XTok::Word) lex.fail(tok.offset, "expected a member or '}' in template " + t.name);
        if (t.members.size() >= XTemplate::kMaxMembers) lex.fail(tok.offset, "template " + t.name + " has too many members");
        t.members.push_back(readMember(lex, templates, t, tok));
    }
    t.flatFloats = flatFloatsOf(t);
    return t;
}

void parseTemplateText(std::string_view text, XTemplateRegistry& into, bool standard) {
    XLexer lex(text, false, false, nullptr);
    while (lex.peek().kind != XTok::End) {
        const XToken t = lex.next();
        if (t.kind != XTok::Word || t.text != "template") lex.fail(t.offset, "expected 'template'");
        into.add(parseTemplateDeclaration(lex, into, standard));
    }
}

}  // namespace vantrel::engine3d
