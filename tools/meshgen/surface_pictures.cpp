#include "surface_pictures.h"

#include <algorithm>
#include <cmath>

namespace meshgen::pictures {
namespace {

constexpr Rgb kBlack{0.02f, 0.02f, 0.025f};
constexpr Rgb kGoldPad{0.86f, 0.68f, 0.30f};

// A fixed sequence, so every build draws the same pictures.
class Dice {
public:
    explicit Dice(unsigned seed) : state_(seed * 2654435761u + 1) {}
    float next() {
        state_ ^= state_ << 13, state_ ^= state_ >> 17, state_ ^= state_ << 5;
        return static_cast<float>(state_ % 100000) / 100000.0f;
    }
    float between(float a, float b) { return a + (b - a) * next(); }

private:
    unsigned state_;
};

// The top face of a box seen from above, in model units, mapped to pixels as
// the mesh writer stretches it (x to the right, z upwards in the picture).
struct Surface {
    float y, x0, z0, x1, z1;
    int width, height;
    float px(float x) const { return (x - x0) / (x1 - x0) * static_cast<float>(width); }
    float py(float z) const { return (z1 - z) / (z1 - z0) * static_cast<float>(height); }
};

struct Footprint {
    float x0, y0, z0, x1, y1, z1;
};

// Boxes of whatever stands on the surface (its foot within a few millimetres of it).
// Only frames named in `only`, when given: the floor and the desk show the
// shadows of what is always there, not of drives and devices a report may
// leave out.
std::vector<Footprint> standingOn(const std::vector<MeshFileSpec>& table, const Surface& s,
                                  const std::vector<std::string>& only = {}) {
    std::vector<Footprint> out;
    for (const auto& file : table)
        for (const auto& frame : file.frames)
            for (const auto& p : frame.primitives) {
                if (!only.empty() && std::find(only.begin(), only.end(), frame.name) == only.end()) continue;
                if (std::fabs(p.lo.y - s.y) > 0.03f || p.hi.y < s.y + 0.01f) continue;
                if (p.hi.x <= s.x0 || p.lo.x >= s.x1 || p.hi.z <= s.z0 || p.lo.z >= s.z1) continue;
                if (p.hi.x - p.lo.x > 0.99f * (s.x1 - s.x0) && p.hi.z - p.lo.z > 0.99f * (s.z1 - s.z0)) continue;  // the surface itself
                out.push_back({p.lo.x, p.lo.y, p.lo.z, p.hi.x, p.hi.y, p.hi.z});
            }
    return out;
}

// Light that reaches the surface: dark under and around what stands on it,
// darker for taller things.
std::vector<float> contactShade(const Surface& s, const std::vector<Footprint>& feet, float strength, int radius) {
    std::vector<float> mask(static_cast<std::size_t>(s.width) * s.height, 0.0f);
    for (const auto& f : feet) {
        const float weight = std::min(1.0f, 0.45f + 1.5f * (f.y1 - f.y0));
        const int x0 = std::max(0, static_cast<int>(s.px(f.x0))), x1 = std::min(s.width - 1, static_cast<int>(s.px(f.x1)));
        const int y0 = std::max(0, static_cast<int>(s.py(f.z1))), y1 = std::min(s.height - 1, static_cast<int>(s.py(f.z0)));
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) {
                float& m = mask[static_cast<std::size_t>(y) * s.width + x];
                m = std::max(m, weight);
            }
    }
    blurMask(mask, s.width, s.height, radius);
    for (float& m : mask) m = 1.0f - strength * std::min(1.0f, m);
    return mask;
}

// Copper traces in straight runs with 45-degree turns' stand-in (an L), and vias.
void traces(Picture& p, Dice& dice, int count, Rgb colour, float width) {
    for (int i = 0; i < count; ++i) {
        float x = dice.between(0, static_cast<float>(p.width())), y = dice.between(0, static_cast<float>(p.height()));
        const int legs = 2 + static_cast<int>(dice.next() * 3);
        for (int l = 0; l < legs; ++l) {
            const float len = dice.between(20, 160);
            const bool across = (l + i) % 2 == 0;
            const float sign = dice.next() < 0.5f ? -1.0f : 1.0f;
            const float nx = across ? x + sign * len : x, ny = across ? y : y + sign * len;
            p.rect(std::min(x, nx) - width / 2, std::min(y, ny) - width / 2, std::max(x, nx) + width / 2,
                   std::max(y, ny) + width / 2, colour, 0.9f);
            x = nx, y = ny;
        }
        p.ring(x, y, width * 1.6f, width * 0.8f, kGoldPad, 0.9f);
    }
}

Picture motherboard(const std::vector<MeshFileSpec>& table) {
    const Surface s{-2.99f, -1.85f, 1.7f, 4.35f, 6.2f, 1024, 744};
    Picture p(s.width, s.height, {0.06f, 0.34f, 0.15f});
    p.grain(0.10f, 50, 50, 12);
    p.tint(0.12f, 20, 13);
    Dice dice(11);
    traces(p, dice, 260, {0.10f, 0.44f, 0.20f}, 2.2f);
    p.grain(0.07f, 3, 3, 5);
    const auto feet = standingOn(table, s);
    // Silkscreen outlines around every component, and its reference text.
    for (const auto& f : feet) {
        const float x0 = s.px(f.x0) - 4, x1 = s.px(f.x1) + 4, y0 = s.py(f.z1) - 4, y1 = s.py(f.z0) + 4;
        p.frame(x0, y0, x1, y1, 1.5f, {0.92f, 0.92f, 0.88f}, 0.85f);
        const int marks = 2 + static_cast<int>(dice.next() * 3);
        for (int m = 0; m < marks; ++m) p.rect(x0 + 6.0f * m, y1 + 3, x0 + 6.0f * m + 4, y1 + 9, {0.92f, 0.92f, 0.88f}, 0.8f);
    }
    // Mounting holes over the standoffs.
    for (float x : {-1.7f, 0.5f, 3.9f})
        for (float z : {1.9f, 4.0f, 6.0f}) {
            p.disc(s.px(x), s.py(z), 9, kGoldPad);
            p.disc(s.px(x), s.py(z), 5, {0.55f, 0.55f, 0.5f});
        }
    // Lighter than the others: some of what stands here is left out by a report.
    p.darken(contactShade(s, feet, 0.4f, 7));
    return p;
}

Picture caseFloor(const std::vector<MeshFileSpec>& table) {
    const Surface s{-3.2f, -4.4f, -1.7f, 4.4f, 6.25f, 704, 636};
    Picture p(s.width, s.height, {0.78f, 0.79f, 0.81f});
    p.grain(0.06f, 40, 40, 22);
    p.grain(0.05f, 2, 2, 21);
    p.tint(0.025f, 25, 23);
    // Stamped ribs and rows of vent slots.
    for (int r = 0; r < 3; ++r) p.rect(60, 120.0f + 180 * r, 640, 128.0f + 180 * r, {0.6f, 0.61f, 0.63f}, 0.6f);
    for (int k = 0; k < 14; ++k) p.rect(420.0f + 16 * k, 40, 428.0f + 16 * k, 90, {0.15f, 0.15f, 0.16f});
    p.darken(contactShade(s, standingOn(table, s, {"BoardStandoffs", "LeftPillar", "RightPillar", "BackPanel"}), 0.6f, 10));
    return p;
}

Picture desk(const std::vector<MeshFileSpec>& table) {
    const Surface s{-3.3f, -8.0f, -2.0f, 9.5f, 13.0f, 1024, 878};
    Picture p(s.width, s.height, {0.60f, 0.44f, 0.28f});
    // Planks along x, each its own tone, with grain lines wide enough to
    // survive the view's smaller mip levels, and knots here and there.
    constexpr float kPlank = 73.0f;
    for (int y = 0; y < p.height(); ++y) {
        const int plank = static_cast<int>(static_cast<float>(y) / kPlank);
        const float tone = 0.12f * valueNoise(static_cast<float>(plank) * 3.1f, 0.5f, 34);
        const float shift = static_cast<float>(plank * 211 % 500);
        for (int x = 0; x < p.width(); ++x) {
            const float fx = static_cast<float>(x) + shift, fy = static_cast<float>(y);
            const float wave = valueNoise(fx / 260.0f, fy / 60.0f, 35) * 6.0f;
            const float lines = valueNoise(fx / 180.0f, (fy + wave) / 9.0f, 31);
            const float fine = valueNoise(fx / 40.0f, fy / 2.5f, 32);
            const float k = 1 + tone + 0.16f * lines + 0.05f * fine;
            // Darker lines are also redder, as in real grain.
            p.set(x, y, {0.62f * k, 0.45f * k * (1 - 0.04f * lines), 0.29f * k * (1 - 0.10f * lines)});
        }
        if (y % static_cast<int>(kPlank) == 0) p.rect(0, static_cast<float>(y), static_cast<float>(p.width()), static_cast<float>(y) + 1.5f, {0.30f, 0.2f, 0.12f}, 0.7f);
    }
    p.tint(0.08f, 30, 36);
    p.darken(contactShade(s, standingOn(table, s, {"CaseFloor"}), 0.65f, 14));
    return p;
}

Picture brushed() {
    Picture p(256, 256, {0.92f, 0.92f, 0.93f});
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) {
            const float n = 0.6f * valueNoise(x / 60.0f, y / 0.7f, 41) + 0.4f * valueNoise(x / 9.0f, y / 0.5f, 42);
            const float k = 1 + 0.09f * n;
            p.set(x, y, {0.92f * k, 0.92f * k, 0.93f * k});
        }
    return p;
}

