#include "engine3d/xfile/xfile_lexer.h"

#include <cstring>
#include <string>

#include "engine3d/xfile/xfile_document.h"
#include "engine3d/xfile/xfile_error.h"

namespace vantrel::engine3d {
namespace {

bool isWordChar(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-' ||
           c == '+' || c == '.' || c >= 0x80;
}

std::uint16_t readU16(const char* p) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(p[0]) | (static_cast<unsigned char>(p[1]) << 8));
}

std::uint32_t readU32(const char* p) {
    std::uint32_t v;
    std::memcpy(&v, p, 4);  // the build targets little-endian machines only
    return v;
}

// Binary token codes of the format.
enum : std::uint16_t {
    kName = 1, kString = 2, kInteger = 3, kGuid = 5, kIntegerList = 6, kFloatList = 7,
    kOBrace = 10, kCBrace = 11, kOParen = 12, kCParen = 13, kOBracket = 14, kCBracket = 15,
    kOAngle = 16, kCAngle = 17, kDot = 18, kComma = 19, kSemicolon = 20, kTemplate = 31,
    kWordType = 40, kDwordType = 41, kFloatType = 42, kDoubleType = 43, kCharType = 44, kUcharType = 45,
    kSwordType = 46, kSdwordType = 47, kVoidType = 48, kLpstrType = 49, kUnicodeType = 50,
    kCstringType = 51, kArray = 52,
};

}  // namespace

static_assert(sizeof(float) == 4 && sizeof(double) == 8);

XLexer::XLexer(std::string_view source, bool binary, bool doubles, const XDocument* doc)
    : doc_(doc),
      begin_(source.data()),
      p_(source.data()),
      end_(source.data() + source.size()),
      binary_(binary),
      doubles_(doubles) {}

void XLexer::fail(std::size_t offset, std::string_view what) const {
    const std::string where =
        doc_ ? doc_->describePosition(offset) : "built-in templates: byte " + std::to_string(offset);
    throw XFileError(where + ": " + std::string(what));
}

XToken XLexer::expect(XTok kind, std::string_view what) {
    XToken t = next();
    if (t.kind != kind) fail(t.offset, "expected " + std::string(what));
    return t;
}

// "text" or <guid>, the opening character at p_.
XToken XLexer::delimitedText(XToken& t, XTok kind) {
    const char* start = ++p_;
    if (kind == XTok::String) {
        const void* q = std::memchr(p_, '"', static_cast<std::size_t>(end_ - p_));
        if (!q) fail(t.offset, "string without closing quote");
        p_ = static_cast<const char*>(q);
    } else {
        while (p_ < end_ && p_ - start <= 40 && *p_ != '>') ++p_;
        if (p_ >= end_ || *p_ != '>') fail(t.offset, "GUID without closing '>'");
    }
    t.kind = kind;
    t.text = std::string_view(start, static_cast<std::size_t>(p_ - start));
    ++p_;
    return t;
}

XToken XLexer::nextText() {
    // Skip blanks and comments ("//" or "#" to the end of the line).
    for (;;) {
        while (p_ < end_ && (*p_ == ' ' || *p_ == '\t' || *p_ == '\r' || *p_ == '\n' || *p_ == '\f' || *p_ == '\v' ||
                             *p_ == '\0'))
            ++p_;
        if (p_ < end_ && (*p_ == '#' || (*p_ == '/' && end_ - p_ > 1 && p_[1] == '/'))) {
            while (p_ < end_ && *p_ != '\n') ++p_;
            continue;
        }
        break;
    }
    XToken t;
    t.offset = static_cast<std::size_t>(p_ - begin_);
    if (p_ >= end_) return t;
    const char c = *p_;
    switch (c) {
        case '{': ++p_; t.kind = XTok::OBrace; return t;
        case '}': ++p_; t.kind = XTok::CBrace; return t;
        case '[': ++p_; t.kind = XTok::OBracket; return t;
        case ']': ++p_; t.kind = XTok::CBracket; return t;
        case ',': ++p_; t.kind = XTok::Comma; return t;
        case ';': ++p_; t.kind = XTok::Semicolon; return t;
        case '"': return delimitedText(t, XTok::String);
        case '<': return delimitedText(t, XTok::Guid);
        default: break;
    }
    // A lone '.' followed by no digit is punctuation ("[...]").
    if (c == '.' && !(end_ - p_ > 1 && p_[1] >= '0' && p_[1] <= '9')) {
        ++p_;
        t.kind = XTok::Dot;
        return t;
    }
    if (!isWordChar(static_cast<unsigned char>(c))) fail(t.offset, std::string("unexpected character '") + c + "'");
    const char* start = p_;
    while (p_ < end_ && isWordChar(static_cast<unsigned char>(*p_))) {
        // "..." after a name belongs to the punctuation, not the word.
        if (*p_ == '.' && end_ - p_ > 1 && p_[1] == '.') break;
        ++p_;
    }
    t.kind = XTok::Word;
    t.text = std::string_view(start, static_cast<std::size_t>(p_ - start));
    return t;
}

