// The data-object half of the .x grammar over the tokens of XLexer: objects,
// their children and references, template declarations met on the way, and
// objects of unknown templates skipped with a warning.

#include <algorithm>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine3d/xfile/xfile_document.h"
#include "engine3d/xfile/xfile_error.h"
#include "engine3d/xfile/xfile_lexer.h"
#include "engine3d/xfile/xfile_template_grammar.h"
#include "engine3d/xfile/xfile_value_reader.h"

namespace vantrel::engine3d {
namespace {

constexpr int kMaxObjectDepth = 128;
// Warnings kept word for word; beyond them only a count, so that a file of
// unknown objects cannot make the warning list larger than the file.
constexpr std::size_t kMaxWarnings = 100;

class XObjectParser {
public:
    XObjectParser(XLexer& lex, XDocument& doc) : lex_(lex), doc_(doc), values_(lex, doc) {}

    void parseFile() {
        for (;;) {
            skipSeparators();
            const XToken t = lex_.next();
            if (t.kind == XTok::End) break;
            if (t.kind != XTok::Word) lex_.fail(t.offset, "expected a template name or 'template'");
            if (t.text == "template") {
                doc_.templates.add(parseTemplateDeclaration(lex_, doc_.templates, false));
            } else if (const auto index = parseObject(t, 0)) {
                doc_.topLevel.push_back(*index);
            }
        }
        resolveReferences();
        finishWarnings();
    }

private:
    void skipSeparators() {
        while (lex_.peek().kind == XTok::Comma || lex_.peek().kind == XTok::Semicolon) lex_.next();
    }

    // The object's index, or none when its template is unknown and it was skipped.
    std::optional<std::uint32_t> parseObject(const XToken& templName, int depth) {
        if (depth >= kMaxObjectDepth) lex_.fail(templName.offset, "objects nested too deeply");
        values_.spend(1, templName.offset, "data repeats more often than the file can hold");
        const XTemplate* templ = doc_.templates.find(templName.text);
        if (!templ) {
            skipObject(templName);
            return std::nullopt;
        }
        const auto index = static_cast<std::uint32_t>(doc_.nodes.size());
        doc_.nodes.emplace_back();
        std::string_view name;
        if (lex_.peek().kind == XTok::Word) name = lex_.next().text;
        lex_.expect(XTok::OBrace, "'{' to open the object");
        if (lex_.peek().kind == XTok::Guid) lex_.next();
        const auto dataOffset = static_cast<std::uint32_t>(doc_.data.size);
        values_.readObjectData(*templ, templName.offset);
        XNode& node = doc_.nodes[index];
        node.dataOffset = dataOffset;
        node.dataSize = static_cast<std::uint32_t>(doc_.data.size - dataOffset);
        node.name = name;
        node.templ = templ;
        node.sourceOffset = static_cast<std::uint32_t>(templName.offset);
        parseChildren(index, templName, *templ, depth);
        return index;
    }

    // Child objects and references up to the object's closing brace.
    void parseChildren(std::uint32_t index, const XToken& templName, const XTemplate& templ, int depth) {
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
                    lex_.fail(t.offset, "more values than template " + templ.name + " holds");
                if (const auto child = parseObject(t, depth + 1)) scratch_.push_back(*child);
            } else if (t.kind == XTok::End) {
                lex_.fail(templName.offset, "object " + std::string(templName.text) + " is missing its closing '}'");
            } else {
                lex_.fail(t.offset, "expected a child object, a reference or '}'");
            }
        }
        XNode& node = doc_.nodes[index];
        node.childBegin = static_cast<std::uint32_t>(doc_.childIds.size());
        node.childCount = static_cast<std::uint32_t>(scratch_.size() - base);
        doc_.childIds.insert(doc_.childIds.end(), scratch_.begin() + static_cast<std::ptrdiff_t>(base), scratch_.end());
        scratch_.resize(base);
    }

    // An object whose template neither the file nor the standard set declares:
    // its values cannot be read, so everything up to its closing brace goes.
    void skipObject(const XToken& templName) {
        if (lex_.peek().kind == XTok::Word) lex_.next();
        lex_.expect(XTok::OBrace, "'{' to open the object");
        for (int open = 1; open > 0;) {
            const XToken t = lex_.next();
            if (t.kind == XTok::OBrace) ++open;
            if (t.kind == XTok::CBrace) --open;
            if (t.kind == XTok::End)
                lex_.fail(templName.offset, "object " + std::string(templName.text) + " is missing its closing '}'");
        }
        if (pendingWarnings_.size() < kMaxWarnings) {
            pendingWarnings_.emplace_back(templName.offset,
                                          "unknown template '" + std::string(templName.text) + "': object skipped");
        } else {
            ++unreportedSkips_;
        }
    }

    // { name } or { name <guid> } or { <guid> }
    std::uint32_t parseReference(const XToken& open) {
        values_.spend(1, open.offset, "data repeats more often than the file can hold");
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
        doc_.nodes.push_back(node);
        return static_cast<std::uint32_t>(doc_.nodes.size() - 1);
    }

    // References name objects anywhere in the file; the first object of that
    // name wins. Unresolved references stay in place with no target.
    void resolveReferences() {
        std::vector<std::pair<std::string_view, std::uint32_t>> named;
        for (std::uint32_t i = 0; i < doc_.nodes.size(); ++i)
            if (!doc_.nodes[i].isReference && !doc_.nodes[i].name.empty()) named.emplace_back(doc_.nodes[i].name, i);
        std::stable_sort(named.begin(), named.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
        for (XNode& n : doc_.nodes) {
            if (!n.isReference || n.name.empty()) continue;
            auto it = std::lower_bound(named.begin(), named.end(), n.name,
                                       [](const auto& a, std::string_view key) { return a.first < key; });
            if (it != named.end() && it->first == n.name) n.target = it->second;
        }
    }

    // Positions are worked out in one pass at the end: warnings come in file order.
    void finishWarnings() {
        XPositionCursor where(doc_);
        for (const auto& [offset, text] : pendingWarnings_) doc_.warnings.push_back(where.describe(offset) + ": " + text);
        if (unreportedSkips_ > 0)
            doc_.warnings.push_back(doc_.fileName + ": " + std::to_string(unreportedSkips_) +
                                    " more objects of unknown templates skipped");
    }

    XLexer& lex_;
    XDocument& doc_;
    XValueReader values_;
    std::vector<std::uint32_t> scratch_;
    std::vector<std::pair<std::size_t, std::string>> pendingWarnings_;
    std::size_t unreportedSkips_ = 0;
};

}  // namespace

void parseXBody(XDocument& doc) {
    XLexer lex(doc.body(), doc.binary, doc.doubles, &doc);
    XObjectParser(lex, doc).parseFile();
}

}  // namespace vantrel::engine3d
