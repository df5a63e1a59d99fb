#pragma once
// Direct3D 8 render states and values the GL device honours beyond those the
// framework itself sets, with Direct3D's numbers.

#include "engine3d/math/d3d_types.h"

namespace vantrel::render_gl {

using engine3d::D3DRENDERSTATETYPE;
using engine3d::DWORD;

inline constexpr auto kZWriteEnable = static_cast<D3DRENDERSTATETYPE>(14);
inline constexpr auto kCullMode = static_cast<D3DRENDERSTATETYPE>(22);
inline constexpr auto kZFunc = static_cast<D3DRENDERSTATETYPE>(23);
inline constexpr auto kSpecularEnable = static_cast<D3DRENDERSTATETYPE>(29);
inline constexpr auto kNormalizeNormals = static_cast<D3DRENDERSTATETYPE>(143);

inline constexpr DWORD kShadeFlat = 1;

inline constexpr DWORD kCullNone = 1;
inline constexpr DWORD kCullCw = 2;
inline constexpr DWORD kCullCcw = 3;  // the default: counter-clockwise faces are the back

inline constexpr DWORD kCmpLessEqual = 4;

inline constexpr DWORD kBlendZero = 1;
inline constexpr DWORD kBlendOne = 2;
inline constexpr DWORD kBlendSrcColor = 3;
inline constexpr DWORD kBlendInvSrcColor = 4;
inline constexpr DWORD kBlendSrcAlpha = 5;
inline constexpr DWORD kBlendInvSrcAlpha = 6;
inline constexpr DWORD kBlendDestAlpha = 7;
inline constexpr DWORD kBlendInvDestAlpha = 8;
inline constexpr DWORD kBlendDestColor = 9;
inline constexpr DWORD kBlendInvDestColor = 10;

}  // namespace vantrel::render_gl