Picture painted() {
    Picture p(256, 256, {0.95f, 0.95f, 0.95f});
    p.grain(0.06f, 1.2f, 1.2f, 51);
    p.grain(0.07f, 32, 32, 52);
    p.tint(0.04f, 20, 53);
    return p;
}

Picture grille() {
    Picture p(128, 128, {0.55f, 0.55f, 0.57f});
    p.grain(0.04f, 2, 2, 61);
    // Honeycomb: staggered round holes showing the dark inside.
    for (int row = 0; row < 5; ++row)
        for (int col = -1; col < 5; ++col) {
            const float cx = 12.8f + 25.6f * col + (row % 2 ? 12.8f : 0), cy = 12.8f + 25.6f * row;
            p.disc(cx, cy, 10, {0.05f, 0.05f, 0.06f});
            p.ring(cx, cy, 11.5f, 1.5f, {0.8f, 0.8f, 0.82f}, 0.6f);
        }
    return p;
}

// A card's board seen on its side: traces, parts' pads, gold fingers at the bottom.
Picture cardBoard(Rgb base, unsigned seed) {
    Picture p(512, 256, base);
    Dice dice(seed);
    traces(p, dice, 90, {base.r * 1.5f + 0.03f, base.g * 1.4f + 0.03f, base.b * 1.4f + 0.03f}, 1.8f);
    for (int i = 0; i < 14; ++i) {
        const float x = dice.between(20, 480), y = dice.between(20, 200);
        p.rect(x, y, x + dice.between(8, 30), y + dice.between(6, 20), {0.1f, 0.1f, 0.11f});
    }
    for (int k = 0; k < 40; ++k) p.rect(120.0f + 8 * k, 236, 125.0f + 8 * k, 256, kGoldPad);
    p.grain(0.06f, 2, 2, seed + 1);
    return p;
}

