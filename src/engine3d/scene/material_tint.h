#pragma once
// A colour laid over every material of a frame and the frames below it: the
// diffuse and ambient colours become the tint's and the lights work on them
// as before; textures are left off, so that the colour reads the same on
// every part; an alpha under 1 draws the frame with the translucent subsets.

#include "engine3d/math/d3d_types.h"

namespace vantrel::engine3d {

struct MaterialTint {
    float r = 1, g = 1, b = 1;
    float alpha = 1;  // the most opaque the tinted subsets are drawn
    friend bool operator==(const MaterialTint&, const MaterialTint&) = default;
};

inline D3DMATERIAL8 tintedMaterial(D3DMATERIAL8 material, const MaterialTint& tint) {
    material.Diffuse = {tint.r, tint.g, tint.b, material.Diffuse.a < tint.alpha ? material.Diffuse.a : tint.alpha};
    material.Ambient = {tint.r, tint.g, tint.b, material.Ambient.a};
    return material;
}

}  // namespace vantrel::engine3d
