#pragma once
#include <cstdint>

namespace vekla {

// A colour as the desktop toolkit of the handheld's era holds it: 0x00BBGGRR
// (red in the low byte). The working files store exactly this number as a
// signed decimal. Values with the top bit set are system colours.
using Color = std::int32_t;

// #RRGGBB as written in the rules -> Color.
constexpr Color rgbHex(std::uint32_t rrggbb) {
  return static_cast<Color>(((rrggbb & 0xFF) << 16) | (rrggbb & 0xFF00) | ((rrggbb >> 16) & 0xFF));
}
constexpr int redOf(Color c) { return c & 0xFF; }
constexpr int greenOf(Color c) { return (c >> 8) & 0xFF; }
constexpr int blueOf(Color c) { return (c >> 16) & 0xFF; }
constexpr Color makeColor(int r, int g, int b) { return r | (g << 8) | (b << 16); }

inline constexpr Color kWhite = 0xFFFFFF;
inline constexpr Color kBlack = 0;
// The toolkit's default window background and window text colours.
inline constexpr Color kSysWindow = static_cast<Color>(0x80000005u);
inline constexpr Color kSysWindowText = static_cast<Color>(0x80000008u);

constexpr bool isSystemColor(Color c) { return c < 0; }
// A system colour resolved for painting and comparison.
constexpr Color resolveColor(Color c) {
  return c == kSysWindow ? kWhite : c == kSysWindowText ? kBlack : (c < 0 ? kBlack : c);
}

}  // namespace vekla
