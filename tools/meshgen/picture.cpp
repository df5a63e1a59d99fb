#include "picture.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>

#include "render_gl/png_codec.h"

namespace meshgen {
namespace {

float clamp01(float v) { return std::min(1.0f, std::max(0.0f, v)); }

float hash(int x, int y, unsigned seed) {
    unsigned h = static_cast<unsigned>(x) * 374761393u + static_cast<unsigned>(y) * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return static_cast<float>(h & 0xFFFFFF) / static_cast<float>(0xFFFFFF) * 2.0f - 1.0f;
}

// Coverage of a pixel by the span [a, b] along one axis, for soft edges.
float cover(float p, float a, float b) { return clamp01(std::min(p + 1.0f, b) - std::max(p, a)); }

}  // namespace

float valueNoise(float x, float y, unsigned seed) {
    const int x0 = static_cast<int>(std::floor(x)), y0 = static_cast<int>(std::floor(y));
    const float fx = x - static_cast<float>(x0), fy = y - static_cast<float>(y0);
    const float sx = fx * fx * (3 - 2 * fx), sy = fy * fy * (3 - 2 * fy);
    const float a = hash(x0, y0, seed), b = hash(x0 + 1, y0, seed), c = hash(x0, y0 + 1, seed), d = hash(x0 + 1, y0 + 1, seed);
    return (a + (b - a) * sx) * (1 - sy) + (c + (d - c) * sx) * sy;
}

void blurMask(std::vector<float>& mask, int width, int height, int radius) {
    if (radius < 1) return;
    std::vector<float> line;
    for (int pass = 0; pass < 3; ++pass) {
        for (int dir = 0; dir < 2; ++dir) {
            const int n = dir == 0 ? width : height, lines = dir == 0 ? height : width;
            line.resize(static_cast<std::size_t>(n));
            for (int l = 0; l < lines; ++l) {
                auto cell = [&](int i) -> float& {
                    return dir == 0 ? mask[static_cast<std::size_t>(l) * width + i] : mask[static_cast<std::size_t>(i) * width + l];
                };
                for (int i = 0; i < n; ++i) line[static_cast<std::size_t>(i)] = cell(i);
                float sum = 0;
                int count = 0;
                for (int i = -radius; i <= radius; ++i)
                    if (i >= 0 && i < n) sum += line[static_cast<std::size_t>(i)], ++count;
                for (int i = 0; i < n; ++i) {
                    cell(i) = sum / static_cast<float>(count);
                    const int out = i - radius, in = i + radius + 1;
                    if (out >= 0) sum -= line[static_cast<std::size_t>(out)], --count;
                    if (in < n) sum += line[static_cast<std::size_t>(in)], ++count;
                }
            }
        }
    }
}

Picture::Picture(int width, int height, Rgb fill) : width_(width), height_(height) {
    rgb_.resize(static_cast<std::size_t>(width) * height * 3);
    for (std::size_t i = 0; i < rgb_.size(); i += 3) rgb_[i] = fill.r, rgb_[i + 1] = fill.g, rgb_[i + 2] = fill.b;
}

Rgb Picture::get(int x, int y) const {
    const std::size_t i = (static_cast<std::size_t>(y) * width_ + x) * 3;
    return {rgb_[i], rgb_[i + 1], rgb_[i + 2]};
}

void Picture::set(int x, int y, Rgb c) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    const std::size_t i = (static_cast<std::size_t>(y) * width_ + x) * 3;
    rgb_[i] = c.r, rgb_[i + 1] = c.g, rgb_[i + 2] = c.b;
}

void Picture::blend(int x, int y, Rgb c, float a) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_ || a <= 0) return;
    const Rgb o = get(x, y);
    set(x, y, {o.r + (c.r - o.r) * a, o.g + (c.g - o.g) * a, o.b + (c.b - o.b) * a});
}

void Picture::rect(float x0, float y0, float x1, float y1, Rgb c, float a) {
    for (int y = std::max(0, static_cast<int>(y0) - 1); y <= std::min(height_ - 1, static_cast<int>(y1) + 1); ++y)
        for (int x = std::max(0, static_cast<int>(x0) - 1); x <= std::min(width_ - 1, static_cast<int>(x1) + 1); ++x)
            blend(x, y, c, a * cover(static_cast<float>(x), x0, x1) * cover(static_cast<float>(y), y0, y1));
}

void Picture::frame(float x0, float y0, float x1, float y1, float t, Rgb c, float a) {
    rect(x0, y0, x1, y0 + t, c, a);
    rect(x0, y1 - t, x1, y1, c, a);
    rect(x0, y0 + t, x0 + t, y1 - t, c, a);
    rect(x1 - t, y0 + t, x1, y1 - t, c, a);
}