// A memory module's face: eight chips, a serial-number strip, gold contacts
// and the notch's gap.
Picture memoryBoard() {
    Picture p(512, 228, {0.07f, 0.38f, 0.17f});
    Dice dice(71);
    traces(p, dice, 40, {0.12f, 0.5f, 0.24f}, 1.5f);
    for (int c = 0; c < 8; ++c) {
        if (c == 4) continue;  // the middle stays free for the sticker
        const float x = 18.0f + 60 * c;
        p.rect(x + 3, 58, x + 47, 158, {0.0f, 0.12f, 0.05f}, 0.5f);
        p.rect(x, 55, x + 44, 155, {0.09f, 0.09f, 0.1f});
        p.disc(x + 6, 61, 2, {0.35f, 0.35f, 0.35f});
        p.rect(x + 8, 95, x + 36, 99, {0.4f, 0.4f, 0.42f}, 0.7f);
    }
    for (int k = 0; k < 60; ++k) {
        const float x = 12.0f + 8.2f * k;
        if (x > 200 && x < 216) continue;
        p.rect(x, 200, x + 5.5f, 228, kGoldPad);
    }
    p.grain(0.06f, 2, 2, 72);
    return p;
}

Picture chip() {
    Picture p(128, 128, {0.10f, 0.10f, 0.11f});
    p.grain(0.12f, 1.5f, 1.5f, 81);
    p.disc(18, 18, 6, {0.05f, 0.05f, 0.05f});
    p.rect(30, 56, 98, 62, {0.45f, 0.45f, 0.47f}, 0.8f);
    p.rect(30, 70, 80, 75, {0.45f, 0.45f, 0.47f}, 0.6f);
    // Pins along the edges.
    for (int k = 0; k < 12; ++k) {
        p.rect(8.0f + 10 * k, 0, 12.0f + 10 * k, 4, {0.75f, 0.75f, 0.75f});
        p.rect(8.0f + 10 * k, 124, 12.0f + 10 * k, 128, {0.75f, 0.75f, 0.75f});
    }
    return p;
}

