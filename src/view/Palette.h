#pragma once
#include <cstdint>

namespace lakedrift {

// A colour as red, green and blue, 0..255 each.
struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Rgb&) const = default;
};

// Palette indices the drawing code names.
enum PaletteIndex : int {
  kBlack = 0,
  kBlue = 1,
  kGreen = 2,
  kCyan = 3,
  kRed = 4,
  kMagenta = 5,
  kYellow = 6,
  kLightGrey = 7,
  kGrey = 8,
  kLightBlue = 9,
  kLightGreen = 10,
  kLightCyan = 11,
  kLightRed = 12,
  kLightMagenta = 13,
  kLightYellow = 14,
  kBrightWhite = 15,
};

inline constexpr int kPaletteSize = 16;

// The colour of a palette index 0..15 of the standard 16-colour palette;
// an index outside it gives black.
constexpr Rgb PaletteColour(int index) {
  constexpr Rgb kColours[kPaletteSize] = {{0, 0, 0},       {0, 0, 128},   {0, 128, 0},   {0, 128, 128},
                                          {128, 0, 0},     {128, 0, 128}, {128, 128, 0}, {192, 192, 192},
                                          {128, 128, 128}, {0, 0, 255},   {0, 255, 0},   {0, 255, 255},
                                          {255, 0, 0},     {255, 0, 255}, {255, 255, 0}, {255, 255, 255}};
  return index >= 0 && index < kPaletteSize ? kColours[index] : Rgb{};
}

}  // namespace lakedrift
