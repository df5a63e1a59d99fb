#pragma once
// The colours of the model: what the parts of a real PC look like.

#include "mesh_shapes.h"

namespace meshgen::paint {

inline constexpr Colour kBoard{0.05f, 0.36f, 0.14f, 12, 0.25f};
inline constexpr Colour kSteel{0.62f, 0.63f, 0.65f, 20, 0.45f};
inline constexpr Colour kDarkSteel{0.36f, 0.37f, 0.39f, 20, 0.35f};
inline constexpr Colour kAluminium{0.75f, 0.76f, 0.78f, 30, 0.6f};
inline constexpr Colour kBlack{0.07f, 0.07f, 0.08f, 10, 0.15f};
inline constexpr Colour kChip{0.12f, 0.12f, 0.13f, 16, 0.3f};
inline constexpr Colour kWhite{0.88f, 0.87f, 0.83f, 8, 0.15f};
inline constexpr Colour kBeige{0.86f, 0.82f, 0.70f, 6, 0.1f};
inline constexpr Colour kGold{0.85f, 0.66f, 0.22f, 40, 0.7f};
inline constexpr Colour kCopper{0.78f, 0.45f, 0.25f, 40, 0.7f};
inline constexpr Colour kSilver{0.80f, 0.80f, 0.82f, 40, 0.8f};
inline constexpr Colour kSocketBlue{0.12f, 0.25f, 0.65f, 10, 0.2f};
inline constexpr Colour kUsbBlack{0.10f, 0.10f, 0.12f, 10, 0.2f};
inline constexpr Colour kKeyboardPurple{0.47f, 0.22f, 0.62f, 10, 0.2f};
inline constexpr Colour kMouseGreen{0.22f, 0.62f, 0.25f, 10, 0.2f};
inline constexpr Colour kSerialTeal{0.08f, 0.50f, 0.52f, 10, 0.2f};
inline constexpr Colour kParallelBurgundy{0.55f, 0.10f, 0.30f, 10, 0.2f};
inline constexpr Colour kVgaBlue{0.10f, 0.22f, 0.60f, 10, 0.2f};
inline constexpr Colour kLineOutLime{0.58f, 0.84f, 0.22f, 10, 0.2f};
inline constexpr Colour kMicPink{0.95f, 0.52f, 0.62f, 10, 0.2f};
inline constexpr Colour kLineInBlue{0.42f, 0.62f, 0.90f, 10, 0.2f};
inline constexpr Colour kFirewireGrey{0.55f, 0.56f, 0.58f, 10, 0.2f};
inline constexpr Colour kSataRed{0.72f, 0.10f, 0.10f, 10, 0.2f};
inline constexpr Colour kFan{0.10f, 0.10f, 0.11f, 8, 0.1f};
inline constexpr Colour kSlotWhite{0.90f, 0.90f, 0.88f, 8, 0.1f};
inline constexpr Colour kSlotBrown{0.45f, 0.28f, 0.16f, 8, 0.1f};
inline constexpr Colour kMemoryPcb{0.08f, 0.42f, 0.18f, 12, 0.2f};
inline constexpr Colour kCardPcb{0.10f, 0.40f, 0.20f, 12, 0.2f};
inline constexpr Colour kVideoPcb{0.10f, 0.12f, 0.45f, 12, 0.2f};
inline constexpr Colour kCapacitor{0.20f, 0.22f, 0.55f, 20, 0.4f};
inline constexpr Colour kLedGreen{0.2f, 0.9f, 0.3f, 20, 0.5f};
inline constexpr Colour kLedAmber{0.95f, 0.6f, 0.1f, 20, 0.5f};
inline constexpr Colour kInfraredRed{0.45f, 0.05f, 0.08f, 40, 0.6f};
inline constexpr Colour kBrass{0.78f, 0.64f, 0.30f, 40, 0.7f};
inline constexpr Colour kBatteryYellow{0.85f, 0.72f, 0.12f, 10, 0.2f};
inline constexpr Colour kKeyboardBody{0.20f, 0.20f, 0.22f, 8, 0.15f};
inline constexpr Colour kKeyCap{0.85f, 0.85f, 0.83f, 6, 0.1f};
inline constexpr Colour kMouseBody{0.78f, 0.78f, 0.80f, 20, 0.3f};
inline constexpr Colour kDesk{0.52f, 0.38f, 0.24f, 6, 0.1f};
inline constexpr Colour kAxisRed{0.9f, 0.1f, 0.1f, 10, 0.2f};
inline constexpr Colour kAxisGreen{0.1f, 0.8f, 0.1f, 10, 0.2f};
inline constexpr Colour kAxisBlue{0.1f, 0.2f, 0.9f, 10, 0.2f};
inline constexpr Colour kCompactFlash{0.15f, 0.15f, 0.18f, 10, 0.2f};
inline constexpr Colour kSmartMedia{0.75f, 0.75f, 0.72f, 10, 0.2f};
inline constexpr Colour kMemoryStick{0.20f, 0.28f, 0.62f, 10, 0.2f};
inline constexpr Colour kMmcCard{0.30f, 0.45f, 0.75f, 10, 0.2f};
inline constexpr Colour kStickBlue{0.15f, 0.35f, 0.80f, 20, 0.4f};
// Under a full-colour picture: the picture gives the colour.
inline constexpr Colour kPrinted{0.97f, 0.97f, 0.97f, 10, 0.15f};
inline constexpr Colour kPrintedBoard{0.97f, 0.97f, 0.97f, 14, 0.3f};
inline constexpr Colour kPrintedSteel{0.97f, 0.97f, 0.98f, 20, 0.45f};
inline constexpr Colour kShroud{0.18f, 0.18f, 0.20f, 20, 0.35f};
inline constexpr Colour kBlade{0.16f, 0.16f, 0.18f, 8, 0.15f};
inline constexpr Colour kLatch{0.80f, 0.80f, 0.78f, 8, 0.1f};

}  // namespace meshgen::paint