Picture fanSticker() {
    Picture p(128, 128, {0.12f, 0.12f, 0.13f});
    p.disc(64, 64, 62, {0.85f, 0.84f, 0.80f});
    p.ring(64, 64, 56, 6, {0.75f, 0.12f, 0.10f});
    p.rect(34, 52, 94, 60, {0.2f, 0.2f, 0.2f});
    p.rect(40, 68, 88, 73, {0.35f, 0.35f, 0.35f});
    p.grain(0.04f, 2, 2, 91);
    return p;
}

// The case front's panel: power and reset buttons, lamps, a vent.
Picture frontPanel() {
    Picture p(512, 85, {0.22f, 0.22f, 0.24f});
    p.grain(0.05f, 1.5f, 1.5f, 101);
    p.disc(440, 42, 30, {0.08f, 0.08f, 0.09f});
    p.disc(440, 42, 25, {0.30f, 0.30f, 0.33f});
    p.ring(440, 42, 13, 3, {0.7f, 0.85f, 1.0f});
    p.rect(438, 25, 442, 40, {0.7f, 0.85f, 1.0f});
    p.disc(380, 42, 9, {0.08f, 0.08f, 0.09f});
    p.disc(380, 42, 6, {0.35f, 0.35f, 0.38f});
    p.disc(345, 30, 4, {0.2f, 1.0f, 0.35f});
    p.disc(345, 54, 4, {1.0f, 0.6f, 0.1f});
    for (int k = 0; k < 10; ++k) p.rect(250.0f + 8 * k, 20, 254.0f + 8 * k, 64, {0.06f, 0.06f, 0.07f});
    return p;
}

Picture driveBezel() {
    Picture p(256, 64, {0.13f, 0.13f, 0.14f});
    p.grain(0.08f, 1.2f, 1.2f, 111);
    p.rect(0, 30, 256, 31, {0.05f, 0.05f, 0.05f});
    return p;
}

// Socket faces as seen from behind, light where the housing is, dark openings.
Picture usbFace() {
    Picture p(128, 64, {0.85f, 0.85f, 0.86f});
    p.rect(8, 8, 120, 56, {0.03f, 0.03f, 0.04f});
    p.rect(18, 22, 110, 34, {0.12f, 0.12f, 0.14f});
    for (int k = 0; k < 4; ++k) p.rect(26.0f + 22 * k, 24, 38.0f + 22 * k, 27, kGoldPad);
    return p;
}

