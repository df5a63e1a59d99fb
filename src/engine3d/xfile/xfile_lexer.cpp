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
        case '"': {
            const char* start = ++p_;
            const void* q = std::memchr(p_, '"', static_cast<std::size_t>(end_ - p_));
            if (!q) fail(t.offset, "string without closing quote");
            p_ = static_cast<const char*>(q);
            t.kind = XTok::String;
            t.text = std::string_view(start, static_cast<std::size_t>(p_ - start));
            ++p_;
            return t;
        }
        case '<': {
            const char* start = ++p_;
            while (p_ < end_ && p_ - start <= 40 && *p_ != '>') ++p_;
            if (p_ >= end_ || *p_ != '>') fail(t.offset, "GUID without closing '>'");
            t.kind = XTok::Guid;
            t.text = std::string_view(start, static_cast<std::size_t>(p_ - start));
            ++p_;
            return t;
        }
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

XToken XLexer::nextBinary() {
  for (;;) {
    XToken t;
    t.offset = static_cast<std::size_t>(p_ - begin_);
    if (listLeft_ > 0) {
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
    if (p_ >= end_) return t;
    if (end_ - p_ < 2) fail(t.offset, "truncated token");
    const std::uint16_t code = readU16(p_);
    p_ += 2;
    auto need = [&](std::size_t n) {
        if (static_cast<std::size_t>(end_ - p_) < n) fail(t.offset, "token runs past the end of the data");
    };
    auto word = [&](std::string_view w) {
        t.kind = XTok::Word;
        t.text = w;
        return t;
    };
    switch (code) {
        case kName: {
            need(4);
            const std::uint32_t n = readU32(p_);
            p_ += 4;
            need(n);
            t.kind = XTok::Word;
            t.text = std::string_view(p_, n);
            p_ += n;
            return t;
        }
        case kString: {
            need(4);
            const std::uint32_t n = readU32(p_);
            p_ += 4;
            need(n);
            t.kind = XTok::String;
            t.text = std::string_view(p_, n);
            p_ += n;
            // The string token carries its own terminator token.
            need(2);
            const std::uint16_t term = readU16(p_);
            if (term != kSemicolon && term != kComma) fail(t.offset, "string without ';' or ',' terminator");
            p_ += 2;
            return t;
        }
        case kInteger:
            need(4);
            t.kind = XTok::Integer;
            t.u = readU32(p_);
            p_ += 4;
            return t;
        case kGuid:
            need(16);
            t.kind = XTok::Guid;
            t.text = std::string_view(p_, 16);
            p_ += 16;
            return t;
        case kIntegerList:
        case kFloatList: {
            need(4);
            const std::uint32_t n = readU32(p_);
            p_ += 4;
            const std::size_t size = code == kFloatList ? (doubles_ ? 8 : 4) : 4;
            if (n > static_cast<std::size_t>(end_ - p_) / size) fail(t.offset, "number list runs past the end of the data");
            listLeft_ = n;
            listIsFloat_ = code == kFloatList;
            continue;  // empty lists yield nothing
        }
        case kOBrace: t.kind = XTok::OBrace; return t;
        case kCBrace: t.kind = XTok::CBrace; return t;
        case kOBracket: t.kind = XTok::OBracket; return t;
        case kCBracket: t.kind = XTok::CBracket; return t;
        case kDot: t.kind = XTok::Dot; return t;
        case kComma: t.kind = XTok::Comma; return t;
        case kSemicolon: t.kind = XTok::Semicolon; return t;
        case kTemplate: return word("template");
        case kArray: return word("array");
        case kWordType: return word("WORD");
        case kDwordType: return word("DWORD");
        case kFloatType: return word("FLOAT");
        case kDoubleType: return word("DOUBLE");
        case kCharType: return word("CHAR");
        case kUcharType: return word("UCHAR");
        case kSwordType: return word("SWORD");
        case kSdwordType: return word("SDWORD");
        case kLpstrType: return word("LPSTR");
        case kUnicodeType: return word("UNICODE");
        case kCstringType: return word("CSTRING");
        case kVoidType:
        case kOParen:
        case kCParen:
        case kOAngle:
        case kCAngle:
        default: break;
    }
    fail(t.offset, "unknown binary token " + std::to_string(code));
  }
}

}  // namespace vantrel::engine3d
