#include "model/nameplate_picture.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <mutex>

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_ADVANCES_H

namespace vantrel::model {
namespace {

struct Rgb {
    float r, g, b;
};

// The font of Debian's fonts-dejavu-core; the bold face reads best small.
constexpr const char* kFontFiles[] = {"/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf",
                                      "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"};
constexpr std::size_t kMaxCodePoints = 160;

class Font {
public:
    static Font& get() {
        static Font font;
        return font;
    }
    FT_Face face() const { return face_; }
    std::mutex& lock() { return mutex_; }

private:
    Font() {
        if (FT_Init_FreeType(&library_) != 0) return;
        for (const char* file : kFontFiles)
            if (FT_New_Face(library_, file, 0, &face_) == 0) return;
        face_ = nullptr;
    }
    FT_Library library_ = nullptr;
    FT_Face face_ = nullptr;
    std::mutex mutex_;
};

// Code points of UTF-8 text; a malformed byte reads as '?'.
std::u32string decode(const std::string& text) {
    std::u32string out;
    for (std::size_t i = 0; i < text.size() && out.size() < kMaxCodePoints;) {
        const auto c = static_cast<unsigned char>(text[i]);
        int extra = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
        char32_t cp = extra == 0 ? c : extra == 1 ? (c & 0x1F) : extra == 2 ? (c & 0x0F) : (c & 0x07);
        bool ok = extra >= 0 && i + static_cast<std::size_t>(extra) < text.size();
        for (int k = 1; ok && k <= extra; ++k) {
            const auto n = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
            ok = (n >> 6) == 2;
            cp = (cp << 6) | (n & 0x3F);
        }
        if (!ok || cp < 0x20 || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) {
            out.push_back(c < 0x20 ? U' ' : U'?');
            ++i;
            continue;
        }
        out.push_back(cp);
        i += static_cast<std::size_t>(extra) + 1;
    }
    // Blanks at the ends and runs of blanks say nothing on a sticker.
    std::u32string tidy;
    for (char32_t c : out)
        if (c != U' ' || (!tidy.empty() && tidy.back() != U' ')) tidy.push_back(c);
    while (!tidy.empty() && tidy.back() == U' ') tidy.pop_back();
    return tidy;
}

class Canvas {
public:
    Canvas(int w, int h, Rgb fill) : w_(w), h_(h), rgb_(static_cast<std::size_t>(w) * h, fill) {}
    void blend(int x, int y, Rgb c, float a) {
        if (x < 0 || y < 0 || x >= w_ || y >= h_ || a <= 0) return;
        Rgb& o = rgb_[static_cast<std::size_t>(y) * w_ + x];
        o = {o.r + (c.r - o.r) * a, o.g + (c.g - o.g) * a, o.b + (c.b - o.b) * a};
    }
    void rect(int x0, int y0, int x1, int y1, Rgb c, float a = 1.0f) {
        for (int y = std::max(0, y0); y < std::min(h_, y1); ++y)
            for (int x = std::max(0, x0); x < std::min(w_, x1); ++x) blend(x, y, c, a);
    }
    // Fine streaks, so that plain areas do not read as flat paint.
    void grain(float amount, unsigned seed) {
        unsigned s = seed;
        for (auto& p : rgb_) {
            s = s * 1664525u + 1013904223u;
            const float k = 1 + amount * (static_cast<float>((s >> 8) & 0xFFFF) / 65535.0f - 0.5f);
            p = {p.r * k, p.g * k, p.b * k};
        }
    }
    NameplatePicture take() const {
        NameplatePicture out{w_, h_, {}};
        out.rgba.reserve(rgb_.size() * 4);
        auto byte = [](float v) { return static_cast<std::uint8_t>(std::clamp(v, 0.0f, 1.0f) * 255.0f + 0.5f); };
        for (const auto& p : rgb_) out.rgba.insert(out.rgba.end(), {byte(p.r), byte(p.g), byte(p.b), 255});
        return out;
    }
    int width() const { return w_; }

private:
    int w_, h_;
    std::vector<Rgb> rgb_;
};

struct Style {
    const char* file;
    int width, height;
    Rgb background, ink;
    int areaX0, areaY0, areaX1, areaY1;  // where the name goes
    int largest, smallest;                // pixel sizes tried for the name
};

const Style& styleOf(NameplateKind kind) {
    static const Style kDisk{"disk_label.png", 256, 384, {0.95f, 0.95f, 0.93f}, {0.08f, 0.08f, 0.12f}, 14, 74, 242, 170, 40, 16};
    static const Style kProcessor{"processor_label.png", 320, 200, {0.80f, 0.80f, 0.82f}, {0.18f, 0.18f, 0.2f}, 16, 40, 304, 140, 40, 16};
    static const Style kGraphics{"graphics_label.png", 512, 368, {0.14f, 0.14f, 0.16f}, {0.95f, 0.95f, 0.95f}, 28, 100, 484, 270, 64, 24};
    static const Style kMemory{"memory_label.png", 128, 160, {0.94f, 0.94f, 0.92f}, {0.08f, 0.08f, 0.1f}, 6, 22, 122, 100, 24, 11};
    switch (kind) {
        case NameplateKind::Disk: return kDisk;
        case NameplateKind::Processor: return kProcessor;
        case NameplateKind::Graphics: return kGraphics;
        case NameplateKind::Memory: break;
    }
    return kMemory;
}

// What the sticker shows besides the name: bands, a barcode, small print.
void drawSticker(Canvas& c, NameplateKind kind) {
    const Rgb dark{0.12f, 0.12f, 0.14f}, grey{0.55f, 0.55f, 0.57f};
    switch (kind) {
        case NameplateKind::Disk:
            c.rect(0, 0, 256, 56, {0.10f, 0.22f, 0.48f});
            c.rect(14, 18, 120, 38, {0.85f, 0.88f, 0.95f});
            for (int row = 0; row < 6; ++row) c.rect(14, 190 + 14 * row, 14 + 140 + (row * 37) % 80, 196 + 14 * row, grey);
            for (int k = 0; k < 52; ++k)
                if ((k * 7 + k / 3) % 5 < 3) c.rect(24 + 4 * k, 300, 26 + 4 * k + (k % 2), 350, dark);
            c.rect(200, 190, 240, 230, {0.95f, 0.8f, 0.1f});
            c.rect(0, 376, 256, 384, {0.10f, 0.22f, 0.48f});
            break;
        case NameplateKind::Processor:
            c.grain(0.10f, 7);
            c.rect(16, 150, 200, 158, grey);
            c.rect(16, 166, 150, 174, grey);
            c.rect(290, 170, 304, 184, dark);  // the corner mark
            break;
        case NameplateKind::Graphics:
            c.grain(0.08f, 11);
            c.rect(0, 30, 512, 40, {0.75f, 0.10f, 0.12f});
            c.rect(0, 320, 512, 330, {0.75f, 0.10f, 0.12f});
            c.rect(28, 56, 84, 76, {0.75f, 0.10f, 0.12f});
            for (int k = 0; k < 6; ++k) c.rect(380 + 16 * k, 290, 388 + 16 * k, 306, grey);  // vent slots
            break;
        case NameplateKind::Memory:
            c.rect(0, 0, 128, 16, {0.15f, 0.35f, 0.20f});
            for (int k = 0; k < 28; ++k)
                if ((k * 5 + k / 2) % 4 < 2) c.rect(8 + 4 * k, 118, 10 + 4 * k, 150, dark);
            break;
    }
}

struct Line {
    std::u32string text;
    int width = 0;
};

// Unhinted throughout: the advances are then read without loading outlines,
// and the text is set with the same advances it was measured with.
constexpr FT_Int32 kLoadFlags = FT_LOAD_NO_HINTING;

int advanceOf(FT_Face face, const std::u32string& text) {
    long width = 0;
    for (char32_t c : text) {
        FT_Fixed advance = 0;
        if (FT_Get_Advance(face, FT_Get_Char_Index(face, c), kLoadFlags, &advance) == 0) width += advance >> 16;
    }
    return static_cast<int>(width);
}

// The text in at most two lines of the widest size that fits, cut with an
// ellipsis when even the smallest does not.
std::vector<Line> layout(FT_Face face, const std::u32string& text, const Style& s, int& size) {
    const int areaW = s.areaX1 - s.areaX0, areaH = s.areaY1 - s.areaY0;
    for (size = s.largest; size >= s.smallest; size -= 2) {
        FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(size));
        const int one = advanceOf(face, text);
        if (one <= areaW && size <= areaH) return {{text, one}};
        if (2 * size + size / 4 > areaH) continue;
        // The blank nearest the middle that lets both halves fit.
        std::size_t best = std::u32string::npos;
        for (std::size_t i = 0; i < text.size(); ++i)
            if (text[i] == U' ') {
                const int a = advanceOf(face, text.substr(0, i)), b = advanceOf(face, text.substr(i + 1));
                if (a <= areaW && b <= areaW &&
                    (best == std::u32string::npos || std::abs(static_cast<int>(i) - static_cast<int>(text.size() / 2)) <
                                                         std::abs(static_cast<int>(best) - static_cast<int>(text.size() / 2))))
                    best = i;
            }
        if (best != std::u32string::npos) {
            const std::u32string a = text.substr(0, best), b = text.substr(best + 1);
            return {{a, advanceOf(face, a)}, {b, advanceOf(face, b)}};
        }
    }
    size = s.smallest;
    FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(size));
    std::u32string cut = text;
    while (!cut.empty() && advanceOf(face, cut + U"\u2026") > areaW) cut.pop_back();
    cut += U"\u2026";
    return {{cut, advanceOf(face, cut)}};
}