Picture networkFace() {
    Picture p(128, 128, {0.85f, 0.85f, 0.86f});
    p.rect(14, 22, 114, 112, {0.04f, 0.04f, 0.05f});
    p.rect(44, 102, 84, 120, {0.04f, 0.04f, 0.05f});
    for (int k = 0; k < 8; ++k) p.rect(24.0f + 11 * k, 26, 30.0f + 11 * k, 44, kGoldPad);
    p.rect(16, 8, 34, 18, {0.2f, 0.9f, 0.3f});
    p.rect(94, 8, 112, 18, {1.0f, 0.65f, 0.1f});
    return p;
}

// A D-sub: trapezoid shell with two rows of pins, the colour from the material.
Picture dsubFace() {
    Picture p(256, 96, {1.0f, 1.0f, 1.0f});
    p.disc(18, 48, 10, {0.55f, 0.55f, 0.57f});
    p.disc(238, 48, 10, {0.55f, 0.55f, 0.57f});
    for (int y = 18; y < 78; ++y) {
        const float inset = 40 + (y - 18) * 0.25f;
        p.rect(inset, static_cast<float>(y), 256 - inset, static_cast<float>(y + 1), {0.72f, 0.72f, 0.74f});
    }
    for (int y = 24; y < 72; ++y) {
        const float inset = 48 + (y - 24) * 0.25f;
        p.rect(inset, static_cast<float>(y), 256 - inset, static_cast<float>(y + 1), {0.15f, 0.15f, 0.16f});
    }
    for (int k = 0; k < 13; ++k) p.disc(60.0f + 11.5f * k, 38, 2.5f, kGoldPad);
    for (int k = 0; k < 12; ++k) p.disc(66.0f + 11.5f * k, 58, 2.5f, kGoldPad);
    return p;
}

Picture hdmiFace() {
    Picture p(128, 48, {0.82f, 0.82f, 0.84f});
    p.rect(8, 8, 120, 40, kBlack);
    p.rect(20, 16, 108, 26, {0.2f, 0.2f, 0.22f});
    return p;
}

Picture capacitorSleeve() {
    Picture p(128, 64, {1.0f, 1.0f, 1.0f});
    p.rect(0, 8, 20, 64, {0.75f, 0.75f, 0.8f});
    for (int k = 0; k < 4; ++k) p.rect(4, 14.0f + 12 * k, 16, 18.0f + 12 * k, {0.2f, 0.2f, 0.25f});
    p.rect(0, 0, 128, 5, {0.7f, 0.7f, 0.74f});
    p.grain(0.05f, 3, 3, 121);
    return p;
}

// A ferrite choke's top: dark grey with its value printed in light ink; the
// border stays plain, as the block's sides show it.
Picture choke() {
    Picture p(64, 64, {0.20f, 0.20f, 0.21f});
    p.grain(0.10f, 1.5f, 1.5f, 141);
    p.rect(14, 22, 50, 30, {0.80f, 0.80f, 0.78f}, 0.85f);
    p.rect(20, 36, 44, 42, {0.80f, 0.80f, 0.78f}, 0.7f);
    p.disc(12, 12, 3, {0.80f, 0.80f, 0.78f}, 0.7f);
    return p;
}

// A maker's sticker: logo band, rows of small print, a barcode.
Picture serialLabel() {
    Picture p(256, 256, {0.94f, 0.94f, 0.92f});
    p.rect(0, 0, 256, 40, {0.55f, 0.08f, 0.10f});
    p.rect(16, 12, 110, 28, {0.95f, 0.9f, 0.9f});
    for (int row = 0; row < 7; ++row) p.rect(16, 58.0f + 16 * row, 16.0f + 120 + (row * 53) % 90, 64.0f + 16 * row, {0.45f, 0.45f, 0.47f});
    for (int k = 0; k < 48; ++k)
        if ((k * 7 + k / 3) % 5 < 3) p.rect(24.0f + 4.4f * k, 190, 26.0f + 4.4f * k + static_cast<float>(k % 2), 236, kBlack);
    p.rect(190, 60, 236, 106, {0.2f, 0.2f, 0.22f});
    p.rect(196, 66, 230, 100, {0.94f, 0.94f, 0.92f});
    p.grain(0.03f, 2, 2, 131);
    return p;
}

