#pragma once
// Tokens of a .x file body, text or binary alike. Binary keyword tokens come out
// as words ("template", "DWORD", ...) and binary number lists come out one value
// at a time, so the grammar above does not care about the encoding. Tokens are
// views into the source; nothing is allocated per token.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace vantrel::engine3d {

struct XDocument;

enum class XTok : std::uint8_t {
    End,
    Word,     // text: any name or number; binary: a name or a keyword
    String,   // text is the contents without quotes
    Guid,     // text is the contents without angle brackets
    Integer,  // binary only: value in u
    Float,    // binary only: value in f
    OBrace,
    CBrace,
    OBracket,
    CBracket,
    Comma,
    Semicolon,
    Dot,
};

struct XToken {
    XTok kind = XTok::End;
    std::string_view text;
    std::uint32_t u = 0;
    double f = 0;
    std::size_t offset = 0;
};

class XLexer {
public:
    // doc (for error positions) may be null when reading the built-in templates.
    XLexer(std::string_view source, bool binary, bool doubles, const XDocument* doc);

    XToken next() {
        if (hasPeek_) {
            hasPeek_ = false;
            return peeked_;
        }
        return binary_ ? nextBinary() : nextText();
    }
    const XToken& peek() {
        if (!hasPeek_) {
            peeked_ = binary_ ? nextBinary() : nextText();
            hasPeek_ = true;
        }
        return peeked_;
    }
    std::size_t offset() const { return hasPeek_ ? peeked_.offset : static_cast<std::size_t>(p_ - begin_); }
    std::size_t remaining() const { return static_cast<std::size_t>(end_ - p_); }
    [[noreturn]] void fail(std::size_t offset, std::string_view what) const;

private:
    XToken nextText();
    XToken nextBinary();

    const XDocument* doc_;
    const char* begin_;
    const char* p_;
    const char* end_;
    bool binary_;
    bool doubles_;
    std::uint32_t listLeft_ = 0;
    bool listIsFloat_ = false;
    bool hasPeek_ = false;
    XToken peeked_;
};

}  // namespace vantrel::engine3d