namespace {

// Keywords and punctuation: tokens that are their code alone.
bool bareToken(std::uint16_t code, XToken& t) {
    struct Entry {
        std::uint16_t code;
        XTok kind;
        std::string_view word;
    };
    static constexpr Entry table[] = {
        {kOBrace, XTok::OBrace, {}},       {kCBrace, XTok::CBrace, {}},         {kOBracket, XTok::OBracket, {}},
        {kCBracket, XTok::CBracket, {}},   {kDot, XTok::Dot, {}},               {kComma, XTok::Comma, {}},
        {kSemicolon, XTok::Semicolon, {}}, {kTemplate, XTok::Word, "template"}, {kArray, XTok::Word, "array"},
        {kWordType, XTok::Word, "WORD"},   {kDwordType, XTok::Word, "DWORD"},   {kFloatType, XTok::Word, "FLOAT"},
        {kDoubleType, XTok::Word, "DOUBLE"}, {kCharType, XTok::Word, "CHAR"},   {kUcharType, XTok::Word, "UCHAR"},
        {kSwordType, XTok::Word, "SWORD"}, {kSdwordType, XTok::Word, "SDWORD"}, {kLpstrType, XTok::Word, "LPSTR"},
        {kUnicodeType, XTok::Word, "UNICODE"}, {kCstringType, XTok::Word, "CSTRING"},
    };
    for (const Entry& e : table)
        if (e.code == code) {
            t.kind = e.kind;
            t.text = e.word;
            return true;
        }
    return false;
}

}  // namespace

XToken XLexer::nextBinary() {
    for (;;) {
        if (listLeft_ > 0) return listValue();
        XToken t;
        t.offset = static_cast<std::size_t>(p_ - begin_);
        if (p_ >= end_) return t;
        if (end_ - p_ < 2) fail(t.offset, "truncated token");
        const std::uint16_t code = readU16(p_);
        p_ += 2;
        switch (code) {
            case kName: return countedText(t, XTok::Word);
            case kString: {
                countedText(t, XTok::String);
                // The string token carries its own terminator token.
                need(t.offset, 2);
                const std::uint16_t term = readU16(p_);
                if (term != kSemicolon && term != kComma) fail(t.offset, "string without ';' or ',' terminator");
                p_ += 2;
                return t;
            }
            case kInteger:
                need(t.offset, 4);
                t.kind = XTok::Integer;
                t.u = readU32(p_);
                p_ += 4;
                return t;
            case kGuid:
                need(t.offset, 16);
                t.kind = XTok::Guid;
                t.text = std::string_view(p_, 16);
                p_ += 16;
                return t;
            case kIntegerList:
            case kFloatList: startList(t.offset, code == kFloatList); continue;  // empty lists yield nothing
            default:
                if (bareToken(code, t)) return t;
                fail(t.offset, "unknown binary token " + std::to_string(code));
        }
    }
}

void XLexer::need(std::size_t tokenOffset, std::size_t n) const {
    if (static_cast<std::size_t>(end_ - p_) < n) fail(tokenOffset, "token runs past the end of the data");
}

// A 32-bit length and that many bytes (names and strings).
XToken XLexer::countedText(XToken& t, XTok kind) {
    need(t.offset, 4);
    const std::uint32_t n = readU32(p_);
    p_ += 4;
    need(t.offset, n);
    t.kind = kind;
    t.text = std::string_view(p_, n);
    p_ += n;
    return t;
}

void XLexer::startList(std::size_t tokenOffset, bool floats) {
    need(tokenOffset, 4);
    const std::uint32_t n = readU32(p_);
    p_ += 4;
    const std::size_t size = floats ? (doubles_ ? 8 : 4) : 4;
    if (n > static_cast<std::size_t>(end_ - p_) / size) fail(tokenOffset, "number list runs past the end of the data");
    listLeft_ = n;
    listIsFloat_ = floats;
}

// The next value of a number list, one token each.
XToken XLexer::listValue() {
    XToken t;
    t.offset = static_cast<std::size_t>(p_ - begin_);
    const std::size_t size = listIsFloat_ ? (doubles_ ? 8 : 4) : 4;
    if (static_cast<std::size_t>(end_ - p_) < size) fail(t.offset, "number list runs past the end of the data");
    if (!listIsFloat_) {
        t.kind = XTok::Integer;
        t.u = readU32(p_);
    } else if (doubles_) {
        t.kind = XTok::Float;
        std::memcpy(&t.f, p_, 8);
    } else {
        float f;
        std::memcpy(&f, p_, 4);
        t.kind = XTok::Float;
        t.f = f;
    }
    p_ += size;
    --listLeft_;
    return t;
}

}  // namespace vantrel::engine3d
