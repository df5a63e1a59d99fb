#pragma once
// A small RGBA canvas for the surface pictures: filled shapes, grain and a
// soft shadow mask, written as PNG.

#include <cstdint>
#include <string>
#include <vector>

namespace meshgen {

struct Rgb {
    float r, g, b;
};

class Picture {
public:
    Picture(int width, int height, Rgb fill);
    int width() const { return width_; }
    int height() const { return height_; }

    Rgb get(int x, int y) const;
    void set(int x, int y, Rgb c);
    // Blends c over the pixel by weight a (0..1).
    void blend(int x, int y, Rgb c, float a);
    // Rectangles and discs in pixels, edges softened over one pixel.
    void rect(float x0, float y0, float x1, float y1, Rgb c, float a = 1.0f);
    void frame(float x0, float y0, float x1, float y1, float thickness, Rgb c, float a = 1.0f);
    void disc(float cx, float cy, float r, Rgb c, float a = 1.0f);
    void ring(float cx, float cy, float r, float thickness, Rgb c, float a = 1.0f);
    // Brightness times (1 + amount * noise), noise in -1..1 stretched by (sx, sy) pixels.
    void grain(float amount, float sx, float sy, unsigned seed);
    // Each channel times its own (1 + amount * noise): the slight shifts of hue
    // that dirt, wear and uneven paint give a real surface.
    void tint(float amount, float scale, unsigned seed);
    // Multiplies by shade (0..1 per pixel, width * height values).
    void darken(const std::vector<float>& shade);

    // Half the size each way, each pixel the mean of the 2x2 it covers.
    Picture halved() const;

    // Writes the picture; false when the file cannot be written.
    bool writePng(const std::string& path) const;

private:
    int width_, height_;
    std::vector<float> rgb_;
};

// Writes width x height RGBA bytes (top row first) as PNG; false on failure.
bool writeRgbaPng(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgba);

// Smooth value noise in -1..1 at (x, y), one lattice step per unit.
float valueNoise(float x, float y, unsigned seed);

// Box blur of a width x height mask, radius in pixels, three passes.
void blurMask(std::vector<float>& mask, int width, int height, int radius);

}  // namespace meshgen
