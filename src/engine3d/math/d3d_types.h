#pragma once
// Value types of the 3D framework under their Direct3D 8 names. Row vectors,
// left-handed, single precision: v' = v x M, translation in the fourth row.

#include <cstdint>

namespace vantrel::engine3d {

using DWORD = std::uint32_t;

struct D3DVECTOR {
    float x = 0, y = 0, z = 0;
    friend bool operator==(const D3DVECTOR&, const D3DVECTOR&) = default;
};

struct D3DQUATERNION {
    float x = 0, y = 0, z = 0, w = 1;
    friend bool operator==(const D3DQUATERNION&, const D3DQUATERNION&) = default;
};

// Stored row by row; m[r][c] is _{r+1}{c+1}.
struct D3DMATRIX {
    float m[4][4] = {};
    float& operator()(int r, int c) { return m[r][c]; }
    float operator()(int r, int c) const { return m[r][c]; }
    friend bool operator==(const D3DMATRIX&, const D3DMATRIX&) = default;
};

struct D3DCOLORVALUE {
    float r = 0, g = 0, b = 0, a = 0;
    friend bool operator==(const D3DCOLORVALUE&, const D3DCOLORVALUE&) = default;
};

struct D3DMATERIAL8 {
    D3DCOLORVALUE Diffuse, Ambient, Specular, Emissive;
    float Power = 0;
    friend bool operator==(const D3DMATERIAL8&, const D3DMATERIAL8&) = default;
};

enum D3DLIGHTTYPE : DWORD { D3DLIGHT_POINT = 1, D3DLIGHT_SPOT = 2, D3DLIGHT_DIRECTIONAL = 3 };

struct D3DLIGHT8 {
    D3DLIGHTTYPE Type = D3DLIGHT_POINT;
    D3DCOLORVALUE Diffuse, Specular, Ambient;
    D3DVECTOR Position, Direction;
    float Range = 0, Falloff = 0, Attenuation0 = 0, Attenuation1 = 0, Attenuation2 = 0, Theta = 0, Phi = 0;
    friend bool operator==(const D3DLIGHT8&, const D3DLIGHT8&) = default;
};

struct D3DVIEWPORT8 {
    DWORD X = 0, Y = 0, Width = 0, Height = 0;
    float MinZ = 0, MaxZ = 1;
    friend bool operator==(const D3DVIEWPORT8&, const D3DVIEWPORT8&) = default;
};

enum D3DTRANSFORMSTATETYPE : DWORD {
    D3DTS_VIEW = 2,
    D3DTS_PROJECTION = 3,
    D3DTS_WORLD = 256,
};

enum D3DRENDERSTATETYPE : DWORD {
    D3DRS_ZENABLE = 7,
    D3DRS_SHADEMODE = 9,
    D3DRS_SRCBLEND = 19,
    D3DRS_DESTBLEND = 20,
    D3DRS_ALPHABLENDENABLE = 27,
    D3DRS_CLIPPING = 136,
    D3DRS_LIGHTING = 137,
    D3DRS_AMBIENT = 139,
};

inline constexpr DWORD D3DZB_TRUE = 1;
inline constexpr DWORD D3DSHADE_GOURAUD = 2;
inline constexpr DWORD D3DBLEND_SRCALPHA = 5;
inline constexpr DWORD D3DBLEND_INVSRCALPHA = 6;

inline constexpr DWORD D3DCLEAR_TARGET = 1;
inline constexpr DWORD D3DCLEAR_ZBUFFER = 2;
inline constexpr DWORD D3DCLEAR_STENCIL = 4;

// Flexible vertex format bits the meshes use.
inline constexpr DWORD D3DFVF_XYZ = 0x002;
inline constexpr DWORD D3DFVF_NORMAL = 0x010;
inline constexpr DWORD D3DFVF_TEX1 = 0x100;
inline constexpr DWORD D3DFVF_VERTEX = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1;  // 274

// Device status codes.
using HRESULT = std::int32_t;
inline constexpr HRESULT D3D_OK = 0;
inline constexpr HRESULT D3DERR_DEVICELOST = static_cast<HRESULT>(0x88760868u);
inline constexpr HRESULT D3DERR_DEVICENOTRESET = static_cast<HRESULT>(0x88760869u);

}  // namespace vantrel::engine3d