void Picture::disc(float cx, float cy, float r, Rgb c, float a) {
    for (int y = std::max(0, static_cast<int>(cy - r) - 1); y <= std::min(height_ - 1, static_cast<int>(cy + r) + 1); ++y)
        for (int x = std::max(0, static_cast<int>(cx - r) - 1); x <= std::min(width_ - 1, static_cast<int>(cx + r) + 1); ++x) {
            const float d = std::hypot(static_cast<float>(x) + 0.5f - cx, static_cast<float>(y) + 0.5f - cy);
            blend(x, y, c, a * clamp01(r - d + 0.5f));
        }
}

void Picture::ring(float cx, float cy, float r, float t, Rgb c, float a) {
    for (int y = std::max(0, static_cast<int>(cy - r) - 1); y <= std::min(height_ - 1, static_cast<int>(cy + r) + 1); ++y)
        for (int x = std::max(0, static_cast<int>(cx - r) - 1); x <= std::min(width_ - 1, static_cast<int>(cx + r) + 1); ++x) {
            const float d = std::hypot(static_cast<float>(x) + 0.5f - cx, static_cast<float>(y) + 0.5f - cy);
            blend(x, y, c, a * clamp01(r - d + 0.5f) * clamp01(d - (r - t) + 0.5f));
        }
}

void Picture::grain(float amount, float sx, float sy, unsigned seed) {
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) {
            const float n = 0.65f * valueNoise(x / sx, y / sy, seed) + 0.35f * valueNoise(x / (sx * 0.37f), y / (sy * 0.37f), seed + 7);
            const float k = 1 + amount * n;
            const Rgb o = get(x, y);
            set(x, y, {o.r * k, o.g * k, o.b * k});
        }
}

void Picture::tint(float amount, float scale, unsigned seed) {
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) {
            const float fx = static_cast<float>(x) / scale, fy = static_cast<float>(y) / scale;
            const Rgb o = get(x, y);
            set(x, y, {o.r * (1 + amount * valueNoise(fx, fy, seed)), o.g * (1 + amount * valueNoise(fx, fy, seed + 1)),
                       o.b * (1 + amount * valueNoise(fx, fy, seed + 2))});
        }
}

Picture Picture::halved() const {
    Picture half(std::max(1, width_ / 2), std::max(1, height_ / 2), {0, 0, 0});
    for (int y = 0; y < half.height_; ++y)
        for (int x = 0; x < half.width_; ++x) {
            const int x1 = std::min(2 * x + 1, width_ - 1), y1 = std::min(2 * y + 1, height_ - 1);
            const Rgb a = get(2 * x, 2 * y), b = get(x1, 2 * y), c = get(2 * x, y1), d = get(x1, y1);
            half.set(x, y, {(a.r + b.r + c.r + d.r) / 4, (a.g + b.g + c.g + d.g) / 4, (a.b + b.b + c.b + d.b) / 4});
        }
    return half;
}

void Picture::darken(const std::vector<float>& shade) {
    for (std::size_t i = 0; i < shade.size() && i * 3 < rgb_.size(); ++i)
        for (int k = 0; k < 3; ++k) rgb_[i * 3 + static_cast<std::size_t>(k)] *= shade[i];
}

namespace {

bool writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file.flush());
}

// Written once at build time and read at every start: the smallest files
// libdeflate makes in reasonable time, in the plain form the fast reader takes.
constexpr int kPngLevel = 9;

}  // namespace

bool writeRgbaPng(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgba) {
    const vantrel::render_gl::RgbaImage image{width, height, rgba};
    return writeFile(path, vantrel::render_gl::encodePng(image, vantrel::render_gl::PngChannels::Rgba, kPngLevel));
}

bool Picture::writePng(const std::string& path) const {
    vantrel::render_gl::RgbaImage image{width_, height_, std::vector<std::uint8_t>(static_cast<std::size_t>(width_) * height_ * 4, 255)};
    for (std::size_t i = 0, n = static_cast<std::size_t>(width_) * height_; i < n; ++i)
        for (std::size_t k = 0; k < 3; ++k)
            image.pixels[i * 4 + k] = static_cast<std::uint8_t>(std::lround(clamp01(rgb_[i * 3 + k]) * 255));
    return writeFile(path, vantrel::render_gl::encodePng(image, vantrel::render_gl::PngChannels::Rgb, kPngLevel));
}

}  // namespace meshgen
