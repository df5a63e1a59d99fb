#pragma once
// Tokens of a .x file body, text or binary alike. Binary keyword tokens come out
// as words ("template", "DWORD", ...) and binary number lists come out one value
// at a time, so the grammar above does not care about the encoding. Tokens are
// views into the source; nothing is allocated per token.

#include <array>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <system_error>

#include "engine3d/xfile/xfile_number.h"

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
    // Text fast path for number arrays: skips blanks, comments and separators,
    // then parses a number in place. Returns false, having consumed only
    // separators, when what follows is not a clean number (the token path then
    // reports the fault).
    template <class T>
    bool textNumber(T& out) {
        if (binary_ || hasPeek_) return false;
        for (;;) {
            while (p_ < end_ && kSkippedBeforeNumber[static_cast<unsigned char>(*p_)]) ++p_;
            if (p_ < end_ && (*p_ == '#' || *p_ == '/')) {
                if (*p_ == '/' && !(end_ - p_ > 1 && p_[1] == '/')) return false;
                while (p_ < end_ && *p_ != '\n') ++p_;
                continue;
            }
            break;
        }
        if (p_ >= end_) return false;
        const char* b = p_;
        if (*b == '+') ++b;
        auto [ptr, ec] = parseXNumber(b, end_, out);
        if (ec != std::errc()) return false;
        if (ptr < end_ && continuesWord(ptr)) return false;
        lastNumber_ = static_cast<std::size_t>(p_ - begin_);
        p_ = ptr;
        return true;
    }
    std::size_t lastNumberOffset() const { return lastNumber_; }
    // The next token, which must be of kind ("expected " + what otherwise).
    XToken expect(XTok kind, std::string_view what);

    std::size_t offset() const { return hasPeek_ ? peeked_.offset : static_cast<std::size_t>(p_ - begin_); }
    std::size_t remaining() const { return static_cast<std::size_t>(end_ - p_); }
    [[noreturn]] void fail(std::size_t offset, std::string_view what) const;

private:
    // Blanks and separators that may stand between two numbers.
    static constexpr auto kSkippedBeforeNumber = [] {
        std::array<bool, 256> t{};
        for (unsigned char c : {' ', '\n', '\r', '\t', ',', ';'}) t[c] = true;
        return t;
    }();

    bool continuesWord(const char* q) const {
        const unsigned char c = static_cast<unsigned char>(*q);
        if (c == '.') return !(end_ - q > 1 && q[1] == '.');
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
               c == '-' || c == '+' || c >= 0x80;
    }
    XToken nextText();
    XToken delimitedText(XToken& t, XTok kind);
    XToken nextBinary();
    void need(std::size_t tokenOffset, std::size_t n) const;
    XToken countedText(XToken& t, XTok kind);
    void startList(std::size_t tokenOffset, bool floats);
    XToken listValue();

    const XDocument* doc_;
    const char* begin_;
    const char* p_;
    const char* end_;
    bool binary_;
    bool doubles_;
    std::uint32_t listLeft_ = 0;
    bool listIsFloat_ = false;
    bool hasPeek_ = false;
    std::size_t lastNumber_ = 0;
    XToken peeked_;
};

}  // namespace vantrel::engine3d