// A connector's mouth seen from above: square holes with the pins' tips in
// them; the housing's colour comes from the material.
Picture pinHeader() {
    Picture p(128, 64, {1.0f, 1.0f, 1.0f});
    for (int row = 0; row < 2; ++row)
        for (int col = 0; col < 8; ++col) {
            const float x = 6.0f + 15.5f * col, y = 8.0f + 26 * row;
            p.rect(x, y, x + 11, y + 20, {0.08f, 0.08f, 0.09f});
            p.rect(x + 4, y + 7, x + 7, y + 13, kGoldPad);
        }
    p.grain(0.04f, 2, 2, 141);
    return p;
}

// The SATA socket's L-shaped slot.
Picture sataMouth() {
    Picture p(64, 128, {1.0f, 1.0f, 1.0f});
    p.rect(24, 10, 40, 118, {0.06f, 0.06f, 0.07f});
    p.rect(24, 10, 52, 24, {0.06f, 0.06f, 0.07f});
    for (int k = 0; k < 10; ++k) p.rect(28, 30.0f + 8.5f * k, 32, 34.0f + 8.5f * k, kGoldPad);
    p.grain(0.04f, 2, 2, 151);
    return p;
}

Picture keys() {
    Picture p(64, 512, {0.9f, 0.9f, 0.88f});
    for (int k = 0; k < 20; ++k) p.rect(4, 4.0f + 25.5f * k, 60, 23.0f + 25.5f * k, {1.0f, 1.0f, 0.98f});
    for (int k = 0; k < 20; ++k) p.rect(24, 10.0f + 25.5f * k, 30, 16.0f + 25.5f * k, {0.3f, 0.3f, 0.3f}, 0.8f);
    return p;
}

}  // namespace

std::vector<std::pair<std::string, Picture>> surfacePictures(const std::vector<MeshFileSpec>& table) {
    std::vector<std::pair<std::string, Picture>> out;
    out.emplace_back(kMotherboard, motherboard(table));
    // The floor and the desk are seen at a slant from afar and carry soft
    // shadows: drawn at full size and kept at half, as the view would sample
    // them anyway. Their uploads were a third of the first frame's texture work.
    out.emplace_back(kCaseFloor, caseFloor(table).halved());
    out.emplace_back(kDesk, desk(table).halved());
    out.emplace_back(kBrushed, brushed());
    out.emplace_back(kPainted, painted());
    out.emplace_back(kGrille, grille());
    out.emplace_back(kCardBoard, cardBoard({0.08f, 0.36f, 0.17f}, 131));
    out.emplace_back(kVideoBoard, cardBoard({0.08f, 0.10f, 0.40f}, 141));
    out.emplace_back(kMemoryBoard, memoryBoard());
    out.emplace_back(kChip, chip());
    out.emplace_back(kFanSticker, fanSticker());
    out.emplace_back(kFrontPanel, frontPanel());
    out.emplace_back(kDriveBezel, driveBezel());
    out.emplace_back(kUsbFace, usbFace());
    out.emplace_back(kNetworkFace, networkFace());
    out.emplace_back(kDsubFace, dsubFace());
    out.emplace_back(kHdmiFace, hdmiFace());
    out.emplace_back(kCapacitorSleeve, capacitorSleeve());
    out.emplace_back(kChoke, choke());
    out.emplace_back(kKeys, keys());
    out.emplace_back(kSerialLabel, serialLabel());
    out.emplace_back(kPinHeader, pinHeader());
    out.emplace_back(kSataMouth, sataMouth());
    return out;
}

}  // namespace meshgen::pictures
