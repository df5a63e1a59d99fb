#include "collect/text_case.h"

namespace vantrel {
namespace {

// Upper and lower case as the Windows (Western) code page knows them: the
// ASCII letters, the accented letters of Latin-1 and Š, Œ, Ž, Ÿ. Values are
// UTF-8; every letter mapped here is two bytes long in either case, so a
// value keeps its length, and bytes that are not such a letter stay as they are.
char32_t lowerLetter(char32_t c) {
    if ((c >= U'A' && c <= U'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 0x20;
    switch (c) {
        case 0x160: case 0x152: case 0x17D: return c + 1;  // Š Œ Ž
        case 0x178: return 0xFF;                          // Ÿ
        default: return c;
    }
}

char32_t upperLetter(char32_t c) {
    if ((c >= U'a' && c <= U'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) return c - 0x20;
    switch (c) {
        case 0x161: case 0x153: case 0x17E: return c - 1;  // š œ ž
        case 0xFF: return 0x178;                          // ÿ
        default: return c;
    }
}

std::string mapLetters(std::string s, char32_t (*map)(char32_t)) {
    for (std::size_t i = 0; i < s.size(); ++i) {
        const auto b0 = static_cast<unsigned char>(s[i]);
        if (b0 < 0x80) {
            s[i] = static_cast<char>(map(b0));
            continue;
        }
        if ((b0 & 0xE0) != 0xC0 || i + 1 >= s.size()) continue;
        const auto b1 = static_cast<unsigned char>(s[i + 1]);
        if ((b1 & 0xC0) != 0x80) continue;
        const char32_t c = (static_cast<char32_t>(b0 & 0x1F) << 6) | (b1 & 0x3F);
        if (c < 0x80) continue;  // an overlong form is no letter
        const char32_t m = map(c);
        s[i] = static_cast<char>(0xC0 | (m >> 6));
        s[i + 1] = static_cast<char>(0x80 | (m & 0x3F));
        ++i;
    }
    return s;
}


}  // namespace

std::string upperCase(std::string text) { return mapLetters(std::move(text), upperLetter); }
std::string lowerCase(std::string text) { return mapLetters(std::move(text), lowerLetter); }

}  // namespace vantrel