void setText(Canvas& c, FT_Face face, const std::vector<Line>& lines, int size, const Style& s) {
    const int lineHeight = size + size / 4;
    const int total = lineHeight * static_cast<int>(lines.size()) - size / 4;
    int baseline = s.areaY0 + (s.areaY1 - s.areaY0 - total) / 2 + size * 4 / 5;
    for (const auto& line : lines) {
        int pen = s.areaX0 + (s.areaX1 - s.areaX0 - line.width) / 2;
        for (char32_t ch : line.text) {
            if (FT_Load_Char(face, ch, FT_LOAD_RENDER | kLoadFlags) != 0) continue;
            const FT_GlyphSlot g = face->glyph;
            for (unsigned row = 0; row < g->bitmap.rows; ++row)
                for (unsigned col = 0; col < g->bitmap.width; ++col) {
                    const float a = g->bitmap.buffer[row * static_cast<unsigned>(g->bitmap.pitch) + col] / 255.0f;
                    c.blend(pen + g->bitmap_left + static_cast<int>(col), baseline - g->bitmap_top + static_cast<int>(row), s.ink, a);
                }
            FT_Fixed advance = 0;
            if (FT_Get_Advance(face, FT_Get_Char_Index(face, ch), kLoadFlags, &advance) == 0) pen += static_cast<int>(advance >> 16);
        }
        baseline += lineHeight;
    }
}

}  // namespace

const char* nameplateFile(NameplateKind kind) { return styleOf(kind).file; }

bool nameplateFontAvailable() { return Font::get().face() != nullptr; }

NameplatePicture drawNameplate(NameplateKind kind, const std::string& text) {
    const Style& s = styleOf(kind);
    Canvas c(s.width, s.height, s.background);
    drawSticker(c, kind);
    const std::u32string letters = decode(text);
    Font& font = Font::get();
    if (!letters.empty() && font.face()) {
        std::lock_guard guard(font.lock());
        int size = s.largest;
        const auto lines = layout(font.face(), letters, s, size);
        setText(c, font.face(), lines, size, s);
    }
    return c.take();
}

}  // namespace vantrel::model
